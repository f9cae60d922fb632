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

// The value name of HKEY_CLASSES_ROOT\path ("" for the default); "<missing>" when absent.
inline std::wstring ReadText(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    return RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer,
                        &size) == ERROR_SUCCESS
               ? buffer
               : L"<missing>";
}

inline LONG AccLong(IAccessible* accessible,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG child) {
    VARIANT result;
    VariantInit(&result);
    return (accessible->*get)(ChildId(child), &result) == S_OK && result.vt == VT_I4 ? result.lVal
                                                                                     : -1;
}

TEST_F(ComClient, RegistrationWritesTheClassInterfacesAndTypeLibraryOnce) {
    ASSERT_EQ(Regsvr32(L""), 0);  // a second registration leaves the same keys
    const std::wstring cls = L"CLSID\\" + std::wstring(kClassId);
    const std::wstring events = L"Interface\\" + std::wstring(kEventInterfaceId);
    const std::wstring category = cls + L"\\Implemented Categories\\{";
    // Activate when visible, set client site first, inside-out, can't link inside, recompose on
    // resize.
    const std::wstring misc = L"131473";
    // What a form designer reads besides the class: a control, how it activates, its toolbox
    // picture, its categories (a control, safe for scripting and initialising), its version.
    const struct {
        std::wstring key;
        const wchar_t* name;
        std::wstring value;
    } rows[] = {{cls, nullptr, L"Arnwell ZPR Absolute Position Panel"},
                {cls + L"\\InprocServer32", nullptr, DllPath()},
                {cls + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
                {cls + L"\\ProgID", nullptr, kProgId},
                {cls + L"\\TypeLib", nullptr, kTypeLibId},
                {std::wstring(kProgId) + L"\\CLSID", nullptr, kClassId},
                {L"Interface\\" + std::wstring(kInterfaceId), nullptr, L"_ArnAbsPosnCtl"},
                {events, nullptr, L"__ArnAbsPosnCtl"},
                {events + L"\\TypeLib", nullptr, kTypeLibId},
                {L"TypeLib\\" + std::wstring(kTypeLibId) + L"\\1.0\\0\\win64", nullptr, DllPath()},
                {cls + L"\\Control", nullptr, L""},
                {cls + L"\\MiscStatus", nullptr, misc},
                {cls + L"\\MiscStatus\\1", nullptr, misc},
                {cls + L"\\ToolboxBitmap32", nullptr, DllPath() + L", 600"},
                {cls + L"\\Version", nullptr, L"1.0"},
                {category + L"40FC6ED4-2438-11CF-A3DB-080036F12502}", nullptr, L""},
                {category + L"7DD95801-9882-11CF-9FA9-00AA006C42C4}", nullptr, L""},
                {category + L"7DD95802-9882-11CF-9FA9-00AA006C42C4}", nullptr, L""}};
    for (const auto& row : rows) {
        EXPECT_EQ(ReadText(row.key, row.name), row.value)
            << std::string(row.key.begin(), row.key.end());
    }
    HMODULE module = LoadLibraryExW(DllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HANDLE picture = LoadImageW(module, MAKEINTRESOURCEW(600), IMAGE_BITMAP, 0, 0, 0);
    EXPECT_NE(picture, nullptr);
    DeleteObject(picture);
    FreeLibrary(module);
    // Unregistering removes what registering wrote (the fixture checks), the system's
    // categories stay.
    const std::wstring control = L"Component Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}";
    const bool categoryKnown = KeyExists(control);
    ASSERT_EQ(Regsvr32(L"/u"), 0);
    EXPECT_EQ(KeyExists(control), categoryKnown);
}

// One member or event as a type library declares it: name, dispatch id and kind.
using Declared = std::tuple<std::wstring, DISPID, INVOKEKIND>;

// The functions of info after the first (IUnknown's and IDispatch's, which a dual interface's
// dispatch side lists first), with their names.
std::vector<Declared> DeclaredFunctions(ITypeInfo* info, UINT first) {
    std::vector<Declared> found;
    FUNCDESC* func = nullptr;
    for (UINT i = first; info->GetFuncDesc(i, &func) == S_OK; ++i) {
        BSTR name = nullptr;
        info->GetDocumentation(func->memid, &name, nullptr, nullptr, nullptr);
        found.emplace_back(name != nullptr ? name : L"", func->memid, func->invkind);
        SysFreeString(name);
        info->ReleaseFuncDesc(func);
    }
    return found;
}

TEST_F(ComClient, TypeLibraryDeclaresThePanelsMemberTableAndEventsInTheirOrder) {
    // The member table both platforms serve, in the type library's terms: a property's put,
    // then its get, as the IDL declares them.
    const auto panel = PanelAutomation::Create(ArnAbsPosnCtl::Create());
    std::vector<Declared> members;
    std::vector<Declared> events;
    for (const AutomationMember& member : panel->Members()) {
        const std::wstring name(member.name.begin(), member.name.end());
        for (const auto& [has, kind] : {std::pair{bool(member.put), INVOKE_PROPERTYPUT},
                                        std::pair{bool(member.get), INVOKE_PROPERTYGET},
                                        std::pair{bool(member.call), INVOKE_FUNC}}) {
            if (has) {
                members.emplace_back(name, member.dispId, kind);
            }
        }
    }
    for (const AutomationEvent& event : panel->Events()) {
        events.emplace_back(std::wstring(event.name.begin(), event.name.end()), event.dispId,
                            INVOKE_FUNC);
    }

    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(Guid(kTypeLibId), 1, 0, LOCALE_NEUTRAL, &lib), S_OK);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(kInterfaceId), &info), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_NE(attr->wTypeFlags & TYPEFLAG_FDUAL, 0);
    info->ReleaseTypeAttr(attr);
    EXPECT_EQ(DeclaredFunctions(info, 7), members);
    // The vtable side of the dual interface: IDispatch's seven slots, then the members.
    HREFTYPE vtableRef = 0;
    ITypeInfo* vtable = nullptr;
    ASSERT_EQ(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
    ASSERT_EQ(info->GetRefTypeInfo(vtableRef, &vtable), S_OK);
    ASSERT_EQ(vtable->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->cbSizeVft, 14 * sizeof(void*));
    vtable->ReleaseTypeAttr(attr);
    vtable->Release();
    info->Release();
    ASSERT_EQ(lib->GetTypeInfoOfGuid(Guid(kEventInterfaceId), &info), S_OK);
    EXPECT_EQ(DeclaredFunctions(info, 0), events);
    info->Release();
    lib->Release();
}

TEST_F(ComClient, DrivesThePanelLateBoundThroughItsVtableAndItsAccessibleFace) {
    CLSID fromProgId{};
    ASSERT_EQ(CLSIDFromProgID(kProgId, &fromProgId), S_OK);
    win32::ArnAbsPosnCtlInterface* panel = nullptr;
    ASSERT_EQ(CoCreateInstance(fromProgId, nullptr, CLSCTX_INPROC_SERVER, Guid(kInterfaceId),
                               reinterpret_cast<void**>(&panel)),
              S_OK);
    EXPECT_EQ(IdOfName(panel, L"displaymsg"), kDisplayMsg);
    EXPECT_EQ(IdOfName(panel, L"UIuserControl_MyForms"), kMyForms);
    EXPECT_EQ(IdOfName(panel, L"NoSuchMember"), DISPID_UNKNOWN);

    // Late-bound puts read back through the vtable and the other way round.
    VARIANT result;
    ASSERT_EQ(GetProperty(panel, kEnabled, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);  // before any put
    ASSERT_EQ(PutProperty(panel, kDisplayMsg, Text(L"Drive not homed")), S_OK);
    BSTR message = nullptr;
    ASSERT_EQ(panel->get_DisplayMsg(&message), S_OK);
    EXPECT_STREQ(message, L"Drive not homed");
    SysFreeString(message);
    EXPECT_EQ(panel->get_DisplayMsg(nullptr), E_POINTER);
    message = SysAllocString(L"Set the home position");
    ASSERT_EQ(panel->put_DisplayMsg(message), S_OK);
    SysFreeString(message);
    ASSERT_EQ(GetProperty(panel, kDisplayMsg, &result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"Set the home position");
    VariantClear(&result);
    // A number coerces to text, as automation clients expect.
    ASSERT_EQ(PutProperty(panel, kDisplayMsg, ChildId(42)), S_OK);
    ASSERT_EQ(GetProperty(panel, kDisplayMsg, &result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"42");
    VariantClear(&result);
    ASSERT_EQ(panel->put_Show(VARIANT_TRUE), S_OK);
    EXPECT_EQ(GetProperty(panel, kShow, &result), DISP_E_MEMBERNOTFOUND);  // put only
    // MyForms is the jerk-limit window.
    IDispatch* forms = nullptr;
    ASSERT_EQ(panel->get_UIuserControl_MyForms(&forms), S_OK);
    ASSERT_EQ(GetProperty(forms, IdOfName(forms, L"Count"), &result), S_OK);
    EXPECT_EQ(result.lVal, 1);
    forms->Release();

    // The panel is its own accessible client; its controls are simple children 1..n.
    IAccessible* acc = nullptr;
    ASSERT_EQ(panel->QueryInterface(IID_PPV_ARGS(&acc)), S_OK);
    EXPECT_TRUE(SameObject(panel, acc));
    EXPECT_EQ(AccText(acc, &IAccessible::get_accName, CHILDID_SELF), L"ArnAbsPosnCtl");
    EXPECT_EQ(AccLong(acc, &IAccessible::get_accRole, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    IDispatch* none = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(acc->get_accParent(&none), S_FALSE);
    EXPECT_EQ(none, nullptr);
    const LONG teaching = FindControl(acc, L"teachingCmd");
    const VARIANT button = ChildId(teaching);
    EXPECT_EQ(AccText(acc, &IAccessible::get_accName, teaching), L"?");
    EXPECT_EQ(AccLong(acc, &IAccessible::get_accRole, teaching), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(AccText(acc, &IAccessible::get_accDescription, teaching),
              L"teachingCmd: Teaching Setup");
    EXPECT_EQ(AccText(acc, &IAccessible::get_accDefaultAction, teaching), L"Press");
    none = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(acc->get_accChild(button, &none), S_FALSE);
    EXPECT_EQ(none, nullptr);
    // Shown but not attached, the button is still available; enabling a panel without a drive
    // disables its inputs, and the press is refused.
    EXPECT_EQ(AccLong(acc, &IAccessible::get_accState, teaching), STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(acc->accDoDefaultAction(button), S_OK);
    ASSERT_EQ(PutProperty(panel, kEnabled, Bool(true)), S_OK);
    VARIANT_BOOL enabled = VARIANT_FALSE;
    ASSERT_EQ(panel->get_Enabled(&enabled), S_OK);
    EXPECT_EQ(enabled, VARIANT_TRUE);
    EXPECT_EQ(AccLong(acc, &IAccessible::get_accState, teaching), STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(acc->accDoDefaultAction(button), DISP_E_MEMBERNOTFOUND);
    // Child ids name the panel or an element, as VT_I4 only.
    long count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    EXPECT_EQ(acc->accDoDefaultAction(ChildId(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(acc->accDoDefaultAction(ChildId(count + 1)), E_INVALIDARG);
    EXPECT_EQ(acc->accDoDefaultAction(ChildId(-1)), E_INVALIDARG);
    VARIANT shortId = button;
    shortId.vt = VT_I2;
    EXPECT_EQ(acc->accDoDefaultAction(shortId), E_INVALIDARG);
    BSTR name = nullptr;
    EXPECT_EQ(acc->get_accName(ChildId(count + 1), &name), E_INVALIDARG);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(acc->get_accName(button, nullptr), E_POINTER);
    EXPECT_EQ(acc->get_accChild(ChildId(CHILDID_SELF), &none), E_INVALIDARG);
    ASSERT_EQ(panel->put_Enabled(VARIANT_FALSE), S_OK);
    ASSERT_EQ(GetProperty(panel, kEnabled, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    // The tear-off counts on the panel: its release leaves the panel's own reference last.
    acc->Release();

    EXPECT_EQ(panel->Release(), 0u);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

TEST_F(ComClient, ClassFactoryServesTheClassOnlyAndLocksTheServer) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(Guid(kClassId), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"ArnAbsPosn.dll"), "DllGetClassObject")));
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
