#include <gtest/gtest.h>

#include <map>

#include "InputsRig.h"

namespace arn {
namespace {

using testing::InputsRig;
using Events = std::vector<std::string>;
namespace sp = param;

// A node whose registers are free-standing values, so a test can make them read anything.
struct LooseNode : Node {
    std::map<int32_t, std::shared_ptr<Value>> params;
    bool ParamExists(int32_t number) override { return params.count(number) != 0; }
    std::shared_ptr<Value> Param(int32_t number) override { return params.at(number); }
    bool QueryState() override { return false; }
};

TEST(SwInputs, ExternalInputsIsTheExactStimulusAndSeedsTheLowThreeBits) {
    auto node = std::make_shared<LooseNode>();
    jogAndSwInputs io;
    EXPECT_FALSE(io.get_ExternalInputs());  // no node
    io.putref_NodeRef(node);
    EXPECT_FALSE(io.get_ExternalInputs());  // no stimulus register
    io.put_ExternalInputs(false);           // nothing to write to

    auto stim = node->params[265] = Value::Create();
    stim->DefineField("Enable Request OR Override", 16, 1, "");
    auto pins = node->params[35] = Value::Create();
    pins->DefineField("Enable Req", 8, 1, "");  // out of the way of the three seeded bits
    io.putref_NodeRef(node);
    for (double near : {65534.0, 65535.5, 65535.0}) {
        stim->get_NumberValue()->SetDouble(near);
        EXPECT_EQ(io.get_ExternalInputs(), near == 65535.0) << near;
    }
    // Rounded half to even, bits 0 to 2 only, moved to bits 16 to 18.
    for (auto [reading, seeded] :
         {std::pair{6.0, 393216.0}, {13.0, 327680.0}, {2.5, 131072.0}, {3.5, 262144.0}}) {
        stim->get_NumberValue()->SetDouble(65535.0);
        pins->get_NumberValue()->SetDouble(reading);
        io.put_ExternalInputs(false);
        EXPECT_EQ(stim->Content(), seeded) << reading;
    }
    // Dropping the node clears a software Enable once the node is gone, even when that leaves
    // the stimulus at "follow the pins": the write's events reach nobody.
    stim->get_NumberValue()->SetDouble(65535.0 + 65536.0);
    Connection raised = io.IOchanged.connect([](bool) { ADD_FAILURE() << "IOchanged raised"; });
    io.putref_NodeRef(nullptr);
    EXPECT_EQ(stim->Content(), 65535.0);
}

TEST(SwInputs, HandOverIsRefusedWhileHardwareEnabledAndAlwaysRefreshesStatus) {
    InputsRig rig;
    rig.Attach();
    auto& faults = rig.net->Faults();
    rig.node->SetPin(SimPin::InputA, true);
    rig.node->SetPin(SimPin::InputB, true);

    int refreshes = faults.Calls("Value.Refresh");
    rig.io->put_ExternalInputs(false);
    EXPECT_EQ(rig.Stimulus(), 6 * 65536.0);
    EXPECT_TRUE(rig.node->Drive().SoftwareState(SimPin::InputB));
    EXPECT_EQ(faults.Calls("Value.Refresh"), ++refreshes);

    // Back to the pins: each of the register's two change events re-applies the external
    // source (refreshing again) and raises IOchanged.
    rig.io->put_ExternalInputs(true);
    EXPECT_TRUE(rig.node->Drive().FollowsPins());
    EXPECT_EQ(rig.events, (Events{"IO:1", "IO:1"}));
    EXPECT_EQ(faults.Calls("Value.Refresh"), refreshes += 3);

    rig.events.clear();
    rig.node->SetPin(SimPin::Enable, true);
    rig.io->put_ExternalInputs(false);
    EXPECT_EQ(rig.Stimulus(), 65535.0);
    EXPECT_EQ(rig.Traced("jogAndSwInputs.ExternalInputs: can't get into SW control when HW is "
                         "enabled"),
              1);
    EXPECT_EQ(faults.Calls("Value.Refresh"), ++refreshes);
    EXPECT_TRUE(rig.events.empty());

    rig.node->SetPin(SimPin::Enable, false);
    faults.Fail("Number.SetDouble", 1, sp::InputStimulus);
    EXPECT_THROW(rig.io->put_ExternalInputs(false), ArnError);  // node errors reach the caller
}

TEST(SwInputs, WithoutStatusRegisterDisplayFollowsPinAndPinUpdatesWithdrawWork) {
    InputsRig rig;
    SimNodeOptions noStatus;
    noStatus.omitParams = {sp::Status};
    rig.Attach(noStatus);

    rig.node->SetPin(SimPin::Enable, true);
    rig.net->Tick();
    EXPECT_FALSE(rig.io->get_EnableReqPin());  // under external inputs the pin alone shows nothing

    // Work marked by a display change is withdrawn by a pin update under external inputs.
    rig.io->m_displayEnableFld_UpdateView(rig.io->DisplayEnableField());
    rig.node->SetPin(SimPin::Enable, false);
    rig.net->Tick();
    EXPECT_TRUE(rig.events.empty());

    rig.io->put_ExternalInputs(false);
    rig.node->SetPin(SimPin::Enable, true);
    rig.net->Tick();
    EXPECT_TRUE(rig.io->get_EnableReqPin());
    EXPECT_EQ(rig.events, (Events{"IO:1", "Enable:1"}));
}

TEST(SwInputs, EnableReqIsWrittenUnderSoftwareControlAndClearedByDetach) {
    InputsRig rig;
    rig.Attach();
    rig.io->put_EnableReq(true);  // external inputs: nothing written
    EXPECT_EQ(rig.Stimulus(), 65535.0);
    EXPECT_FALSE(rig.io->get_EnableReq());
    rig.io->put_ExternalInputs(false);
    rig.io->put_EnableReq(false);
    EXPECT_FALSE(rig.io->get_EnableReq());
    rig.io->put_EnableReq(true);
    EXPECT_TRUE(rig.io->get_EnableReq());
    EXPECT_TRUE(rig.node->Drive().SoftwareState(SimPin::Enable));

    bool boundAtWrite = false;
    Connection watch = rig.node->Param(sp::InputStimulus)
                           ->ContentChanged.connect([&](const std::shared_ptr<Value>&) {
                               boundAtWrite = !!rig.io->DisplayEnableField();
                           });
    rig.io->putref_NodeRef(nullptr);
    EXPECT_TRUE(boundAtWrite);
    EXPECT_FALSE(rig.node->Drive().SoftwareState(SimPin::Enable));
    EXPECT_FALSE(rig.node->Drive().FollowsPins());  // the source survives the detach
    EXPECT_EQ(rig.io->DisplayEnableField(), nullptr);
    EXPECT_EQ(rig.io->OffField(), nullptr);
    EXPECT_EQ(rig.io->get_JogSpeed(), nullptr);

    // The node's events no longer reach the object, and ticks find nothing to do.
    rig.node->SetPin(SimPin::Enable, true);
    rig.net->Tick();
    EXPECT_TRUE(rig.events.empty());

    // An object that is simply dropped writes nothing to the node.
    auto other = std::make_shared<jogAndSwInputs>();
    other->putref_NodeRef(rig.node);
    rig.node->SetPin(SimPin::Enable, false);
    other->put_EnableReq(true);
    other.reset();
    EXPECT_TRUE(rig.node->Drive().SoftwareState(SimPin::Enable));
}

}  // namespace
}  // namespace arn
