#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "fakes/ErrorNumber.h"
#include "fakes/FakeAutomationClient.h"
#include "host/AutomationNet.h"
#include "host/AutomationNode.h"

namespace arn {
namespace {

using test::ErrorNumber;
using test::FakeAutomationClient;
using Args = std::vector<Variant>;

std::shared_ptr<FakeAutomationClient> Fake() {
    return std::make_shared<FakeAutomationClient>();
}

// A host net raising TimerTick, and a node whose parameter 7 ("Status", no fields) holds
// `content`. The wrappers over the simulated drive's faces have their own tests; these are
// what a host that fails or answers Nothing does to them.
struct Host {
    double content = 5;
    std::shared_ptr<FakeAutomationClient> net = Fake(), appEvents = Fake(), node = Fake(),
                                          status = Fake(), number = Fake();

    Host() {
        number->methods["GetDouble"] = [this](const Args&) { return Variant(content); };
        auto fields = Fake();
        fields->properties["Count"] = Variant(int32_t{0});
        status->objects = {{"NumberValue", number}, {"Fields", fields}};
        status->properties = {{"Name", Variant(std::string("Status"))}};
        node->objects = {{"Param(7)", status}, {"Param(9)", nullptr}};
        appEvents->events["TimerTick"];
        net->objects = {{"AppEvents", appEvents},
                        {"Options", Fake()},
                        {"DriveEvents", Fake()},
                        {"NetSupervisor", nullptr}};
    }
};

TEST(AutomationNet, AsksForAParamOnceKeepsWhatItCannotReadAndSubscribesWhileItLives) {
    Host host;
    auto net = AutomationNet::Create(host.net);
    auto node = net->WrapNode(host.node);  // the net ticks the nodes it wrapped while they live
    auto value = node->Param(7);
    EXPECT_EQ(node->Param(7), value);
    EXPECT_EQ(host.node->calls["Param"], 1);
    EXPECT_EQ(ErrorNumber([&] { node->Param(9); }), 91) << "the host gave no object";
    EXPECT_THROW(AutomationNode::Create(nullptr), ArnError);

    int ticks = 0;
    EXPECT_EQ(net->get_AppEvents(), net->get_AppEvents());
    Connection tick = net->get_AppEvents()->TimerTick.connect([&] { ++ticks; });
    EXPECT_EQ(host.appEvents->events["TimerTick"].slotCount(), 1u);
    host.content = 12;
    host.appEvents->events["TimerTick"]();
    EXPECT_DOUBLE_EQ(value->Content(), 12.0);
    // A value the host cannot read keeps its content, and the tick goes on.
    host.number->methods["GetDouble"] = [](const Args&) -> Variant {
        throw ArnError(vbObjectError + 4, "HostValue", "offline");
    };
    host.content = 13;
    host.appEvents->events["TimerTick"]();
    EXPECT_EQ(ticks, 2);
    EXPECT_DOUBLE_EQ(value->Content(), 12.0);

    tick.disconnect();
    net.reset();
    EXPECT_EQ(host.appEvents->events["TimerTick"].slotCount(), 0u);
    host.net->objects["AppEvents"] = nullptr;
    EXPECT_EQ(AutomationNet::Create(host.net)->get_AppEvents(), nullptr);
}

}  // namespace
}  // namespace arn
