// A client from outside: registers ArnAbsPosn.dll with regsvr32 in the test's Wine prefix,
// creates the control through the system's component runtime and drives it by IDispatch.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "component/win32/ComArnAbsPosnCtl.h"
#include "component/win32/ComClientSupport.h"
#include "fakes/ComEventSink.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelAutomation.h"

namespace arn {
namespace {

using namespace comtest;

TEST_F(ComClient, RegistrationWritesTheClassInterfacesAndTypeLibraryOnce) {
    const std::wstring classKey = std::wstring(L"CLSID\\") + kClassId;
    // A second registration leaves the same keys.
    ASSERT_EQ(Regsvr32(L""), 0u);
    EXPECT_EQ(ReadText(classKey), L"Arnwell ZPR Absolute Position Panel");
    EXPECT_EQ(ReadText(classKey + L"\\InprocServer32"), DllPath());
    EXPECT_EQ(ReadText(classKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(ReadText(classKey + L"\\ProgID"), kProgId);
    EXPECT_EQ(ReadText(classKey + L"\\TypeLib"), kTypeLibId);
    EXPECT_EQ(ReadText(std::wstring(kProgId) + L"\\CLSID"), kClassId);
    EXPECT_EQ(ReadText(std::wstring(L"Interface\\") + kInterfaceId), L"_ArnAbsPosnCtl");
    EXPECT_EQ(ReadText(std::wstring(L"Interface\\") + kEventInterfaceId), L"__ArnAbsPosnCtl");
    EXPECT_EQ(ReadText(std::wstring(L"Interface\\") + kEventInterfaceId + L"\\TypeLib"),
              kTypeLibId);
    EXPECT_EQ(ReadText(std::wstring(L"TypeLib\\") + kTypeLibId + L"\\1.0\\0\\win64"), DllPath());

    // What a form designer reads: a control, how it activates, its toolbox picture, its
    // categories (a control, safe for scripting and initialising), and its version.
    const std::wstring misc = L"131473";  // activate when visible, set client site first,
                                          // inside-out, can't link inside, recompose on resize
    const std::vector<std::pair<std::wstring, std::wstring>> designer = {
        {L"\\Control", L""},
        {L"\\MiscStatus", misc},
        {L"\\MiscStatus\\1", misc},
        {L"\\ToolboxBitmap32", DllPath() + L", 600"},
        {L"\\Version", L"1.0"},
        {L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}", L""},
        {L"\\Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}", L""},
        {L"\\Implemented Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}", L""}};
    for (const auto& [key, value] : designer) {
        EXPECT_EQ(ReadText(classKey + key), value) << std::string(key.begin(), key.end());
    }
    HMODULE module = LoadLibraryExW(DllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HANDLE picture = LoadImageW(module, MAKEINTRESOURCEW(600), IMAGE_BITMAP, 0, 0, 0);
    EXPECT_NE(picture, nullptr);
    DeleteObject(picture);
    FreeLibrary(module);
    // Unregistering removes exactly what registering wrote, the system's categories stay.
    const bool categoryKnown =
        KeyExists(L"Component Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}");
    ASSERT_EQ(Regsvr32(L"/u"), 0u);
    for (const auto& [key, value] : designer) {
        EXPECT_FALSE(KeyExists(classKey + key)) << std::string(key.begin(), key.end());
    }
    EXPECT_EQ(KeyExists(L"Component Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}"),
              categoryKnown);
}

// One member or event as a type library declares it: name, dispatch id and kind.
using Declared = std::tuple<std::wstring, DISPID, INVOKEKIND>;

// The functions of info after those of the interfaces it inherits (IUnknown's and IDispatch's,
// which a dual interface's dispatch side lists first), with their names.
std::vector<Declared> DeclaredFunctions(ITypeInfo* info, UINT inherited) {
    std::vector<Declared> found;
    TYPEATTR* attr = nullptr;
    if (info->GetTypeAttr(&attr) != S_OK) {
        return found;
    }
    const UINT count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    for (UINT i = inherited; i < count; ++i) {
        FUNCDESC* func = nullptr;
        if (info->GetFuncDesc(i, &func) != S_OK) {
            break;
        }
        BSTR name = nullptr;
        info->GetDocumentation(func->memid, &name, nullptr, nullptr, nullptr);
        found.emplace_back(name != nullptr ? name : L"", func->memid, func->invkind);
        SysFreeString(name);
        info->ReleaseFuncDesc(func);
    }
    return found;
}

// The panel's member table and events in the type library's terms: a property's put, then its
// get, as the IDL declares them.
std::vector<Declared> TableFunctions(const AutomationObject& object) {
    std::vector<Declared> rows;
    for (const AutomationMember& member : object.Members()) {
        const std::wstring name(member.name.begin(), member.name.end());
        if (member.put) {
            rows.emplace_back(name, member.dispId, INVOKE_PROPERTYPUT);
        }
        if (member.get) {
            rows.emplace_back(name, member.dispId, INVOKE_PROPERTYGET);
        }
        if (member.call) {
            rows.emplace_back(name, member.dispId, INVOKE_FUNC);
        }
    }
    return rows;
}

TEST_F(ComClient, TypeLibraryDeclaresThePanelsMemberTableInItsOrder) {
    const std::vector<Declared> members{{L"UIuserControl_MyForms", kMyForms, INVOKE_PROPERTYGET},
                                        {L"UIref", kUIref, INVOKE_PROPERTYGET},
                                        {L"DisplayMsg", kDisplayMsg, INVOKE_PROPERTYPUT},
                                        {L"DisplayMsg", kDisplayMsg, INVOKE_PROPERTYGET},
                                        {L"Show", kShow, INVOKE_PROPERTYPUT},
                                        {L"Enabled", kEnabled, INVOKE_PROPERTYPUT},
                                        {L"Enabled", kEnabled, INVOKE_PROPERTYGET}};
    const std::vector<Declared> events{{L"ShowHoming", 1, INVOKE_FUNC},
                                       {L"ShowTrqLim", 2, INVOKE_FUNC},
                                       {L"ShowJerkLim", 4, INVOKE_FUNC},
                                       {L"Show16Posns", 3, INVOKE_FUNC},
                                       {L"ShowTeachingDlg", kShowTeachingDlg, INVOKE_FUNC}};

    // The member table that both platforms serve.
    const auto panel = PanelAutomation::Create(ArnAbsPosnCtl::Create());
    EXPECT_EQ(TableFunctions(*panel), members);
    std::vector<Declared> raised;
    for (const AutomationEvent& event : panel->Events()) {
        raised.emplace_back(std::wstring(event.name.begin(), event.name.end()), event.dispId,
                            INVOKE_FUNC);
    }
    EXPECT_EQ(raised, events);

    // The registered type library, which the IDL alone describes.
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(Guid(kTypeLibId), 1, 0, LOCALE_NEUTRAL, &lib), S_OK);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(kInterfaceId), &info), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    // A dual interface's dispatch side lists IUnknown's and IDispatch's methods first.
    constexpr UINT kInherited = 7;
    EXPECT_EQ(attr->cFuncs, kInherited + 7);
    EXPECT_NE(attr->wTypeFlags & TYPEFLAG_FDUAL, 0);
    info->ReleaseTypeAttr(attr);
    EXPECT_EQ(DeclaredFunctions(info, kInherited), members);
    // The vtable side of the dual interface: IDispatch's seven slots, then the members.
    HREFTYPE vtableRef = 0;
    ITypeInfo* vtable = nullptr;
    ASSERT_EQ(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
    ASSERT_EQ(info->GetRefTypeInfo(vtableRef, &vtable), S_OK);
    ASSERT_EQ(vtable->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attr->cbSizeVft, 14 * sizeof(void*));
    vtable->ReleaseTypeAttr(attr);
    vtable->Release();
    info->Release();
    ITypeInfo* eventInfo = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(kEventInterfaceId), &eventInfo), S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(eventInfo->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"__ArnAbsPosnCtl");
    SysFreeString(name);
    EXPECT_EQ(DeclaredFunctions(eventInfo, 0), events);
    eventInfo->Release();
    lib->Release();
}

TEST_F(ComClient, CreatesByClassIdAndProgIdAndDrivesTheProperties) {
    CLSID fromProgId{};
    ASSERT_EQ(CLSIDFromProgID(kProgId, &fromProgId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(fromProgId, Guid(kClassId)));
    IDispatch* byProgId = nullptr;
    ASSERT_EQ(CoCreateInstance(fromProgId, nullptr, CLSCTX_INPROC_SERVER, Guid(kInterfaceId),
                               reinterpret_cast<void**>(&byProgId)),
              S_OK);
    IDispatch* panel = Create();
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(panel, byProgId);  // two panels
    byProgId->Release();

    EXPECT_EQ(IdOfName(panel, L"Enabled"), kEnabled);
    EXPECT_EQ(IdOfName(panel, L"displaymsg"), kDisplayMsg);
    EXPECT_EQ(IdOfName(panel, L"UIref"), kUIref);
    EXPECT_EQ(IdOfName(panel, L"Show"), kShow);
    EXPECT_EQ(IdOfName(panel, L"UIuserControl_MyForms"), kMyForms);
    EXPECT_EQ(IdOfName(panel, L"NoSuchMember"), DISPID_UNKNOWN);

    VARIANT result;
    ASSERT_EQ(GetProperty(panel, IdOfName(panel, L"Enabled"), &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);  // before any put
    ASSERT_EQ(PutProperty(panel, kEnabled, Bool(true)), S_OK);
    ASSERT_EQ(GetProperty(panel, kEnabled, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);

    VARIANT text = Text(L"Drive not homed");
    ASSERT_EQ(PutProperty(panel, IdOfName(panel, L"DisplayMsg"), text), S_OK);
    VariantClear(&text);
    ASSERT_EQ(GetProperty(panel, kDisplayMsg, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_STREQ(result.bstrVal, L"Drive not homed");
    VariantClear(&result);
    // A number coerces to text, as automation clients expect.
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 42;
    ASSERT_EQ(PutProperty(panel, kDisplayMsg, number), S_OK);
    ASSERT_EQ(GetProperty(panel, kDisplayMsg, &result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"42");
    VariantClear(&result);
    ASSERT_EQ(PutProperty(panel, kShow, Bool(true)), S_OK);

    // The same members through the dual interface's vtable.
    win32::ArnAbsPosnCtlInterface* dual = nullptr;
    ASSERT_EQ(panel->QueryInterface(Guid(kInterfaceId), reinterpret_cast<void**>(&dual)), S_OK);
    VARIANT_BOOL enabled = VARIANT_FALSE;
    ASSERT_EQ(dual->get_Enabled(&enabled), S_OK);
    EXPECT_EQ(enabled, VARIANT_TRUE);  // put late-bound above
    ASSERT_EQ(dual->put_Enabled(VARIANT_FALSE), S_OK);
    ASSERT_EQ(GetProperty(panel, kEnabled, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    BSTR message = SysAllocString(L"Set the home position");
    ASSERT_EQ(dual->put_DisplayMsg(message), S_OK);
    SysFreeString(message);
    message = nullptr;
    ASSERT_EQ(dual->get_DisplayMsg(&message), S_OK);
    EXPECT_STREQ(message, L"Set the home position");
    SysFreeString(message);
    EXPECT_EQ(dual->get_DisplayMsg(nullptr), E_POINTER);
    ASSERT_EQ(dual->put_Show(VARIANT_TRUE), S_OK);
    IDispatch* forms = nullptr;
    ASSERT_EQ(dual->get_UIuserControl_MyForms(&forms), S_OK);
    ASSERT_NE(forms, nullptr);
    forms->Release();
    dual->Release();

    // UIref is the panel itself; MyForms the jerk-limit window.
    ASSERT_EQ(GetProperty(panel, kUIref, &result), S_OK);
    ASSERT_EQ(result.vt, VT_DISPATCH);
    EXPECT_TRUE(SameObject(panel, result.pdispVal));
    VariantClear(&result);
    ASSERT_EQ(GetProperty(panel, kMyForms, &result), S_OK);
    ASSERT_EQ(result.vt, VT_DISPATCH);
    VARIANT count;
    ASSERT_EQ(GetProperty(result.pdispVal, IdOfName(result.pdispVal, L"Count"), &count), S_OK);
    EXPECT_EQ(count.vt, VT_I4);
    EXPECT_EQ(count.lVal, 1);
    VariantClear(&result);

    EXPECT_EQ(ServerCanUnloadNow(), S_FALSE);
    EXPECT_EQ(panel->Release(), 0u);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

TEST_F(ComClient, WrongCallsGetTheStandardResults) {
    IDispatch* panel = Create();
    ASSERT_NE(panel, nullptr);
    VARIANT result;
    UINT argErr = 99;

    VARIANT text = Text(L"not a Boolean");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&text, &named, 1, 1};
    EXPECT_EQ(
        panel->Invoke(kEnabled, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, &argErr),
        DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    VariantClear(&text);
    ASSERT_EQ(GetProperty(panel, kEnabled, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);  // nothing written

    VARIANT two[2] = {Bool(true), Bool(true)};
    DISPPARAMS twoArgs{two, &named, 2, 1};
    EXPECT_EQ(panel->Invoke(kEnabled, IID_NULL, 0, DISPATCH_PROPERTYPUT, &twoArgs, nullptr, nullptr,
                            nullptr),
              DISP_E_BADPARAMCOUNT);
    VARIANT one = Bool(true);
    DISPPARAMS unnamed{&one, nullptr, 1, 0};
    EXPECT_EQ(panel->Invoke(kEnabled, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr,
                            nullptr),
              DISP_E_PARAMNOTFOUND);
    DISPPARAMS getWithArg{&one, nullptr, 1, 0};
    EXPECT_EQ(panel->Invoke(kEnabled, IID_NULL, 0, DISPATCH_PROPERTYGET, &getWithArg, &result,
                            nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(GetProperty(panel, kShow, &result), DISP_E_MEMBERNOTFOUND);      // put only
    EXPECT_EQ(PutProperty(panel, kUIref, Bool(true)), DISP_E_MEMBERNOTFOUND);  // get only
    EXPECT_EQ(GetProperty(panel, 0x12345, &result), DISP_E_MEMBERNOTFOUND);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(panel->Invoke(kEnabled, Guid(kInterfaceId), 0, DISPATCH_PROPERTYGET, &none, &result,
                            nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(panel->Invoke(kEnabled, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, &result, nullptr,
                            nullptr),
              E_POINTER);

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(panel->QueryInterface(Guid(kTypeLibId), &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(panel->QueryInterface(IID_IDispatch, nullptr), E_POINTER);

    // Connection point: only the event interface, only sinks that dispatch.
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(
        panel->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)),
        S_OK);
    IConnectionPoint* point = nullptr;
    EXPECT_EQ(container->FindConnectionPoint(Guid(kInterfaceId), &point), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(container->FindConnectionPoint(Guid(kEventInterfaceId), &point), S_OK);
    IID iid{};
    ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_TRUE(IsEqualIID(iid, Guid(kEventInterfaceId)));
    test::ComPlainUnknown plain;
    DWORD cookie = 7;
    EXPECT_EQ(point->Advise(&plain, &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    test::ComEventSink sink;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(sink.References(), 2);
    EXPECT_EQ(point->Unadvise(cookie + 100), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(sink.References(), 1);
    point->Release();
    container->Release();

    EXPECT_EQ(panel->Release(), 0u);
}

TEST_F(ComClient, AccessibleTeachingButtonIsPressedUntilTheUnattachedPanelIsEnabled) {
    IDispatch* panel = Create();
    ASSERT_NE(panel, nullptr);
    IAccessible* accessible = nullptr;
    ASSERT_EQ(panel->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&accessible)), S_OK);
    EXPECT_TRUE(SameObject(panel, accessible));

    // The panel itself is the client; its controls are simple children 1..n.
    const VARIANT self = ChildId(CHILDID_SELF);
    EXPECT_EQ(TextOf([&](BSTR* t) { return accessible->get_accName(self, t); }), L"ArnAbsPosnCtl");
    EXPECT_EQ(LongOf(accessible, &IAccessible::get_accRole, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    IDispatch* parent = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(accessible->get_accParent(&parent), S_FALSE);
    EXPECT_EQ(parent, nullptr);
    long count = 0;
    ASSERT_EQ(accessible->get_accChildCount(&count), S_OK);
    const LONG teaching = FindChild(accessible, L"?", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(teaching, 0);
    const VARIANT button = ChildId(teaching);
    EXPECT_EQ(TextOf([&](BSTR* t) { return accessible->get_accDescription(button, t); }),
              L"teachingCmd: Teaching Setup");
    EXPECT_EQ(TextOf([&](BSTR* t) { return accessible->get_accDefaultAction(button, t); }),
              L"Press");
    IDispatch* child = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(accessible->get_accChild(button, &child), S_FALSE);
    EXPECT_EQ(child, nullptr);

    test::ComEventSink sink;
    IConnectionPoint* point = nullptr;
    const DWORD cookie = Advise(panel, &sink, &point);

    // Created and shown but not attached, the button is still available.
    ASSERT_EQ(PutProperty(panel, kShow, Bool(true)), S_OK);
    EXPECT_EQ(LongOf(accessible, &IAccessible::get_accState, teaching), STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(accessible->accDoDefaultAction(button), S_OK);
    EXPECT_EQ(sink.Count(kShowTeachingDlg), 1);
    EXPECT_EQ(sink.Total(), 1);

    // Enabling a panel without a drive disables its inputs, and the press is refused.
    ASSERT_EQ(PutProperty(panel, kEnabled, Bool(true)), S_OK);
    EXPECT_EQ(LongOf(accessible, &IAccessible::get_accState, teaching), STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(accessible->accDoDefaultAction(button), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(sink.Total(), 1);

    // Child ids name the panel or an element, as VT_I4 only.
    EXPECT_EQ(accessible->accDoDefaultAction(self), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(accessible->accDoDefaultAction(ChildId(count + 1)), E_INVALIDARG);
    EXPECT_EQ(accessible->accDoDefaultAction(ChildId(-1)), E_INVALIDARG);
    VARIANT shortId;
    VariantInit(&shortId);
    shortId.vt = VT_I2;
    shortId.iVal = static_cast<SHORT>(teaching);
    EXPECT_EQ(accessible->accDoDefaultAction(shortId), E_INVALIDARG);
    BSTR name = nullptr;
    EXPECT_EQ(accessible->get_accName(ChildId(count + 1), &name), E_INVALIDARG);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(accessible->get_accName(button, nullptr), E_POINTER);
    EXPECT_EQ(accessible->get_accChild(self, &child), E_INVALIDARG);
    EXPECT_EQ(sink.Total(), 1);

    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    point->Release();
    // The tear-off counts on the panel: its release leaves the panel's own reference last.
    accessible->Release();
    EXPECT_EQ(panel->Release(), 0u);
}

TEST_F(ComClient, ClassFactoryServesTheClassOnlyAndLocksTheServer) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(Guid(kClassId), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    HMODULE module = GetModuleHandleW(L"ArnAbsPosn.dll");
    ASSERT_NE(module, nullptr);
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    ASSERT_NE(getClassObject, nullptr);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(Guid(kInterfaceId), IID_IClassFactory, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject(Guid(kClassId), IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(getClassObject(Guid(kClassId), IID_IClassFactory, nullptr), E_POINTER);

    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, nullptr), E_POINTER);
    test::ComPlainUnknown outer;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, Guid(kTypeLibId), &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);  // the refused object is gone

    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(ServerCanUnloadNow(), S_FALSE);
    IDispatch* panel = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&panel)),
              S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(ServerCanUnloadNow(), S_FALSE);  // the panel still lives
    panel->Release();
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
    factory->Release();
}

}  // namespace
}  // namespace arn
