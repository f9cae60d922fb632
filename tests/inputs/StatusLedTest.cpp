#include <gtest/gtest.h>

#include <tuple>

#include "InputsRig.h"
#include "fakes/BeepCounter.h"
#include "host/controls/ArnFieldLED.h"
#include "toolkit/Picture.h"
#include "toolkit/SSCheck.h"

namespace arn {
namespace {

using testing::InputsRig;
using IO = jogAndSwInputs;
namespace sp = param;

std::shared_ptr<ArnFieldLED> Led(const std::string& key) {
    auto led = std::make_shared<ArnFieldLED>("led");
    led->put_fieldkey(key);
    return led;
}

bool Active(const ArnFieldLED& led) {
    if (led.get_LEDOnColor() == IO::ActiveOnColor && led.get_LEDOffColor() == IO::ActiveOffColor) {
        return true;
    }
    EXPECT_EQ(led.get_LEDOnColor(), IO::InactiveOnColor);
    EXPECT_EQ(led.get_LEDOffColor(), IO::InactiveOffColor);
    return false;
}

TEST(StatusLeds, SchemesSwapWithTheSourceInControl) {
    InputsRig rig;
    rig.Attach();
    auto hwEnable = Led("Enable Req"), hwInA = Led("InA"), swInA = Led("InA");
    const auto status = rig.node->Param(sp::Status)->Field("InA");
    // Under the pins, then under software, then a software LED set up as inactive.
    const struct {
        bool external, swInactive;
        std::shared_ptr<Field> hwInA, swInA;
        bool hwActive, swActive;
    } rows[] = {
        {true, false, status, rig.io->OffField(), true, false},
        {false, false, rig.node->Param(sp::InputRegister)->Field("InA"), status, false, true},
        {false, true, rig.node->Param(sp::InputRegister)->Field("InA"), rig.io->OffField(), false,
         false}};
    for (const auto& row : rows) {
        rig.io->put_ExternalInputs(row.external);
        rig.io->SetupHwLED(*hwEnable);
        rig.io->SetupHwLED(*hwInA);
        rig.io->SetupSwLED(*swInA, row.swInactive);
        EXPECT_EQ(hwEnable->get_LEDField(), rig.io->DisplayEnableField());
        EXPECT_EQ(Active(*hwEnable), row.hwActive);
        EXPECT_EQ(hwInA->get_LEDField(), row.hwInA);
        EXPECT_EQ(Active(*hwInA), row.hwActive);
        EXPECT_EQ(swInA->get_LEDField(), row.swInA);
        EXPECT_EQ(Active(*swInA), row.swActive);
    }
    EXPECT_EQ(rig.io->OffField()->get_Value(), 0);
    EXPECT_TRUE(rig.traces.empty());
}

TEST(StatusLeds, AccumulatedAndMissingFieldsAreBoundOrTraced) {
    InputsRig rig;
    rig.Attach();
    rig.io->put_ExternalInputs(false);
    auto trig = Led("Trigger Detected"), moveDone = Led("Move Done"), nope = Led("Nope"),
         accEnable = Led("Enable Req"), hwBogus = Led("Bogus"), swBogus = Led("Bogus");
    for (const auto& acc : {trig, moveDone, nope, accEnable}) {
        rig.io->SetupHwLED(*acc, true);
    }
    rig.io->SetupHwLED(*hwBogus);
    rig.io->SetupSwLED(*swBogus);

    EXPECT_EQ(trig->get_LEDField(), rig.io->TriggerHeldField());
    EXPECT_EQ(moveDone->get_LEDField(), rig.node->Param(sp::AccumulatedStatus)->Field("Move Done"));
    EXPECT_EQ(nope->get_LEDField(), nullptr);
    EXPECT_FALSE(Active(*nope));
    EXPECT_EQ(accEnable->get_LEDField(), rig.io->DisplayEnableField());
    EXPECT_EQ(hwBogus->get_LEDField(), nullptr);
    EXPECT_EQ(swBogus->get_LEDField(), nullptr);
    EXPECT_EQ(rig.traces, (std::vector<std::string>{
                              "jogAndSwInputs ***StatusAccum LED Item Missing: Nope",
                              "jogAndSwInputs ***StatusAccum LED Item Missing: Enable Req",
                              "jogAndSwInputs ***Status LED Item Missing: Bogus",
                              "jogAndSwInputs ***Status LED Item Missing: Bogus"}));
}

TEST(TriggerHold, PulseStaysVisibleUntilTheThirdTick) {
    InputsRig rig;
    rig.node = rig.net->CreateNode();
    auto seen = rig.node->Param(sp::AccumulatedStatus)->Field("Trigger Detected");
    seen->get_ValueCaptions().Item("0")->put_Active(false);
    rig.io->putref_NodeRef(rig.node);
    rig.io->putref_NetRef(rig.net);
    auto held = rig.io->TriggerHeldField();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->get_BitIndex(), seen->get_BitIndex());
    EXPECT_EQ(held->get_ValueCaptions().Count(), 1u);  // only the active caption is copied
    EXPECT_EQ(held->get_ValueCaptions().Item("1")->get_CaptionText(), "Trigger");

