#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "fakes/AllocationCounter.h"
#include "panel/PanelFixture.h"

namespace arn {
namespace {

constexpr int64_t kTicks = 200'000;
constexpr int64_t kWarmUpTicks = 1'000;
// Blocks that may come and go between the two counts without being growth: buffers that were
// last grown by a longer text than they hold at either count.
constexpr int64_t kAllocationSlack = 16;

constexpr const char* k18518 =
    "Location of this position is in the same direction as homing, but the axis is not set as "
    "having infinite rotation.";
constexpr const char* k18519 =
    "This location is outside the maximum travel distance specified in the Homing Setup window.";
constexpr const char* k18520 =
    "Location of this position is beyond the hard-stop, based on the homing direction specified "
    "in the Homing Setup window.";

// A bound panel on the simulated drive, worked by a seeded generator: pins, operational mode,
// positions, maximum travel, homing direction and axis type, homing and the hard stop, the
// position window, the override switch and boxes, and the enabled state. The test keeps the
// drive-side settings it made, so that it can say what the panel must show.
class PanelSoak : public test::PanelRig {
  public:
    PanelSoak() {
        node->ForceField(171, "Operational Mode", static_cast<uint32_t>(mode));
        node->ForceField(171, "Homing Direction", 0);
        node->ForceField(171, "Axis Type", 0);
        node->ForceField(436, "Homing Ex", 0);
        node->ForceParam(343, maxTravel);
        for (int i = 0; i < 4; ++i) {
            node->ForceParam(247 + i, positions[i]);
        }
        AttachAndBind();
        panel->put_Enabled(true);
    }

    // One random change (most steps change nothing), then one tick of the net.
    void Step() {
        trace.Clear();  // the lines the panel traces must not count as growth
        const int op = static_cast<int>(rng() % 100);
        auto& ctl = panel->NamedControls();
        if (op < 5) {
            node->SetPin(rng() % 2 == 0 ? SimPin::InputA : SimPin::InputB, rng() % 2 == 0);
        } else if (op < 7) {
            node->SetPin(SimPin::Enable, rng() % 10 < 3);
        } else if (op < 9) {
            constexpr int32_t kModes[] = {2, 8, 18, 0};
            mode = kModes[rng() % 4];
            node->ForceField(171, "Operational Mode", static_cast<uint32_t>(mode));
        } else if (op < 15) {
            const int i = static_cast<int>(rng() % 4);
            // Whole and half units, so that travel ties and zero occur.
            positions[i] = static_cast<double>(static_cast<int>(rng() % 8001) - 4000) / 2.0;
            node->ForceParam(247 + i, positions[i]);
        } else if (op < 16) {
            constexpr double kTravel[] = {0.0, 500.0, 1000.0, 1500.0};
            maxTravel = kTravel[rng() % 4];
            node->ForceParam(343, maxTravel);
        } else if (op < 17) {
            homingDir = 1 - homingDir;
            node->ForceField(171, "Homing Direction", static_cast<uint32_t>(homingDir));
        } else if (op < 18) {
            axis = 1 - axis;
            node->ForceField(171, "Axis Type", static_cast<uint32_t>(axis));
        } else if (op < 20) {
            if (!node->Drive().Homing()) {
                node->Drive().StartHoming();
            }
        } else if (op < 21) {
            ctl.hardStopCmd->UserClick();
        } else if (op < 22) {
            constexpr double kWindow[] = {0.0, 20.0, 200.0, 400.0, 800.0};
            node->ForceParam(267, kWindow[rng() % 5]);
        } else if (op < 26) {
            ctl.inputOptChk->UserClick();
        } else if (op < 32) {
            ctl.inCheck(static_cast<int16_t>(rng() % 3)).UserClick();
        } else if (op < 33) {
            panel->put_Enabled(rng() % 4 != 0);
        }
        if (panel->IsBusy()) {
            violation = "m_busy set after a change";
            return;
        }
        net->Tick();
    }

