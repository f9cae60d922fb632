#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "fakes/AutomationSpy.h"
#include "fakes/ErrorNumber.h"
#include "fakes/GenericObject.h"
#include "platform/win32/com/ComAutomationClient.h"
#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComErrors.h"
#include "platform/win32/com/ComModule.h"

namespace arn::win32 {
namespace {

// {0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F61}
constexpr IID kSpyEvents = {
    0x0E3B8A52, 0x3A14, 0x4E0B, {0x9B, 0x55, 0x1A, 0x2C, 0x3D, 0x4E, 0x5F, 0x61}};

// A spy presented as IDispatch (with an event interface, without class information) and a
// client over it, as a host's object is reached from our side.
class ComAutomationClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        m_object = ComDispatchObject::Create(spy, IID_IDispatch, &kSpyEvents, nullptr);
        client = std::make_unique<ComAutomationClient>(m_object);
    }
    void TearDown() override {
        client.reset();
        EXPECT_EQ(m_object->Release(), 0u);
        EXPECT_TRUE(ComServerCanUnload());
        CoUninitialize();
    }

    std::shared_ptr<test::AutomationSpy> spy = std::make_shared<test::AutomationSpy>();
    std::unique_ptr<ComAutomationClient> client;

  private:
    ComDispatchObject* m_object = nullptr;
};

TEST_F(ComAutomationClientTest, ConvertsValuesToTheMembersKindsAndMatchesNamesWithoutCase) {
    client->Put("Level", Variant(std::string("12")));
    EXPECT_EQ(spy->level, 12);
    const Variant level = client->Get("level");
    ASSERT_TRUE(std::holds_alternative<int32_t>(level));
    EXPECT_EQ(std::get<int32_t>(level), 12);
    client->Put("LEVEL", Variant(true));
    EXPECT_EQ(spy->level, -1);
    EXPECT_EQ(spy->puts, 2);

    const Variant name = client->Get("Name");
    ASSERT_TRUE(std::holds_alternative<std::string>(name));
    EXPECT_EQ(std::get<std::string>(name), "spy");

    const Variant scaled = client->Call("Scale", {Variant(std::string("3")), Variant(2.5)});
    ASSERT_TRUE(std::holds_alternative<double>(scaled));
    EXPECT_DOUBLE_EQ(std::get<double>(scaled), 7.5);
    // The arguments keep their order: factor (Long) first, value (Double) second.
    const Variant again = client->Call("sCaLe", {Variant(int32_t{4}), Variant(0.25)});
    ASSERT_TRUE(std::holds_alternative<double>(again));
    EXPECT_DOUBLE_EQ(std::get<double>(again), 1.0);
    EXPECT_EQ(spy->calls, 2);
}

TEST_F(ComAutomationClientTest, HandsObjectsOfOursBackAsThemselves) {
    const std::shared_ptr<Dispatch> child = VariantToObject(spy->GetProperty("Child"));
    ASSERT_NE(child, nullptr);

    // A returned object of ours is that object again, not a client over a proxy of it.
    EXPECT_EQ(VariantToObject(client->Get("Child")), child);
    const std::shared_ptr<AutomationClient> childClient = client->GetObject("child");
    ASSERT_NE(childClient, nullptr);
    EXPECT_EQ(dynamic_cast<ComAutomationClient*>(childClient.get()), nullptr);
    childClient->Put("Level", Variant(int32_t{5}));
    EXPECT_EQ(std::static_pointer_cast<test::AutomationSpy>(child)->level, 5);
    EXPECT_EQ(spy->level, 0);

    // So is one passed as an argument, and returned again.
    auto other = std::make_shared<test::AutomationSpy>();
    client->Put("Peer", Variant(std::shared_ptr<Dispatch>(other)));
    EXPECT_EQ(spy->peer, other);
    EXPECT_EQ(VariantToObject(client->Get("Peer")), other);
    EXPECT_EQ(client->GetObject("Peer")->Get("Name"), Variant(std::string("spy")));

    // Nothing stays Nothing both ways.
    client->Put("Peer", Variant(std::shared_ptr<Dispatch>()));
    EXPECT_EQ(spy->peer, nullptr);
    EXPECT_EQ(client->GetObject("Peer"), nullptr);
}

