// The simulated drive's behaviour, without value objects.
#include <gtest/gtest.h>

#include "platform/ArnError.h"
#include "sim/SimDrive.h"
#include "sim/SimLayout.h"

namespace arn {
namespace {

namespace sp = simparam;

TEST(SimDrive, StimulusRegisterSwitchesBetweenPinsAndSoftwareStates) {
    SimDrive drive;
    EXPECT_EQ(drive.Read(sp::InputStimulus), 65535.0);
    drive.SetPin(SimPin::Enable, true);
    drive.SetPin(SimPin::InputB, true);
    EXPECT_EQ(drive.Read(sp::InputRegister), 5);
    EXPECT_EQ(static_cast<uint32_t>(drive.Read(sp::Status)) & 7u, 5u)
        << "status follows the pins under hardware control";

    // The copy the inputs object makes: input bits 0..2 moved to 16..18.
    drive.Write(sp::InputStimulus, (static_cast<int>(drive.Read(sp::InputRegister)) & 7) * 65536.0);
    EXPECT_FALSE(drive.FollowsPins());
    EXPECT_TRUE(drive.SoftwareState(SimPin::Enable));
    EXPECT_FALSE(drive.SoftwareState(SimPin::InputA));
    EXPECT_TRUE(drive.SoftwareState(SimPin::InputB));
    EXPECT_EQ(drive.Read(sp::InputStimulus), 327680.0);

    drive.SetPin(SimPin::Enable, false);
    EXPECT_TRUE(drive.Enabled()) << "software control ignores the pins";
    drive.Write(sp::InputStimulus, 0x7FFFF);  // bits outside the overrides are dropped
    EXPECT_EQ(drive.Read(sp::InputStimulus), 0x70000);
    EXPECT_EQ(static_cast<uint32_t>(drive.Read(sp::Status)) & 7u, 7u);

    drive.Write(sp::InputStimulus, 65535.5);  // not exactly 65535: still software control
    EXPECT_FALSE(drive.FollowsPins());
    drive.Write(sp::InputStimulus, 65535.0);
    EXPECT_TRUE(drive.FollowsPins());
    EXPECT_EQ(static_cast<uint32_t>(drive.Read(sp::Status)) & 7u, 4u);
}

TEST(SimDrive, RefusesBadWritesWithoutChangingAnything) {
    SimDrive drive;
    auto number = [&](int32_t param, double v) {
        try {
            drive.Write(param, v);
        } catch (const ArnError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number(sp::Status, 1), 383);
    EXPECT_EQ(number(sp::MeasuredPosition, 5), 383);
    EXPECT_EQ(number(sp::InputRegister, 1), 383);
    EXPECT_EQ(number(sp::UnitsSelect, 3), 380);
    EXPECT_EQ(number(sp::UnitsSelect, 1.5), 380);
    EXPECT_EQ(number(sp::Position1, std::numeric_limits<double>::quiet_NaN()), 380);
    EXPECT_EQ(number(999, 1), 9);
    EXPECT_EQ(drive.Read(sp::UnitsSelect), 0);
    EXPECT_EQ(drive.Read(sp::InputRegister), 0);
    EXPECT_EQ(drive.UnitsText(sp::UnitsText), "counts");
    EXPECT_EQ(number(sp::UnitsSelect, 2), 0);
    EXPECT_EQ(drive.UnitsText(sp::UnitsText), "mm");
    EXPECT_EQ(drive.UnitsText(sp::Position1), "mm");
    EXPECT_EQ(drive.UnitsText(sp::JogAccel), "");
    EXPECT_THROW(drive.Force(sp::Status, 0), std::logic_error);
    EXPECT_THROW(drive.SetAccelLimit(0), ArnError);
}

TEST(SimDrive, MovesTowardTheSelectedPositionOnlyWhileEnabled) {
    SimDrive drive;  // mode 8, positions 0, 1000, 2000, 3000, window 400 / 80 = 5
    EXPECT_EQ(drive.OperationalMode(), 8);
    EXPECT_FALSE(drive.MotionPending());
    drive.SetPin(SimPin::InputB, true);  // A off, B on: position 3
    EXPECT_EQ(drive.SelectedIndex(), 2);
    EXPECT_TRUE(drive.MotionPending());
    EXPECT_FALSE(drive.QueryState());
    drive.Step();
    EXPECT_EQ(drive.MeasuredPosition(), 0) << "a disabled drive stays put";

    drive.SetPin(SimPin::Enable, true);
    EXPECT_FALSE(drive.MotionPending());
    EXPECT_TRUE(drive.QueryState());
    drive.Step();
    EXPECT_EQ(drive.MeasuredPosition(), SimDrive::kMoveStep);
    EXPECT_TRUE(drive.InMotion());
    while (drive.MeasuredPosition() != 2000 && drive.Steps() < 1000) {
        drive.Step();
    }
    EXPECT_EQ(drive.MeasuredPosition(), 2000);
    EXPECT_FALSE(drive.InMotion());
    const auto accum = static_cast<uint32_t>(drive.Read(sp::AccumulatedStatus));
    EXPECT_EQ(SimFieldGet(sp::AccumulatedStatus, "Move Done", accum), 1u);
    EXPECT_EQ(SimFieldGet(sp::AccumulatedStatus, "Trigger Detected", accum), 1u);
    drive.Step();
    EXPECT_EQ(SimFieldGet(sp::AccumulatedStatus, "Trigger Detected",
                          static_cast<uint32_t>(drive.Read(sp::AccumulatedStatus))),
              0u)
        << "a trigger is a pulse of one step";

    // Outside mode 8 only Input A selects.
    drive.Write(sp::MotionSetup, 2);
    EXPECT_EQ(drive.SelectedIndex(), 0);
    drive.SetPin(SimPin::InputA, true);
    EXPECT_EQ(drive.SelectedIndex(), 1);
}

TEST(SimDrive, HomingCompletesAfterItsStepsOrAtTheHardStop) {
    SimDrive drive;
    drive.Force(sp::MeasuredPosition, 500);
    drive.Write(sp::HomingCommand, 1);  // "Start Homing"
    EXPECT_FALSE(drive.Homing()) << "a command waits for Apply";
    drive.Apply(sp::HomingCommand);
    EXPECT_TRUE(drive.Homing());
    EXPECT_EQ(drive.Read(sp::HomingCommand), 0) << "one-shot bits clear once taken";
    EXPECT_TRUE(drive.QueryState());
    drive.Step();
    EXPECT_EQ(drive.MeasuredPosition(), 500 - SimDrive::kHomingStep) << "homes toward negative";
    for (int i = 1; i < SimDrive::kHomingTicks; ++i) {
        drive.Step();
    }
    EXPECT_FALSE(drive.Homing());
    EXPECT_TRUE(drive.Homed());
    EXPECT_EQ(drive.MeasuredPosition(), 0);

    drive.Write(sp::HomingCommand, 1);
    drive.Apply(sp::HomingCommand);
    EXPECT_FALSE(drive.Homed());
    drive.Write(sp::HomingCommand, 2);  // "Set Hard Stopped"
    drive.Apply(sp::HomingCommand);
    EXPECT_TRUE(drive.Homing()) << "the hard stop is taken at the next step";
    drive.Step();
    EXPECT_FALSE(drive.Homing());
    EXPECT_TRUE(drive.Homed());

    drive.Write(sp::HomingCommand, 2);  // a hard stop outside homing does nothing
    drive.Apply(sp::HomingCommand);
    drive.Step();
    EXPECT_TRUE(drive.Homed());
    EXPECT_FALSE(drive.Homing());
}

TEST(SimDrive, JogRunsWhileEnabledUntilStopped) {
    SimDrive drive;
    drive.SetPin(SimPin::Enable, true);
    drive.MoveVelocity(-1500);
    drive.Step();
    EXPECT_EQ(drive.MeasuredPosition(), -150);
    EXPECT_TRUE(drive.InMotion());
    drive.NodeStop(65);
    EXPECT_EQ(drive.LastStopCode(), 65);
    EXPECT_FALSE(drive.Jogging());
    EXPECT_THROW(drive.MoveVelocity(std::numeric_limits<double>::infinity()), ArnError);
}

}  // namespace
}  // namespace arn
