#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
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

Variant Object(std::shared_ptr<Dispatch> object) {
    return Variant(std::move(object));
}

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
    ComDispatchObject* m_object = nullptr;
};

TEST_F(ComAutomationClientTest, ConvertsValuesToTheMembersKindsAndMatchesNamesWithoutCase) {
    client->Put("Level", Variant(std::string("12")));
    EXPECT_EQ(spy->level, 12);
    EXPECT_EQ(client->Get("level"), Variant(int32_t{12}));
    client->Put("LEVEL", Variant(true));
    EXPECT_EQ(spy->level, -1);
    EXPECT_EQ(client->Get("Name"), Variant(std::string("spy")));
    // The arguments keep their order: factor (Long) first, value (Double) second.
    EXPECT_EQ(client->Call("Scale", {Variant(std::string("3")), Variant(2.5)}), Variant(7.5));
    EXPECT_EQ(client->Call("sCaLe", {Variant(int32_t{4}), Variant(0.25)}), Variant(1.0));
    EXPECT_EQ(std::pair(spy->puts, spy->calls), std::pair(2, 2));
}

TEST_F(ComAutomationClientTest, HandsObjectsOfOursBackAsThemselves) {
    // A returned object of ours is that object again, not a client over a proxy of it.
    const std::shared_ptr<Dispatch> child = VariantToObject(spy->GetProperty("Child"));
    EXPECT_EQ(VariantToObject(client->Get("Child")), child);
    const std::shared_ptr<AutomationClient> childClient = client->GetObject("child");
    ASSERT_NE(childClient, nullptr);
    EXPECT_EQ(dynamic_cast<ComAutomationClient*>(childClient.get()), nullptr);
    childClient->Put("Level", Variant(int32_t{5}));
    EXPECT_EQ(std::static_pointer_cast<test::AutomationSpy>(child)->level, 5);
    EXPECT_EQ(spy->level, 0);

    // So is one passed as an argument, and returned again; Nothing stays Nothing both ways.
    auto other = std::make_shared<test::AutomationSpy>();
    client->Put("Peer", Object(other));
    EXPECT_EQ(spy->peer, other);
    EXPECT_EQ(VariantToObject(client->Get("Peer")), other);
    EXPECT_EQ(client->GetObject("Peer")->Get("Name"), Variant(std::string("spy")));
    client->Put("Peer", Object(nullptr));
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
    // The first argument becomes an object of ours for the call; the second, an object that no
    // runtime can be handed, stops the call before it is made and lets the first go again.
    auto other = std::make_shared<test::AutomationSpy>();
    const long held = other.use_count();
    int events = 0;
    const Variant one(int32_t{1});
    const Variant word(std::string("x"));
    const std::vector<Variant> wordFirst{word, Variant(1.0)};
    const std::pair<std::function<void()>, int> rows[] = {
        {[&] { client->Put("Fail", one); }, vbObjectError + 17},
        {[&] { client->Get("Missing"); }, 438},
        {[&] { client->Call("Missing", {}); }, 438},
        {[&] { client->Put("Name", word); }, 438},  // get-only
        {[&] { client->Call("Scale", {one}); }, 450},
        {[&] { client->Call("Level", {one}); }, 450},  // arguments to a property
        {[&] { client->Put("Level", word); }, 13},
        {[&] { client->Call("Scale", wordFirst); }, 13},
        {[&] { client->Put("Peer", one); }, 13},
        {[&] { client->Put("Level", Variant(1e12)); }, 6},
        {[&] {
             client->Call("Scale", {Object(other), Object(GenericObject::Create("P"))});
         },
         13},
        {[&] { client->Subscribe("Started", [&] { ++events; }); }, 438},  // describes no events
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(test::ErrorNumber(rows[i].first), rows[i].second) << "row " << i;
    }
    // None of the refused calls reached the members.
    EXPECT_EQ((std::vector<int>{spy->puts, spy->calls, spy->level}), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(other.use_count(), held);
    spy->Fire(1);
    EXPECT_EQ(events, 0);
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
    EXPECT_EQ(ErrorResult(vbObjectError + 17), static_cast<HRESULT>(0x80040011u));
    EXPECT_EQ(ErrorResult(static_cast<int32_t>(E_ACCESSDENIED)), E_ACCESSDENIED);

    // Each number survives the trip out as an exception's scode and back; the call takes the
    // strings over.
    for (const int32_t number : {5, 13, 438, 32811, vbObjectError + 17, vbObjectError + 513}) {
        EXCEPINFO info{};
        info.scode = ErrorResult(number);
        info.bstrSource = SysAllocString(L"Host.Net");
        info.bstrDescription = SysAllocString(L"went wrong");
        const ArnError error = ErrorFromInvoke(DISP_E_EXCEPTION, info, "Attach");
        EXPECT_EQ(error.number(), number);
        EXPECT_EQ(error.source() + ": " + error.description(), "Host.Net: went wrong");
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
    EXPECT_EQ(byCode.source() + ": " + byCode.description(), "Attach: coded");
    EXCEPINFO late{};
    late.pfnDeferredFillIn = &FillLate;
    const ArnError filled = ErrorFromInvoke(DISP_E_EXCEPTION, late, "Attach");
    EXPECT_EQ(filled.number(), 1001);
    EXPECT_EQ(filled.source() + ": " + filled.description(), "Host.Late: filled in late");

    // The runtime's own refusals, and a runtime error returned directly rather than raised.
    const std::pair<HRESULT, int32_t> refusals[] = {{DISP_E_UNKNOWNNAME, 438},
                                                    {DISP_E_MEMBERNOTFOUND, 438},
                                                    {DISP_E_BADPARAMCOUNT, 450},
                                                    {DISP_E_PARAMNOTOPTIONAL, 450},
                                                    {DISP_E_TYPEMISMATCH, 13},
                                                    {DISP_E_OVERFLOW, 6},
                                                    {DISP_E_NONAMEDARGS, 446},
                                                    {DISP_E_PARAMNOTFOUND, 448},
                                                    {static_cast<HRESULT>(0x800A005Bu), 91}};
    EXCEPINFO none{};
    for (const auto& [hr, number] : refusals) {
        EXPECT_EQ(ErrorFromInvoke(hr, none, "Attach").number(), number) << hr;
    }
    const ArnError other = ErrorFromInvoke(E_ACCESSDENIED, none, "Attach");
    EXPECT_EQ(other.number(), static_cast<int32_t>(E_ACCESSDENIED));
    EXPECT_EQ(other.source() + ": " + other.description(), "Attach: Automation error 0x80070005");
}

}  // namespace
}  // namespace arn::win32