TEST_F(ComAutomationClientTest, RaisesTheObjectsErrorsAndTheRuntimesRefusals) {
    try {
        client->Get("Fail");
        ADD_FAILURE() << "the spy's refusal was not raised";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), vbObjectError + 17);
        EXPECT_EQ(e.source(), "Spy.Fail");
        EXPECT_EQ(e.description(), "refused");
    }
    EXPECT_EQ(test::ErrorNumber([&] { client->Put("Fail", Variant(int32_t{1})); }),
              vbObjectError + 17);

    EXPECT_EQ(test::ErrorNumber([&] { client->Get("Missing"); }), 438);
    EXPECT_EQ(test::ErrorNumber([&] { client->Call("Missing", {}); }), 438);
    EXPECT_EQ(test::ErrorNumber([&] { client->Put("Name", Variant(std::string("x"))); }), 438);

    EXPECT_EQ(test::ErrorNumber([&] { client->Call("Scale", {Variant(int32_t{1})}); }), 450);
    EXPECT_EQ(test::ErrorNumber([&] { client->Call("Level", {Variant(int32_t{1})}); }), 450);

    EXPECT_EQ(test::ErrorNumber([&] { client->Put("Level", Variant(std::string("abc"))); }), 13);
    EXPECT_EQ(test::ErrorNumber([&] {
                  client->Call("Scale", {Variant(std::string("x")), Variant(1.0)});
              }),
              13);
    EXPECT_EQ(test::ErrorNumber([&] { client->Put("Peer", Variant(int32_t{3})); }), 13);
    EXPECT_EQ(test::ErrorNumber([&] { client->Put("Level", Variant(1e12)); }), 6);

    // None of the refused calls reached the members.
    EXPECT_EQ(spy->puts, 0);
    EXPECT_EQ(spy->calls, 0);
    EXPECT_EQ(spy->level, 0);
}

TEST_F(ComAutomationClientTest, ReleasesTheConvertedArgumentsWhenALaterOneCannotBePresented) {
    auto other = std::make_shared<test::AutomationSpy>();
    const long before = other.use_count();
    // The first argument becomes an object of ours for the call; the second, an object that no
    // runtime can be handed, stops the call before it is made.
    EXPECT_EQ(test::ErrorNumber([&] {
                  client->Call(
                      "Scale",
                      {Variant(std::shared_ptr<Dispatch>(other)),
                       Variant(std::shared_ptr<Dispatch>(GenericObject::Create("Plain")))});
              }),
              13);
    EXPECT_EQ(spy->calls, 0);
    EXPECT_EQ(other.use_count(), before);
}

TEST_F(ComAutomationClientTest, SubscribeRaises438ForAnObjectThatDescribesNoEvents) {
    int calls = 0;
    EXPECT_EQ(test::ErrorNumber([&] { client->Subscribe("Started", [&] { ++calls; }); }), 438);

    ComDispatchObject* plain = ComDispatchObject::Create(spy, IID_IDispatch, nullptr, nullptr);
    {
        ComAutomationClient plainClient(plain);
        EXPECT_EQ(test::ErrorNumber([&] { plainClient.Subscribe("Stopped", [&] { ++calls; }); }),
                  438);
    }
    EXPECT_EQ(plain->Release(), 0u);
    spy->Fire(1);
    EXPECT_EQ(calls, 0);
}

// EXCEPINFO's deferred fill-in, as an object that fills in its errors late provides it.
HRESULT __stdcall FillLate(EXCEPINFO* info) {
    info->wCode = 1001;
    info->bstrSource = SysAllocString(L"Host.Late");
    info->bstrDescription = SysAllocString(L"filled in late");
    info->pfnDeferredFillIn = nullptr;
    return S_OK;
}

