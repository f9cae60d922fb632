#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
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

Variant Text(const char* text) {
    return Variant(std::string(text));
}

// A host net raising TimerTick, and a node whose parameter 7 ("Status", fields Enabled bit 0
// and Fault bits 3..4) holds `content`, its NumberValue counting the writes.
struct Host {
    double content = 5;
    int setDoubles = 0;
    std::shared_ptr<FakeAutomationClient> net = Fake(), appEvents = Fake(), node = Fake(),
                                          status = Fake(), number = Fake();

    Host() {
        number->methods["GetDouble"] = [this](const Args&) { return Variant(content); };
        number->methods["SetDouble"] = [this](const Args& args) {
            ++setDoubles;
            content = VariantToDouble(args.at(0));
            return Variant();
        };
        status->objects["NumberValue"] = number;
        status->properties = {{"Name", Text("Status")}, {"UnitsText", Text("counts")}};
        status->methods["Apply"] = [](const Args&) { return Variant(); };
        auto fields = Fake();
        fields->properties["Count"] = Variant(int32_t{2});
        int item = 0;
        for (auto [name, index, count] : {std::tuple{"Enabled", 0, 1}, std::tuple{"Fault", 3, 2}}) {
            auto field = Fake();
            field->properties = {{"Name", Text(name)},
                                 {"BitIndex", Variant(int32_t{index})},
                                 {"BitCount", Variant(int32_t{count})},
                                 {"Description", Text("")}};
            fields->objects["Item(" + std::to_string(++item) + ")"] = field;
        }
        status->objects["Fields"] = fields;
        node->methods["ParamExists"] = [](const Args& a) {
            return Variant(VariantToLong(a.at(0)) == 7);
        };
        node->objects = {{"Param(7)", status}, {"Param(9)", nullptr}};
        node->methods["QueryState"] = [](const Args&) { return Variant(true); };
        node->methods["MoveVelocity"] = [](const Args&) { return Variant(); };
        node->properties["AccelLimit"] = Variant(0.0);
        appEvents->events["TimerTick"];
        auto options = Fake();
        options->properties["DebugFlags"] = Variant(int32_t{0x40});
        net->objects = {{"AppEvents", appEvents},
                        {"Options", options},
                        {"DriveEvents", Fake()},
                        {"NetSupervisor", nullptr}};
    }
};

TEST(AutomationNode, ParamPresentsTheHostValueOnceAndWritesMotionAndErrorsGoThrough) {
    Host host;
    auto node = AutomationNode::Create(host.node);
    EXPECT_TRUE(node->ParamExists(7));
    EXPECT_FALSE(node->ParamExists(8));
    auto value = node->Param(7);
    EXPECT_EQ(value->get_Name(), "Status");
    EXPECT_EQ(value->get_ParamNumber(), 7);
    EXPECT_DOUBLE_EQ(value->get_NumberValue()->GetDouble(), 5.0);
    EXPECT_EQ(value->get_Fields().Count(), 2u);
    EXPECT_EQ(value->Field("Enabled")->get_Value(), 1);
    EXPECT_EQ(value->Field("Fault")->get_BitIndex(), 3);
    EXPECT_EQ(value->Field("Fault")->get_Value(), 0);
    std::string quantity;
    std::string units;
    value->get_NumberValue()->GetUnitsText(quantity, units);
    EXPECT_EQ(units, "counts");
    EXPECT_TRUE(node->QueryState());
    // One object, asked of the host once.
    EXPECT_EQ(node->Param(7), value);
    EXPECT_EQ(host.node->calls["Param"], 1);

    value->get_NumberValue()->SetDouble(9);
    EXPECT_DOUBLE_EQ(host.content, 9.0);
    value->Field("Fault")->put_Value(2);
    EXPECT_DOUBLE_EQ(host.content, 17.0);
    EXPECT_EQ(host.setDoubles, 2);
    value->Field("Enabled")->Apply();
    EXPECT_EQ(host.status->calls["Apply"], 1);

    node->put_AccelLimit(250);
    EXPECT_DOUBLE_EQ(VariantToDouble(host.node->properties["AccelLimit"]), 250.0);
    EXPECT_DOUBLE_EQ(node->get_AccelLimit(), 250.0);
    node->MoveVelocity(-3);
    EXPECT_EQ(host.node->calls["MoveVelocity"], 1);

    EXPECT_EQ(ErrorNumber([&] { node->Param(8); }), 438) << "the host's own error";
    EXPECT_EQ(ErrorNumber([&] { node->Param(9); }), 91) << "the host gave no object";
    EXPECT_THROW(AutomationNode::Create(nullptr), ArnError);
}

TEST(AutomationNet, OneSubscriptionRefreshesTheNodesValuesBeforeTimerTickAndEndsWithTheNet) {
    Host host;
    auto net = AutomationNet::Create(host.net);
    EXPECT_EQ(net->get_AppEvents(), net->get_AppEvents());
    EXPECT_EQ(host.appEvents->events["TimerTick"].slotCount(), 1u);
    EXPECT_EQ(net->get_Options()->get_DebugFlags(), 0x40);
    EXPECT_NE(net->get_DriveEvents(), nullptr);
    EXPECT_EQ(net->get_NetSupervisor(), nullptr);
    auto node = net->WrapNode(host.node);  // the net ticks the nodes it wrapped while they live
    auto value = node->Param(7);
    std::vector<std::string> order;
    Connection changed = value->ValueChanged.connect(
        [&](const std::shared_ptr<Value>&) { order.push_back("ValueChanged"); });
    Connection tick =
        net->get_AppEvents()->TimerTick.connect([&] { order.push_back("TimerTick"); });

    host.content = 12;
    host.appEvents->events["TimerTick"]();
    host.appEvents->events["TimerTick"]();
    EXPECT_EQ(order, (std::vector<std::string>{"ValueChanged", "TimerTick", "TimerTick"}));
    EXPECT_DOUBLE_EQ(value->Content(), 12.0);
    // A value the host cannot read keeps its content, and the tick goes on.
    host.number->methods["GetDouble"] = [](const Args&) -> Variant {
        throw ArnError(vbObjectError + 4, "HostValue", "offline");
    };
    host.appEvents->events["TimerTick"]();
    EXPECT_EQ(order.size(), 4u);
    EXPECT_EQ(order.back(), "TimerTick");
    EXPECT_DOUBLE_EQ(value->Content(), 12.0);

    changed.disconnect();
    tick.disconnect();
    net.reset();
    EXPECT_EQ(host.appEvents->events["TimerTick"].slotCount(), 0u);
    host.net->objects["AppEvents"] = nullptr;
    EXPECT_EQ(AutomationNet::Create(host.net)->get_AppEvents(), nullptr);
}

}  // namespace
}  // namespace arn
