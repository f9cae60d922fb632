#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "fakes/FakeAutomationClient.h"
#include "host/AutomationNet.h"
#include "host/AutomationNode.h"

namespace arn {
namespace {

using test::FakeAutomationClient;

struct HostField {
    std::string name;
    int32_t bitIndex;
    int32_t bitCount;
};

// A host value object over one content, its NumberValue counting the writes it takes.
struct HostValue {
    double content = 0;
    int setDoubles = 0;
    std::shared_ptr<FakeAutomationClient> object = std::make_shared<FakeAutomationClient>();

    HostValue(std::string name, double initial, const std::vector<HostField>& fields)
        : content(initial) {
        auto number = std::make_shared<FakeAutomationClient>();
        number->methods["GetDouble"] = [this](const std::vector<Variant>&) {
            return Variant(content);
        };
        number->methods["SetDouble"] = [this](const std::vector<Variant>& args) {
            ++setDoubles;
            content = VariantToDouble(args.at(0));
            return Variant();
        };
        object->objects["NumberValue"] = number;
        object->properties["Name"] = [name] { return Variant(name); };
        object->properties["UnitsText"] = [] { return Variant(std::string("counts")); };
        object->methods["Apply"] = [](const std::vector<Variant>&) { return Variant(); };
        auto collection = std::make_shared<FakeAutomationClient>();
        const auto count = static_cast<int32_t>(fields.size());
        collection->properties["Count"] = [count] { return Variant(count); };
        std::vector<std::shared_ptr<AutomationClient>> items;
        for (const auto& f : fields) {
            auto field = std::make_shared<FakeAutomationClient>();
            field->properties["Name"] = [n = f.name] { return Variant(n); };
            field->properties["BitIndex"] = [i = f.bitIndex] { return Variant(i); };
            field->properties["BitCount"] = [c = f.bitCount] { return Variant(c); };
            field->properties["Description"] = [] { return Variant(std::string()); };
            items.push_back(field);
        }
        collection->objectMethods["Item"] = [items](const std::vector<Variant>& args) {
            return items.at(static_cast<size_t>(VariantToLong(args.at(0)) - 1));
        };
        object->objects["Fields"] = collection;
    }
};

// A host node with parameter 7 ("Status", fields Enabled bit 0 and Fault bits 3..4).
struct HostNode {
    HostValue status{"Status", 5, {{"Enabled", 0, 1}, {"Fault", 3, 2}}};
    std::shared_ptr<FakeAutomationClient> object = std::make_shared<FakeAutomationClient>();
    double accel = 0;

    HostNode() {
        object->methods["ParamExists"] = [](const std::vector<Variant>& args) {
            return Variant(VariantToLong(args.at(0)) == 7);
        };
        object->objectMethods["Param"] = [this](const std::vector<Variant>& args) {
            if (VariantToLong(args.at(0)) != 7) {
                throw ArnError(vbObjectError + 3, "HostNode", "no such parameter");
            }
            return std::shared_ptr<AutomationClient>(status.object);
        };
        object->methods["QueryState"] = [](const std::vector<Variant>&) { return Variant(true); };
        object->properties["AccelLimit"] = [this] { return Variant(accel); };
        object->putters["AccelLimit"] = [this](const Variant& v) { accel = VariantToDouble(v); };
        object->methods["MoveVelocity"] = [](const std::vector<Variant>&) { return Variant(); };
    }
};

TEST(AutomationNode, ParamPresentsTheHostValueOnceAndWritesReachIt) {
    HostNode host;
    auto node = AutomationNode::Create(host.object);

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
    EXPECT_EQ(host.object->calls["Param"], 1);

    // Writes reach the host value.
    value->get_NumberValue()->SetDouble(9);
    EXPECT_DOUBLE_EQ(host.status.content, 9.0);
    value->Field("Fault")->put_Value(2);
    EXPECT_DOUBLE_EQ(host.status.content, 17.0);
    EXPECT_EQ(host.status.setDoubles, 2);
    value->Field("Enabled")->Apply();
    EXPECT_EQ(host.status.object->calls["Apply"], 1);
}

TEST(AutomationNode, MotionGoesToTheHostNodeAndHostErrorsComeBackAsErrors) {
    HostNode host;
    auto node = AutomationNode::Create(host.object);

    node->put_AccelLimit(250);
    EXPECT_DOUBLE_EQ(host.accel, 250.0);
    EXPECT_DOUBLE_EQ(node->get_AccelLimit(), 250.0);
    node->MoveVelocity(-3);
    EXPECT_EQ(host.object->calls["MoveVelocity"], 1);

    try {
        node->Param(8);
        FAIL() << "Param(8) returned";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), vbObjectError + 3);
        EXPECT_EQ(e.source(), "HostNode");
    }
    try {
        node->get_DecelLimit();
        FAIL() << "DecelLimit returned";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 438);
    }
    host.object->objectMethods["Param"] = [](const std::vector<Variant>&) {
        return std::shared_ptr<AutomationClient>();
    };
    try {
        node->Param(9);
        FAIL() << "Param(9) returned";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), 91);
    }
    EXPECT_THROW(AutomationNode::Create(nullptr), ArnError);
}