TEST(ComErrors, CarryAutomationErrorNumbersAcrossTheRuntime) {
    EXPECT_EQ(ErrorResult(438), static_cast<HRESULT>(0x800A01B6u));
    EXPECT_EQ(ErrorResult(13), static_cast<HRESULT>(0x800A000Du));
    EXPECT_EQ(ErrorResult(vbObjectError + 17), static_cast<HRESULT>(0x80040011u));
    EXPECT_EQ(ErrorResult(static_cast<int32_t>(E_ACCESSDENIED)), E_ACCESSDENIED);

    // Each number survives the trip out as an exception's scode and back.
    for (const int32_t number : {5, 13, 438, 32811, vbObjectError + 17, vbObjectError + 513}) {
        EXCEPINFO info{};
        info.scode = ErrorResult(number);
        info.bstrSource = SysAllocString(L"Host.Net");
        info.bstrDescription = SysAllocString(L"went wrong");
        const ArnError error = ErrorFromInvoke(DISP_E_EXCEPTION, info, "Attach");
        EXPECT_EQ(error.number(), number);
        EXPECT_EQ(error.source(), "Host.Net");
        EXPECT_EQ(error.description(), "went wrong");
        // The call took the strings over.
        EXPECT_EQ(info.bstrSource, nullptr);
        EXPECT_EQ(info.bstrDescription, nullptr);
        EXPECT_EQ(info.scode, S_OK);
    }

    // wCode, where the object sets it, is the number; without a source the member names it.
    EXCEPINFO coded{};
    coded.wCode = 1000;
    coded.bstrDescription = SysAllocString(L"coded");
    const ArnError byCode = ErrorFromInvoke(DISP_E_EXCEPTION, coded, "Attach");
    EXPECT_EQ(byCode.number(), 1000);
    EXPECT_EQ(byCode.source(), "Attach");
    EXPECT_EQ(byCode.description(), "coded");

    EXCEPINFO late{};
    late.pfnDeferredFillIn = &FillLate;
    const ArnError filled = ErrorFromInvoke(DISP_E_EXCEPTION, late, "Attach");
    EXPECT_EQ(filled.number(), 1001);
    EXPECT_EQ(filled.source(), "Host.Late");
    EXPECT_EQ(filled.description(), "filled in late");

    EXCEPINFO none{};
    EXPECT_EQ(ErrorFromInvoke(DISP_E_UNKNOWNNAME, none, "Attach").number(), 438);
    EXPECT_EQ(ErrorFromInvoke(DISP_E_MEMBERNOTFOUND, none, "Attach").number(), 438);
    EXPECT_EQ(ErrorFromInvoke(DISP_E_BADPARAMCOUNT, none, "Attach").number(), 450);
    EXPECT_EQ(ErrorFromInvoke(DISP_E_PARAMNOTOPTIONAL, none, "Attach").number(), 450);
    EXPECT_EQ(ErrorFromInvoke(DISP_E_TYPEMISMATCH, none, "Attach").number(), 13);
    EXPECT_EQ(ErrorFromInvoke(DISP_E_OVERFLOW, none, "Attach").number(), 6);
    EXPECT_EQ(ErrorFromInvoke(DISP_E_NONAMEDARGS, none, "Attach").number(), 446);
    EXPECT_EQ(ErrorFromInvoke(DISP_E_PARAMNOTFOUND, none, "Attach").number(), 448);
    // A runtime error returned directly rather than raised keeps its number too.
    EXPECT_EQ(ErrorFromInvoke(static_cast<HRESULT>(0x800A005Bu), none, "Attach").number(), 91);
    const ArnError other = ErrorFromInvoke(E_ACCESSDENIED, none, "Attach");
    EXPECT_EQ(other.number(), static_cast<int32_t>(E_ACCESSDENIED));
    EXPECT_EQ(other.source(), "Attach");
    EXPECT_EQ(other.description(), "Automation error 0x80070005");
}

}  // namespace
}  // namespace arn::win32
