#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/ArnError.h"
#include "core/ObjectClient.h"
#include "fakes/AutomationSpy.h"
#include "fakes/ErrorNumber.h"

namespace arn {
namespace {

TEST(ObjectClient, ReachesMembersByNameAndCoercesTheArguments) {
    auto spy = std::make_shared<test::AutomationSpy>();
    ObjectClient client(spy);

    client.Put("LEVEL", Variant(std::string("12")));
    EXPECT_EQ(spy->level, 12);
    EXPECT_EQ(client.Get("level"), Variant(int32_t{12}));
    // Arguments take their parameters' kinds before the method sees them.
    EXPECT_EQ(client.Call("Scale", {Variant(std::string("3")), Variant(2.5)}), Variant(7.5));
    EXPECT_EQ(client.Call("Scale", {Variant(true), Variant(int32_t{4})}), Variant(-4.0));
    EXPECT_EQ(spy->calls, 2);
    // A property without arguments can be called, as late-bound callers do.
    EXPECT_EQ(client.Call("Name", {}), Variant(std::string("spy")));

    EXPECT_EQ(test::ErrorNumber([&] { client.Call("Scale", {Variant(int32_t{1})}); }), 450);
    EXPECT_EQ(test::ErrorNumber([&] { client.Call("Name", {Variant(int32_t{1})}); }), 450);
    EXPECT_EQ(test::ErrorNumber([&] {
                  client.Call("Scale", {Variant(std::string("three")), Variant(1.0)});
              }),
              13);
    EXPECT_EQ(spy->calls, 2);  // none of the refused calls reached the method
    EXPECT_EQ(test::ErrorNumber([&] { client.Call("Missing", {}); }), 438);
    EXPECT_EQ(test::ErrorNumber([&] { client.Put("Name", Variant(1)); }), 383);
    // The object's own error passes through unchanged.
    EXPECT_EQ(test::ErrorNumber([&] { client.Get("Fail"); }), vbObjectError + 17);
}

TEST(ObjectClient, HandsOutObjectsAsClientsAndEventsByName) {
    auto spy = std::make_shared<test::AutomationSpy>();
    auto client = std::make_shared<ObjectClient>(spy);

    auto child = client->GetObject("Child");
    ASSERT_NE(child, nullptr);
    child->Put("Level", Variant(int32_t{5}));
    EXPECT_EQ(client->GetObject("Child")->Get("Level"), Variant(int32_t{5}));  // the same child
    EXPECT_EQ(spy->level, 0);

    EXPECT_EQ(ClientOf(Variant{}), nullptr);
    EXPECT_EQ(ClientOf(Variant(std::shared_ptr<Dispatch>())), nullptr);
    EXPECT_EQ(ClientOf(Variant(std::shared_ptr<Dispatch>(std::make_shared<ClientObject>(client)))),
              client);
    EXPECT_EQ(test::ErrorNumber([] { ClientOf(Variant(int32_t{5})); }), 13);

    int stopped = 0;
    Connection connection = client->Subscribe("stopped", [&] { ++stopped; });
    spy->Fire(1);
    spy->Fire(2);
    spy->Fire(2);
    EXPECT_EQ(stopped, 2);
    connection.disconnect();
    spy->Fire(2);
    EXPECT_EQ(stopped, 2);
    EXPECT_EQ(test::ErrorNumber([&] { client->Subscribe("Paused", [] {}); }), 438);
    EXPECT_EQ(test::ErrorNumber([] { ObjectClient none(nullptr); }), 91);
}

}  // namespace
}  // namespace arn