// A host net whose AppEvents raise TimerTick, with a node of parameter 7.
struct HostNet {
    HostNode node;
    std::shared_ptr<FakeAutomationClient> object = std::make_shared<FakeAutomationClient>();
    std::shared_ptr<FakeAutomationClient> appEvents = std::make_shared<FakeAutomationClient>();
    std::shared_ptr<FakeAutomationClient> options = std::make_shared<FakeAutomationClient>();

    HostNet() {
        appEvents->DefineEvent("TimerTick");
        options->properties["DebugFlags"] = [] { return Variant(int32_t{0x40}); };
        object->objects["AppEvents"] = appEvents;
        object->objects["Options"] = options;
        object->objects["DriveEvents"] = std::make_shared<FakeAutomationClient>();
        object->objects["NetSupervisor"] = nullptr;
    }
};

TEST(AutomationNet, HostTickRefreshesTheNodesValuesBeforeTimerTick) {
    HostNet host;
    auto net = AutomationNet::Create(host.object);
    auto node = net->WrapNode(host.node.object);
    auto value = node->Param(7);
    std::vector<std::string> order;
    Connection changed = value->ValueChanged.connect(
        [&](const std::shared_ptr<Value>&) { order.push_back("ValueChanged"); });
    Connection tick =
        net->get_AppEvents()->TimerTick.connect([&] { order.push_back("TimerTick"); });

    host.node.status.content = 12;
    host.appEvents->Raise("TimerTick");
    EXPECT_EQ(order, (std::vector<std::string>{"ValueChanged", "TimerTick"}));
    EXPECT_DOUBLE_EQ(value->Content(), 12.0);

    host.appEvents->Raise("TimerTick");
    EXPECT_EQ(order, (std::vector<std::string>{"ValueChanged", "TimerTick", "TimerTick"}));

    // A value the host cannot read keeps its content, and the tick goes on.
    auto number = std::static_pointer_cast<FakeAutomationClient>(
        host.node.status.object->objects["NumberValue"]);
    number->methods["GetDouble"] = [](const std::vector<Variant>&) -> Variant {
        throw ArnError(vbObjectError + 4, "HostValue", "offline");
    };
    host.appEvents->Raise("TimerTick");
    EXPECT_EQ(order.back(), "TimerTick");
    EXPECT_EQ(order.size(), 4u);
    EXPECT_DOUBLE_EQ(value->Content(), 12.0);
}

TEST(AutomationNet, HostObjectsAndOneAppEventsSubscriptionThatEndsWithTheNet) {
    HostNet host;
    auto net = AutomationNet::Create(host.object);

    EXPECT_EQ(net->get_AppEvents(), net->get_AppEvents());
    EXPECT_EQ(host.appEvents->Subscribers("TimerTick"), 1u);
    net.reset();
    EXPECT_EQ(host.appEvents->Subscribers("TimerTick"), 0u);
    host.appEvents->Raise("TimerTick");
    net = AutomationNet::Create(host.object);
    EXPECT_EQ(net->get_Options()->get_DebugFlags(), 0x40);
    EXPECT_NE(net->get_DriveEvents(), nullptr);
    EXPECT_EQ(net->get_NetSupervisor(), nullptr);
    host.object->objects["AppEvents"] = nullptr;
    auto other = AutomationNet::Create(host.object);
    EXPECT_EQ(other->get_AppEvents(), nullptr);
}

}  // namespace
}  // namespace arn
