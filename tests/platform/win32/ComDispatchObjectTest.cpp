#include <gtest/gtest.h>

#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/AutomationSpy.h"
#include "fakes/ComEventSink.h"
#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComRefusals.h"

namespace arn::win32 {
namespace {

// {0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F60}, {0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F61}
constexpr IID kSpyIid = {
    0x0E3B8A52, 0x3A14, 0x4E0B, {0x9B, 0x55, 0x1A, 0x2C, 0x3D, 0x4E, 0x5F, 0x60}};
constexpr IID kSpyEvents = {
    0x0E3B8A52, 0x3A14, 0x4E0B, {0x9B, 0x55, 0x1A, 0x2C, 0x3D, 0x4E, 0x5F, 0x61}};

HRESULT Put(IDispatch* object, DISPID id, VARIANT value, EXCEPINFO* info = nullptr) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, info, nullptr);
}

HRESULT Get(IDispatch* object, DISPID id, VARIANT* result, EXCEPINFO* info = nullptr) {
    VariantInit(result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, result,
                          info, nullptr);
}

VARIANT Long(LONG n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

TEST(ComDispatchObject, CallsTheMembersAndReportsTheirErrorsAsExceptions) {
    auto spy = std::make_shared<test::AutomationSpy>();
    ComDispatchObject* object = ComDispatchObject::Create(spy, kSpyIid, &kSpyEvents, nullptr);
    EXPECT_FALSE(ComServerCanUnload());

    void* asSpy = nullptr;
    ASSERT_EQ(object->QueryInterface(kSpyIid, &asSpy), S_OK);
    EXPECT_EQ(asSpy, static_cast<IDispatch*>(object));
    static_cast<IDispatch*>(asSpy)->Release();

    ASSERT_EQ(Put(object, 1, Long(12)), S_OK);
    EXPECT_EQ(spy->level, 12);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"7");
    ASSERT_EQ(Put(object, 1, text), S_OK);  // coerced to the member's kind
    VariantClear(&text);
    EXPECT_EQ(spy->level, 7);
    VARIANT result;
    ASSERT_EQ(Get(object, 1, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 7);
    ASSERT_EQ(Get(object, 3, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_STREQ(result.bstrVal, L"spy");
    VariantClear(&result);

    VARIANT huge;
    VariantInit(&huge);
    huge.vt = VT_R8;
    huge.dblVal = 1e12;
    EXPECT_EQ(Put(object, 1, huge), DISP_E_OVERFLOW);
    EXPECT_EQ(spy->puts, 2);  // the refused put never reached the member
    EXPECT_EQ(Put(object, 3, Long(1)), DISP_E_MEMBERNOTFOUND);

    EXCEPINFO info{};
    EXPECT_EQ(Put(object, 2, Long(1), &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, static_cast<HRESULT>(0x80040011u));
    EXPECT_EQ(info.wCode, 0);
    EXPECT_STREQ(info.bstrSource, L"Spy.Fail");
    EXPECT_STREQ(info.bstrDescription, L"refused");
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    EXPECT_EQ(Get(object, 2, &result, nullptr), DISP_E_EXCEPTION);  // no EXCEPINFO asked for

    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(ComServerCanUnload());
}

TEST(ComDispatchObject, DeliversEventsToEachAdvisedSinkUntilUnadvised) {
    auto spy = std::make_shared<test::AutomationSpy>();
    ComDispatchObject* object = ComDispatchObject::Create(spy, kSpyIid, &kSpyEvents, nullptr);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(object->FindConnectionPoint(kSpyEvents, &point), S_OK);
    IConnectionPointContainer* back = nullptr;
    ASSERT_EQ(point->GetConnectionPointContainer(&back), S_OK);
    EXPECT_EQ(back, static_cast<IConnectionPointContainer*>(object));
    back->Release();

    test::ComEventSink first;
    test::ComEventSink second;
    DWORD firstCookie = 0;
    DWORD secondCookie = 0;
    ASSERT_EQ(point->Advise(&first, &firstCookie), S_OK);
    ASSERT_EQ(point->Advise(&second, &secondCookie), S_OK);
    EXPECT_NE(firstCookie, secondCookie);

    spy->Fire(2);
    spy->Fire(1);
    spy->Fire(2);
    EXPECT_EQ(first.Count(1), 1);
    EXPECT_EQ(first.Count(2), 2);
    EXPECT_EQ(second.Total(), 3);

    ASSERT_EQ(point->Unadvise(firstCookie), S_OK);
    spy->Fire(1);
    EXPECT_EQ(first.Total(), 3);
    EXPECT_EQ(second.Count(1), 2);
    point->Release();

    // The object's end releases the sinks still advised and stops the events.
    EXPECT_EQ(second.References(), 2);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(second.References(), 1);
    spy->Fire(1);
    EXPECT_EQ(second.Total(), 4);

    // An object without an event interface offers no container. Each refusal is reported, by
    // the interface's name where the system or the runtime knows it, else by its id.
    std::vector<std::string> refused;
    SetRefusedInterfaceListener([&](const IID& iid) { refused.push_back(InterfaceName(iid)); });
    ComDispatchObject* plain = ComDispatchObject::Create(spy, IID_IDispatch, nullptr, nullptr);
    void* container = reinterpret_cast<void*>(1);
    EXPECT_EQ(plain->QueryInterface(IID_IConnectionPointContainer, &container), E_NOINTERFACE);
    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(plain->QueryInterface(IID_IOleObject, &container), E_NOINTERFACE);
    EXPECT_EQ(plain->QueryInterface(kSpyEvents, &container), E_NOINTERFACE);
    SetRefusedInterfaceListener({});
    EXPECT_EQ(plain->QueryInterface(kSpyIid, &container), E_NOINTERFACE);
    EXPECT_EQ(refused, (std::vector<std::string>{"IConnectionPointContainer", "IOleObject",
                                                 "{0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F61}"}));
    plain->Release();
}

}  // namespace
}  // namespace arn::win32
