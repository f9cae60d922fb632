// Every outside call of each operation made to fail in turn, on the simulated drive.
//
// Rules for the comparison with the fault-free run (see FaultSweep.h for the checks):
// - A tick must recover by itself: the next tick without faults reaches the fault-free state,
//   since a tick that fails keeps the flags of the work it did not do.
// - Any other operation has no such promise: where its error reaches the caller, or a trap
//   ends or skips part of it (binding, the input controls, the attach), what it did not do
//   stays undone. Its remedy is the operation repeated without faults and the changes it
//   made to the node redelivered (as a node library does for a listener that failed), then
//   a tick; the fault-free reference does the same. A change of the drive is repeated by the
//   redelivery alone.
// - Where the error reaches the caller, entries that the operation leaves undone and a repeat does
//   not redo (a check box already set fires no second click) may stay as they were before.
// - Work that a failed tick left flagged is served by the next tick; work that this flags in
//   turn, by the one after, so the work flags are compared a tick later.
// - UpdateFocus goes on past a failing control, which keeps the state the failure left it in
//   until UpdateFocus runs again, and a quiet trap (UpdateInputControls) ends before its
//   UpdateFocus: after a traced UpdateFocus or a swallowed failure the remedy starts with the
//   host's next Enabled call.
// - A failing read of the in-position window is the motion check's own case: the indicator
//   shows the general caution text instead.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "fakes/RegistryTestSupport.h"
#include "fakes/TraceReset.h"
#include "faults/FaultSweep.h"
#include "support/DebuggingFlags.h"