    auto heldAfterTicks = [&](int ticks) {
        std::string seenValues;
        for (int i = 0; i < ticks; ++i) {
            rig.net->Tick();
            seenValues += std::to_string(held->get_Value());
        }
        return seenValues;
    };
    rig.node->PulseTrigger();
    EXPECT_EQ(held->get_Value(), 1);
    EXPECT_EQ(heldAfterTicks(4), "1100");  // the drive drops its bit within the first tick

    // The node's bit returning to 1 during the count does not stop it.
    rig.node->PulseTrigger();
    EXPECT_EQ(heldAfterTicks(1), "1");
    rig.node->ForceField(sp::AccumulatedStatus, "Trigger Detected", 1);
    EXPECT_EQ(heldAfterTicks(2), "10");
    EXPECT_EQ(seen->get_Value(), 1);
}

TEST(CheckBoxPictures, PictureFollowsEnabledAndChecked) {
    IO io;
    auto chk = std::make_shared<SSCheck>("inCheck", 0);
    for (auto [enabled, checked, icon] : {std::tuple{true, true, 501},
                                          {true, false, 500},
                                          {false, false, 503},
                                          {false, true, 504}}) {
        chk->put_Enabled(enabled);
        chk->put_CheckValue(checked);
        io.UpdateCheckbox(*chk);
        EXPECT_EQ(chk->get_CheckPicture()->get_Handle(), icon);
    }
}

TEST(Jog, StartRestoresLimitsAndNodeErrorsBeep) {
    InputsRig rig;
    rig.io->JogStart(false);  // no node: nothing to do, nothing to report
    EXPECT_EQ(rig.io->get_JogSpeed()->get_Name(), "Speed") << "a formatted value until bound";
    rig.Attach();
    EXPECT_EQ(rig.io->get_JogSpeed(), rig.node->Param(sp::JogSpeed));
    test::BeepCounter beeps;
    rig.node->put_AccelLimit(7);
    rig.node->put_DecelLimit(2);
    rig.io->get_JogSpeed()->get_NumberValue()->SetDouble(1500);
    rig.io->get_JogAccel()->get_NumberValue()->SetDouble(20);
    rig.node->SetPin(SimPin::Enable, true);  // a disabled drive refuses to jog

    rig.io->JogStart(true);
    EXPECT_EQ(rig.node->Drive().JogVelocity(), -1500);
    EXPECT_EQ(rig.node->get_AccelLimit(), 7);
    EXPECT_EQ(rig.node->get_DecelLimit(), 7);  // ends equal to the restored acceleration
    rig.io->JogEnd();
    EXPECT_EQ(rig.node->Drive().LastStopCode(), IO::JogStopCode);
    EXPECT_EQ(beeps.Count(), 0);

    rig.net->Faults().Fail("Motion.MoveVelocity");
    rig.net->Faults().Fail("Motion.NodeStop");
    rig.io->JogStart(false);
    EXPECT_EQ(rig.node->get_AccelLimit(), 20);  // left as far as it got
    rig.io->JogEnd();
    EXPECT_EQ(beeps.Count(), 2);

    rig.io->putref_JogAccel(nullptr);  // a fresh formatted value replaces the node's
    EXPECT_EQ(rig.io->get_JogAccel()->get_Name(), "Accel.");
    EXPECT_EQ(rig.io->get_JogAccel()->get_NumberValue()->get_AccelReference(), 4.0);
}

}  // namespace
}  // namespace arn