    // What the panel shows against what the drive and the steps say; empty when they agree.
    std::string Check() {
        if (!violation.empty()) {
            return violation;
        }
        if (panel->IsBusy()) {
            return "m_busy set between ticks";
        }
        const SimDrive& drive = node->Drive();
        const bool ext = panel->InputsObject()->get_ExternalInputs();
        if (ext != (drive.Read(265) == 65535.0) || ext != drive.FollowsPins()) {
            return "ExternalInputs differs from register 265";
        }
        auto& ctl = panel->NamedControls();
        // (The frame of the boxes is not compared: UpdateFocus gives it the panel's state.)
        if (ctl.inputOptChk->get_Value() != (ext ? 0 : 1)) {
            return "the override switch does not show ExternalInputs";
        }
        // A hardware Enable under software control hands the inputs back on the next tick.
        ticksEnabledUnderSoftware =
            drive.Pin(SimPin::Enable) && !ext ? ticksEnabledUnderSoftware + 1 : 0;
        if (ticksEnabledUnderSoftware > 1) {
            return "software control kept while the hardware Enable is set";
        }

        const bool applies = (mode == 18 && axis == 0) || (mode == 8);
        bool anyWarning = false;
        for (int i = 0; i < panel->NumPosns(); ++i) {
            const double p = positions[i];
            const bool direction = (homingDir == 1 && p < 0) || (homingDir == 0 && p > 0);
            const bool travel = maxTravel != 0 && std::fabs(p) > maxTravel;
            const bool visible = applies && (direction || travel);
            const char* tip = !visible ? "" : direction ? (mode == 18 ? k18518 : k18520) : k18519;
            const Image& icon = ctl.warnTriangle(static_cast<int16_t>(i));
            if (icon.get_Visible() != visible || icon.get_ToolTipText() != tip) {
                return "position warning " + std::to_string(i) + " not as the checks say";
            }
            anyWarning = anyWarning || visible;
        }
        seen[0] += ext ? 0 : 1;
        seen[1] += anyWarning ? 1 : 0;
        seen[2] += ctl.motionTriangle->get_Visible() ? 1 : 0;
        seen[3] += drive.Homing() ? 1 : 0;
        if (panel->IsBadPosn() != anyWarning) {
            return "m_badPosn differs from the warnings shown";
        }
        if (ctl.motionTriangle->get_Visible() == ctl.motionTriangle->get_ToolTipText().empty()) {
            return "caution icon shown without its message, or hidden with one";
        }

        const bool active = drive.Homing();
        if (panel->IsHomingActive() != active) {
            return "homing state differs from the drive";
        }
        if (mode == 18) {
            if (ctl.hardStopCmd->get_Visible() || ctl.HSwarnBox->get_Visible() ||
                (ctl.warnLbl->get_Visible() && !active)) {
                return "mode 18: hard stop shown, or Click to Stop without homing";
            }
        } else if (!ctl.hardStopCmd->get_Visible() || ctl.hardStopCmd->get_FontBold() != active ||
                   ctl.hardStopCmd->get_Enabled() != (panel->get_Enabled() && active) ||
                   ctl.HSwarnBox->get_Visible() != active || ctl.warnLbl->get_Visible()) {
            return "hard stop does not follow the homing state";
        }
        return {};
    }

    std::mt19937 rng{20261207};
    // Ticks that ended under software control, with a position warning, with the motion
    // caution and while homing, so that the run shows it reached each state.
    int64_t seen[4] = {};

  private:
    int32_t mode = 8;
    int homingDir = 0;
    int axis = 0;
    double maxTravel = 1000.0;
    double positions[4] = {-100.0, -200.0, -300.0, -400.0};
    int ticksEnabledUnderSoftware = 0;
    std::string violation;
};

TEST(PanelSoak, RandomChangesKeepEveryInvariantWithoutGrowth) {
    PanelSoak soak;
    ASSERT_EQ(soak.panel->NumPosns(), 4);
    ASSERT_EQ(soak.Check(), "");
    int64_t afterWarmUp = 0;
    for (int64_t tick = 1; tick <= kTicks; ++tick) {
        soak.Step();
        const std::string violation = soak.Check();
        if (!violation.empty()) {
            FAIL() << "tick " << tick << ": " << violation;
        }
        if (tick == kWarmUpTicks) {
            afterWarmUp = test::LiveAllocationCount();
        }
    }
    const int64_t atEnd = test::LiveAllocationCount();
    for (const int64_t ticks : soak.seen) {
        EXPECT_GT(ticks, kTicks / 100);
    }
    EXPECT_EQ(soak.net->ListenerFailures(), 0);
    EXPECT_LE(std::llabs(atEnd - afterWarmUp), kAllocationSlack)
        << afterWarmUp << " live allocations after warm-up";
}

}  // namespace
}  // namespace arn