namespace arn::test {
namespace {

// Attached, bound, enabled and settled (the simulated drive starts in the four-position mode).
const Step Bound = &SweepRig::Bind;
const Step Raise = &SweepRig::RaiseTimerTick;
void Software(SweepRig& r) {
    r.Bind();
    r.Software();
}
void Mode(SweepRig& r, int32_t mode) {
    r.node->ForceField(param::MotionSetup, fieldkey::OperationalMode, static_cast<uint32_t>(mode));
}
void StartHoming(SweepRig& r) {
    r.node->Drive().StartHoming();
    r.node->Sync();
}

// Runs a group of scenarios with the trace going to a log file as well, then checks that
// every trap line reached the log whole.
void SweepGroup(const char* group, const std::vector<Scenario>& scenarios) {
    ResetTraceState();
    // A folder of its own: test programs running side by side must not share the log.
    const test::TempDir folder;
    const std::string logPath = (folder / (std::string("FaultSweep") + group + ".log")).string();
    OpenLogFile(logPath);
    SweepFigures figures;
    for (const auto& s : scenarios) {
        RunSweep(s, figures);
    }
    CloseLogFile();
    std::ifstream log(logPath);
    int64_t logged = 0;
    for (std::string line; std::getline(log, line);) {
        logged += line.find(" err=Simulated failure of call ") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(logged, figures.trapLines) << "trap lines missing from the log";
    ResetTraceState();
    EXPECT_GT(figures.faults, 0);
}

TEST(FaultSweep, AttachAndTicks) {
    SweepGroup(
        "AttachAndTicks",
        {{"attach", kTrapped, nullptr, &SweepRig::Attach, nullptr, "UIuserControl_AttachControl"},
         {"first tick (binding)", kTrapped, &SweepRig::Attach, Raise, &SweepRig::Attach},
         {"idle tick", kTrapped | kTick, Bound, Raise},
         {"tick, every flag (two positions, drive inputs)", kTrapped | kTick,
          [](SweepRig& r) {
              Mode(r, 2);
              r.Bind();
              r.node->ForceParam(param::Position1, 3000);
              r.node->ForceParam(param::MaxTravel, 1000);
              r.node->ForceParam(param::MeasuredPosition, 40);
              StartHoming(r);
              r.node->PulseTrigger();
              r.node->SetPin(SimPin::Enable, true);
          },
          Raise},
         {"tick, every flag (hard-stop mode, overrides)", kTrapped | kTick,
          [](SweepRig& r) {
              Mode(r, opmode::HomeToHardStop);
              Software(r);
              r.node->ForceField(param::MotionSetup, fieldkey::HomeSensorPolarity, 1);
              r.node->ForceParam(param::Position1, 500);
              r.node->ForceParam(param::MeasuredPosition, 40);
              StartHoming(r);
              r.node->SetPin(SimPin::InputA, true);
          },
          Raise},
         {"tick, every flag (four positions)", kTrapped | kTick,
          [](SweepRig& r) {
              r.Bind();
              r.node->ForceParam(param::Position1 + 2, 2000);
              r.node->ForceParam(param::MaxTravel, 1000);
              StartHoming(r);
              r.node->SetPin(SimPin::InputB, true);
              r.node->PulseTrigger();
          },
          Raise}});
}

TEST(FaultSweep, ClickHandlers) {
    std::vector<Scenario> s = {
        {"teachingCheck click", 0, Bound, [](SweepRig& r) { r.ctl().teachingCheck->put_Value(1); },
         [](SweepRig& r) { r.ctl().teachingCheck->Click(); }},
        {"hardStopCmd click", kTrapped | kQuiet,
         [](SweepRig& r) {
             r.Bind();
             StartHoming(r);
             r.net->Tick();
         },
         [](SweepRig& r) { r.ctl().hardStopCmd->Click(); }},
        {"inputOptChk click (to overrides)", 0, Bound,
         [](SweepRig& r) { r.ctl().inputOptChk->put_Value(1); },
         [](SweepRig& r) { r.ctl().inputOptChk->Click(); }},
        // Once the inputs went back to the drive the Enable override reads 0, so a repeated
        // click no longer notes that it was cleared.
        {"inputOptChk click (to drive, Enable override on)",
         0,
         [](SweepRig& r) {
             Software(r);
             r.ctl().inCheck(0).put_CheckValue(true);
             r.net->Tick();
         },
         [](SweepRig& r) { r.ctl().inputOptChk->put_Value(0); },
         [](SweepRig& r) { r.ctl().inputOptChk->Click(); },
         "",
         {"panel.overrideCleared"}}};
    for (int16_t i = 0; i < 3; ++i) {
        s.push_back({"inCheck(" + std::to_string(i) + ") click", 0, Software,
                     [i](SweepRig& r) { r.ctl().inCheck(i).put_CheckValue(true); },
                     [i](SweepRig& r) { r.ctl().inCheck(i).Click(1); }});
    }
    SweepGroup("ClickHandlers", s);
}

// A change of the drive reaches the panel's handler through the node's change events, and is
// repeated by the redelivery alone. Changes whose handlers only flag work for the tick (the
// position checks, homing, the pins' selection) make no outside call and are the ticks' sweep.
Scenario Change(std::string name, Step setup, Step change) {
    return {std::move(name), 0, std::move(setup), std::move(change), [](SweepRig&) {}};
}
Step Field(int32_t param, const char* key) {
    return [=](SweepRig& r) { r.node->ForceField(param, key, 1); };
}
Step Pin(SimPin pin) {
    return [=](SweepRig& r) { r.node->SetPin(pin, true); };
}

TEST(FaultSweep, ChangeHandlers) {
    std::vector<Scenario> s = {
        Change("Enable Request OR Override", Software,
               Field(param::InputStimulus, fieldkey::EnableRequestOverride)),
        Change("Input-A OR Override", Software,
               Field(param::InputStimulus, fieldkey::InputAOverride)),
        Change("Input-B OR Override", Software,
               Field(param::InputStimulus, fieldkey::InputBOverride)),
        Change("stimulus back to the drive", Software,
               [](SweepRig& r) { r.node->ForceParam(param::InputStimulus, StimulusFollowsPins); }),
        Change("Enable Req (drive pin)", Bound, Pin(SimPin::Enable)),
        Change("Enable Req (pin, overrides)", Software, Pin(SimPin::Enable)),
        Change("Operational Mode", Bound, [](SweepRig& r) { Mode(r, 2); }),
        Change("Homing Complete", Bound,
               [](SweepRig& r) {
                   r.node->Drive().SetHomed(true);
                   r.node->Sync();
               }),
        Change("units", Bound, [](SweepRig& r) { r.node->ForceParam(param::UnitsSelect, 2); }),
        Change("trigger", Bound, [](SweepRig& r) { r.node->PulseTrigger(); })};
    // The box already follows the field, so a redelivery fires no second click and the
    // teaching warning that the failed click did not update stays as it was.
    s.push_back(Change("Teach Absolute Positions", Bound,
                       Field(param::TeachingSetup, fieldkey::TeachAbsolutePositions)));
    s.back().unfinished = {"warnTriangle(14).Visible"};
    SweepGroup("ChangeHandlers", s);
}

TEST(FaultSweep, InputsObject) {
    auto refuse = [](SweepRig& r) { r.io().put_ExternalInputs(false); };
    SweepGroup("InputsObject",
               {{"ExternalInputs := False", 0,
                 [](SweepRig& r) {
                     r.Bind();
                     r.node->SetPin(SimPin::InputA, true);
                     r.net->Tick();
                 },
                 refuse},
                {"ExternalInputs := False, refused", 0,
                 [](SweepRig& r) {
                     r.Bind();
                     r.node->SetPin(SimPin::Enable, true);
                     r.net->Tick();
                 },
                 refuse},
                {"ExternalInputs := True", 0, Software,
                 [](SweepRig& r) { r.io().put_ExternalInputs(true); }},
                {"EnableReq := True", 0, Software, [](SweepRig& r) { r.io().put_EnableReq(true); }},
                {"NodeRef := the node again", 0, Software,
                 [](SweepRig& r) { r.io().putref_NodeRef(r.node); }},
                {"NodeRef := Nothing", 0,
                 [](SweepRig& r) {
                     Software(r);
                     r.io().put_EnableReq(true);
                 },
                 [](SweepRig& r) { r.io().putref_NodeRef(nullptr); }},
                {"inputs tick (pin under overrides, trigger held)", kTick,
                 [](SweepRig& r) {
                     Software(r);
                     r.node->PulseTrigger();
                     r.node->Step();
                     r.node->SetPin(SimPin::Enable, true);
                 },
                 [](SweepRig& r) { r.io().m_zkAppEvts_TimerTick(); }}});
}

TEST(FaultSweep, LedsAndEnabled) {
    auto leds = [](SweepRig& r) {
        for (int16_t i = 0; i < 3; ++i) {
            r.io().SetupHwLED(r.ctl().fldStatusLED(i));
            r.io().SetupSwLED(r.ctl().swLED(i));
        }
        r.io().SetupHwLED(*r.accLed, true);
    };
    SweepGroup(
        "LedsAndEnabled",
        {{"LED setup (drive inputs)", 0, Bound, leds},
         {"LED setup (overrides)", 0, Software, leds},
         {"Enabled := False", kTrapped, Bound, [](SweepRig& r) { r.panel->put_Enabled(false); },
          nullptr, "UpdateFocus"},
         {"Enabled := True (overrides)", kTrapped,
          [](SweepRig& r) {
              Software(r);
              r.panel->put_Enabled(false);
          },
          [](SweepRig& r) { r.panel->put_Enabled(true); }, nullptr, "UpdateFocus"},
         {"release", 0, Bound, [](SweepRig& r) { r.panel->get_UIref()->ReleaseControl(); }}});
}

}  // namespace
}  // namespace arn::test
