// The simulated drive's behaviour, without value objects.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "sim/SimDrive.h"
#include "sim/SimLayout.h"

namespace arn {
namespace {

namespace sp = param;

TEST(SimDrive, RefusesBadWritesWithoutChangingAnything) {
    SimDrive drive;
    EXPECT_EQ(drive.Teach(), 0) << "teaching is off: nothing stored";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        int32_t param;
        double content;
        int32_t error;
    } cases[] = {{sp::Status, 1, 383},
                 {sp::MeasuredPosition, 5, 383},
                 {sp::InputRegister, 1, 383},
                 {sp::UnitsSelect, 3, 380},
                 {sp::UnitsSelect, 1.5, 380},
                 {sp::Position1, nan, 380},
                 {999, 1, 9}};
    for (const auto& c : cases) {
        try {
            drive.Write(c.param, c.content);
            ADD_FAILURE() << c.param << " accepted " << c.content;
        } catch (const ArnError& e) {
            EXPECT_EQ(e.number(), c.error) << c.param;
        }
    }
    EXPECT_EQ(drive.Read(sp::UnitsSelect), 0);
    EXPECT_EQ(drive.Read(sp::InputRegister), 0);
    EXPECT_EQ(drive.Read(sp::Position1), 0);
    drive.Force(sp::InputRegister, 5);  // what the hardware reports: Enable and B
    EXPECT_TRUE(drive.Pin(SimPin::Enable) && !drive.Pin(SimPin::InputA) &&
                drive.Pin(SimPin::InputB));
    drive.Write(sp::UnitsSelect, 2);
    EXPECT_EQ(drive.UnitsText(sp::UnitsText), "mm");
    EXPECT_EQ(drive.UnitsText(sp::Position1), "mm");
    EXPECT_EQ(drive.UnitsText(sp::MaxTravel), "mm");
    EXPECT_EQ(drive.UnitsText(sp::JogAccel), "") << "not a positional parameter";
}

TEST(SimDrive, MovesTowardTheSelectedPositionOnlyWhileEnabled) {
    SimDrive drive;                      // mode 8, positions 0, 1000, 2000, 3000
    drive.SetPin(SimPin::InputB, true);  // A off, B on: position 3
    EXPECT_EQ(drive.SelectedIndex(), 2);
    EXPECT_TRUE(drive.MotionPending());
    drive.Step();
    EXPECT_EQ(drive.MeasuredPosition(), 0) << "a disabled drive stays put";

    drive.SetPin(SimPin::Enable, true);
    EXPECT_FALSE(drive.MotionPending());
    drive.Step();
    EXPECT_EQ(drive.MeasuredPosition(), SimDrive::kMoveStep);
    EXPECT_TRUE(drive.InMotion());
    while (drive.MeasuredPosition() != 2000 && drive.Steps() < 1000) {
        drive.Step();
    }
    EXPECT_FALSE(drive.InMotion());
    auto accum = [&](const char* key) {
        return SimFieldGet(sp::AccumulatedStatus, key,
                           static_cast<uint32_t>(drive.Read(sp::AccumulatedStatus)));
    };
    EXPECT_EQ(accum("Move Done"), 1u);
    EXPECT_EQ(accum("Trigger Detected"), 1u);
    drive.Step();
    EXPECT_EQ(accum("Trigger Detected"), 0u) << "a trigger is a pulse of one step";

    // Outside mode 8 only Input A selects.
    drive.Write(sp::MotionSetup, 2);
    EXPECT_EQ(drive.SelectedIndex(), 0);
    drive.SetPin(SimPin::InputA, true);
    EXPECT_EQ(drive.SelectedIndex(), 1);
}

// (The host's dock tests meet the motion caution through the pins, the overrides and the
// window, and teach as a user does.)
// Rules of the drive that the host's tests do not meet, with the sentences it says on the way.
TEST(SimDrive, DisablingStopsAJogAndAbortsAHomingAtTheHardStop) {
    SimDrive drive;  // mode 8, positions 0, 1000, 2000, 3000, homing toward negative
    std::vector<std::string> said;
    const Connection listen =
        drive.Reported.connect([&](const std::string& s) { said.push_back(s); });
    const auto command = [&](const char* key) {
        drive.Write(sp::HomingCommand, SimFieldSet(sp::HomingCommand, key, 0, 1));
        drive.Apply(sp::HomingCommand);
    };
    drive.SetPin(SimPin::Enable, true);
    drive.MoveVelocity(100);
    drive.Step();
    drive.SetPin(SimPin::Enable, false);
    EXPECT_FALSE(drive.Jogging());
    EXPECT_TRUE(drive.MotionPending());
    drive.SetPin(SimPin::Enable, true);
    drive.Step();
    EXPECT_EQ(drive.MeasuredPosition(), 0) << "the next enable moves to the selection";

    command(fieldkey::StartHoming);
    for (int i = 0; i < SimDrive::kHomingTicks; ++i) {
        drive.Step();
    }
    drive.SetPin(SimPin::Enable, false);
    command(fieldkey::SetHardStopped);
    drive.Step();
    EXPECT_TRUE(drive.HomingAborted());
    EXPECT_FALSE(drive.Homed());
    EXPECT_EQ(drive.MeasuredPosition(), -190);
    EXPECT_EQ(said, (std::vector<std::string>{
                        "Jog stopped at 10: the drive was disabled",
                        "Homing started: the drive runs to the hard stop",
                        "Homing waits at the hard stop (-190): \"Set Home Posn\" takes it as home",
                        "Homing aborted at -190: the drive was disabled; not homed",
                        "\"Set Hard Stopped\" ignored: no homing runs"}));

    // Enabled again, a new homing waits at the stop and takes it as home when told.
    drive.SetPin(SimPin::Enable, true);
    command(fieldkey::StartHoming);
    for (int i = 0; i < SimDrive::kHomingTicks; ++i) {
        drive.Step();
    }
    command(fieldkey::SetHardStopped);
    drive.Step();
    EXPECT_TRUE(drive.Homed());
    EXPECT_EQ(said.back(), "Homed at 0");
}

}  // namespace
}  // namespace arn
