// The simulated drive's behaviour, without value objects.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "host/values/Value.h"
#include "sim/SimDrive.h"
#include "sim/SimLayout.h"

namespace arn {
namespace {

namespace sp = param;

TEST(SimDrive, RefusesBadWritesWithoutChangingAnything) {
    SimDrive drive;
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
    drive.Write(sp::UnitsSelect, 2);
    EXPECT_EQ(drive.UnitsText(sp::UnitsText), "mm");
    EXPECT_EQ(drive.UnitsText(sp::Position1), "mm");
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
// Rules of the drive as a user meets them, with the sentences the drive says on the way (the
// host tests meet the others).
TEST(SimDrive, BehavesAsACommissioningEngineerExpects) {
    const auto steps = [](SimDrive& d, int n) {
        for (int i = 0; i < n; ++i) {
            d.Step();
        }
    };
    const auto command = [](SimDrive& d, const char* key) {
        d.Write(sp::HomingCommand, SimFieldSet(sp::HomingCommand, key, 0, 1));
        d.Apply(sp::HomingCommand);
    };
    const auto enable = [](SimDrive& d, bool on) { d.SetPin(SimPin::Enable, on); };
    const int toStop = SimDrive::kHomingTicks;
    // Where the drive ends: "at <position>", then "homing", "homed", "aborted" where they hold.
    const auto state = [](const SimDrive& d) {
        std::ostringstream at;
        at << "at " << d.MeasuredPosition();
        return at.str() + (d.HomingState() != SimHoming::Idle ? " homing" : "") +
               (d.Homed() ? " homed" : "") + (d.HomingAborted() ? " aborted" : "");
    };
    struct Row {
        const char* rule;
        int32_t mode;
        std::function<void(SimDrive&)> act;
        std::vector<std::string> said;
        std::string ends;
    };
    const Row rows[] = {
        {"disabling stops a jog; the next enable moves to the selection",
         8,
         [&](SimDrive& d) {
             enable(d, true);
             d.MoveVelocity(100);
             steps(d, 1);
             enable(d, false);
             EXPECT_FALSE(d.Jogging());
             EXPECT_TRUE(d.MotionPending());
             enable(d, true);
             steps(d, 1);
         },
         {"Jog stopped at 10: the drive was disabled"},
         "at 0"},
        {"disabling at the hard stop aborts the homing",
         8,
         [&](SimDrive& d) {
             enable(d, true);
             command(d, fieldkey::StartHoming);
             steps(d, toStop);
             enable(d, false);
             command(d, fieldkey::SetHardStopped);
             steps(d, 1);
         },
         {"Homing started: the drive runs to the hard stop",
          "Homing waits at the hard stop (-190): \"Set Home Posn\" takes it as home",
          "Homing aborted at -190: the drive was disabled; not homed",
          "\"Set Hard Stopped\" ignored: no homing runs"},
         "at -190 aborted"},
        {"mode 18 homes on its sensor by itself",
         18,
         [&](SimDrive& d) {
             enable(d, true);
             command(d, fieldkey::StartHoming);
             steps(d, toStop);
             command(d, fieldkey::AbortHoming);  // too late: nothing to abort
         },
         {"Homing started", "Homed at 0"},
         "at 0 homed"},
    };
    for (const Row& row : rows) {
        SimDrive drive;  // positions 0, 1000, 2000, 3000, homing toward negative
        drive.Force(sp::MotionSetup, SimFieldSet(sp::MotionSetup, fieldkey::OperationalMode,
                                                 Value::WordOf(drive.Read(sp::MotionSetup)),
                                                 static_cast<uint32_t>(row.mode)));
        std::vector<std::string> said;
        const Connection listen =
            drive.Reported.connect([&](const std::string& s) { said.push_back(s); });
        row.act(drive);
        EXPECT_EQ(said, row.said) << row.rule;
        EXPECT_EQ(state(drive), row.ends) << row.rule;
    }
}

}  // namespace
}  // namespace arn
