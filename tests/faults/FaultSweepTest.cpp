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

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "fakes/RegistryTestSupport.h"
#include "fakes/TraceReset.h"
#include "faults/FaultSweep.h"
#include "host/NodeParams.h"
#include "support/DebuggingFlags.h"

namespace arn::test {
namespace {

// Attached, bound, enabled and settled (the simulated drive starts in the four-position mode).
void Bound(SweepRig& r) {
    r.Attach();
    r.Tick();
    r.Tick();
    r.panel->put_Enabled(true);
    r.Tick();
}

// The override check boxes drive the inputs.
void Software(SweepRig& r) {
    r.ctl().inputOptChk->put_Value(1);
    r.Tick();
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
    std::printf("%s\n", group);
    for (const auto& s : scenarios) {
        RunSweep(s, figures);
    }
    CloseLogFile();
    std::ifstream log(logPath);
    int64_t logged = 0;
    for (std::string line; std::getline(log, line);) {
        logged += line.find(" err=Simulated failure of call ") != std::string::npos ? 1 : 0;
    }
    ++figures.checks;
    EXPECT_EQ(logged, figures.trapLines) << "trap lines missing from the log";
    ResetTraceState();
    std::printf(
        "%s: %d scenarios, %lld faults injected, %lld checks made, %lld failed; "
        "fates: %lld to the caller, %lld traced, %lld to the net, %lld absorbed\n",
        group, figures.scenarios, static_cast<long long>(figures.faults),
        static_cast<long long>(figures.checks), static_cast<long long>(figures.failedChecks),
        static_cast<long long>(figures.fates[0]), static_cast<long long>(figures.fates[1]),
        static_cast<long long>(figures.fates[2]), static_cast<long long>(figures.fates[3]));
    EXPECT_GT(figures.faults, 0);
}

TEST(FaultSweep, AttachAndTicks) {
    std::vector<Scenario> s;
    s.push_back(Scenario("attach")
                    .Trapped()
                    .MustTrace("UIuserControl_AttachControl")
                    .Action([](SweepRig& r) { r.Attach(); }));
    s.push_back(Scenario("first tick (binding)")
                    .Trapped()
                    .Setup([](SweepRig& r) { r.Attach(); })
                    .Action([](SweepRig& r) { r.RaiseTimerTick(); })
                    .Repeat([](SweepRig& r) { r.Attach(); }));
    s.push_back(Scenario("idle tick").Trapped().Tick().Setup(Bound).Action([](SweepRig& r) {
        r.RaiseTimerTick();
    }));
    s.push_back(Scenario("tick, every flag (two positions, drive inputs)")
                    .Trapped()
                    .Tick()
                    .Setup([](SweepRig& r) {
                        Mode(r, 2);
                        Bound(r);
                        r.node->ForceParam(param::Position1, 3000);
                        r.node->ForceParam(param::MaxTravel, 1000);
                        r.node->ForceParam(param::MeasuredPosition, 40);
                        StartHoming(r);
                        r.node->PulseTrigger();
                        r.node->SetPin(SimPin::Enable, true);
                    })
                    .Action([](SweepRig& r) { r.RaiseTimerTick(); }));
    s.push_back(Scenario("tick, every flag (hard-stop mode, overrides)")
                    .Trapped()
                    .Tick()
                    .Setup([](SweepRig& r) {
                        Mode(r, opmode::HomeToHardStop);
                        Bound(r);
                        Software(r);
                        r.node->ForceField(param::MotionSetup, fieldkey::HomeSensorPolarity, 1);
                        r.node->ForceParam(param::Position1, 500);
                        r.node->ForceParam(param::MeasuredPosition, 40);
                        StartHoming(r);
                        r.node->SetPin(SimPin::InputA, true);
                    })
                    .Action([](SweepRig& r) { r.RaiseTimerTick(); }));
    s.push_back(Scenario("tick, every flag (four positions)")
                    .Trapped()
                    .Tick()
                    .Setup([](SweepRig& r) {
                        Mode(r, opmode::FourPositions);
                        Bound(r);
                        r.node->ForceParam(param::Position1 + 2, 2000);
                        r.node->ForceParam(param::MaxTravel, 1000);
                        StartHoming(r);
                        r.node->SetPin(SimPin::InputB, true);
                        r.node->PulseTrigger();
                    })
                    .Action([](SweepRig& r) { r.RaiseTimerTick(); }));
    SweepGroup("AttachAndTicks", s);
}

TEST(FaultSweep, ClickHandlers) {
    std::vector<Scenario> s;
    s.push_back(Scenario("teachingCheck click")
                    .Setup(Bound)
                    .Action([](SweepRig& r) { r.ctl().teachingCheck->put_Value(1); })
                    .Repeat([](SweepRig& r) { r.ctl().teachingCheck->Click(); }));
    s.push_back(Scenario("teachingCmd and sub-panel requests").Setup(Bound).Action([](SweepRig& r) {
        r.ctl().teachingCmd->Click();
        r.ctl().HomingCtl->SetupRequested();
        r.ctl().TrqLimitSetupCtl->SetupRequested();
        r.ctl().JerkPanelCtl->SetupRequested();
    }));
    s.push_back(Scenario("hardStopCmd click")
                    .Trapped()
                    .Quiet()
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        StartHoming(r);
                        r.Tick();
                    })
                    .Action([](SweepRig& r) { r.ctl().hardStopCmd->Click(); }));
    for (int16_t i = 0; i < 3; ++i) {
        s.push_back(Scenario("inCheck(" + std::to_string(i) + ") click")
                        .Setup([](SweepRig& r) {
                            Bound(r);
                            Software(r);
                        })
                        .Action([i](SweepRig& r) { r.ctl().inCheck(i).put_CheckValue(true); })
                        .Repeat([i](SweepRig& r) { r.ctl().inCheck(i).Click(1); }));
    }
    s.push_back(Scenario("inputOptChk click (to overrides)")
                    .Setup(Bound)
                    .Action([](SweepRig& r) { r.ctl().inputOptChk->put_Value(1); })
                    .Repeat([](SweepRig& r) { r.ctl().inputOptChk->Click(); }));
    s.push_back(Scenario("inputOptChk click (to drive, Enable override on)")
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        Software(r);
                        r.ctl().inCheck(0).put_CheckValue(true);
                        r.Tick();
                    })
                    .Action([](SweepRig& r) { r.ctl().inputOptChk->put_Value(0); })
                    .Repeat([](SweepRig& r) { r.ctl().inputOptChk->Click(); })
                    // Once the inputs went back to the drive the Enable override reads 0,
                    // so a repeated click no longer notes that it was cleared.
                    .Unfinished({"panel.overrideCleared"}));
    SweepGroup("ClickHandlers", s);
}

// A change of the drive reaches the panel's handler through the node's change events.
Scenario Change(std::string name, std::function<void(SweepRig&)> setup,
                std::function<void(SweepRig&)> change) {
    return Scenario(std::move(name))
        .Setup(std::move(setup))
        .Action(std::move(change))
        .Repeat([](SweepRig&) {});
}

TEST(FaultSweep, ChangeHandlers) {
    auto software = [](SweepRig& r) {
        Bound(r);
        Software(r);
    };
    auto four = [](SweepRig& r) {
        Mode(r, opmode::FourPositions);
        Bound(r);
    };
    std::vector<Scenario> s;
    s.push_back(Change(
        "Configuration Source",
        [](SweepRig& r) {
            Bound(r);
            r.panel->put_DisplayMsg("message");
        },
        [](SweepRig& r) {
            r.node->ForceField(param::Configuration, fieldkey::ConfigurationSource, 1);
        }));
    s.push_back(Change("Enable Request OR Override", software, [](SweepRig& r) {
        r.node->ForceField(param::InputStimulus, fieldkey::EnableRequestOverride, 1);
    }));
    s.push_back(Change("Input-A OR Override", software, [](SweepRig& r) {
        r.node->ForceField(param::InputStimulus, fieldkey::InputAOverride, 1);
    }));
    s.push_back(Change("Input-B OR Override", software, [](SweepRig& r) {
        r.node->ForceField(param::InputStimulus, fieldkey::InputBOverride, 1);
    }));
    s.push_back(Change("stimulus back to the drive", software, [](SweepRig& r) {
        r.node->ForceParam(param::InputStimulus, StimulusFollowsPins);
    }));
    s.push_back(Change("Enable Req (drive pin)", Bound,
                       [](SweepRig& r) { r.node->SetPin(SimPin::Enable, true); }));
    s.push_back(Change("Enable Req (pin, overrides)", software,
                       [](SweepRig& r) { r.node->SetPin(SimPin::Enable, true); }));
    s.push_back(
        Change("Input A", Bound, [](SweepRig& r) { r.node->SetPin(SimPin::InputA, true); }));
    s.push_back(Change("Input B", four, [](SweepRig& r) { r.node->SetPin(SimPin::InputB, true); }));
    s.push_back(Change("Operational Mode", Bound, [](SweepRig& r) { Mode(r, 2); }));
    s.push_back(Change("Homing Direction", Bound, [](SweepRig& r) {
        r.node->ForceField(param::MotionSetup, fieldkey::HomingDirection, 1);
    }));
    s.push_back(Change("Axis Type", Bound, [](SweepRig& r) {
        r.node->ForceField(param::MotionSetup, fieldkey::AxisType, 1);
    }));
    s.push_back(Change("Homing Ex", four, [](SweepRig& r) {
        r.node->ForceField(param::TeachingSetup, fieldkey::HomingEx, 1);
    }));
    // The box already follows the field, so a redelivery fires no second click and the
    // teaching warning that the failed click did not update stays as it was.
    s.push_back(Change("Teach Absolute Positions", Bound, [](SweepRig& r) {
                    r.node->ForceField(param::TeachingSetup, fieldkey::TeachAbsolutePositions, 1);
                }).Unfinished({"warnTriangle(14).Visible"}));
    s.push_back(Change("Homing Complete", Bound, [](SweepRig& r) {
        r.node->Drive().SetHomed(true);
        r.node->Sync();
    }));
    s.push_back(Change("Homing", Bound, StartHoming));
    s.push_back(Change("maximum travel", Bound,
                       [](SweepRig& r) { r.node->ForceParam(param::MaxTravel, 100); }));
    s.push_back(Change("measured position", Bound,
                       [](SweepRig& r) { r.node->ForceParam(param::MeasuredPosition, 1000); }));
    for (int32_t i = 0; i < 4; ++i) {
        s.push_back(Change("position " + std::to_string(i + 1),
                           i < 2 ? std::function<void(SweepRig&)>(Bound) : four,
                           [i](SweepRig& r) { r.node->ForceParam(param::Position1 + i, -700); }));
    }
    s.push_back(
        Change("units", Bound, [](SweepRig& r) { r.node->ForceParam(param::UnitsSelect, 2); }));
    s.push_back(Change("trigger", Bound, [](SweepRig& r) { r.node->PulseTrigger(); }));
    SweepGroup("ChangeHandlers", s);
}

TEST(FaultSweep, InputsObject) {
    auto software = [](SweepRig& r) {
        Bound(r);
        Software(r);
    };
    std::vector<Scenario> s;
    s.push_back(Scenario("ExternalInputs get").Setup(Bound).Action([](SweepRig& r) {
        (void)r.io().get_ExternalInputs();
    }));
    s.push_back(Scenario("ExternalInputs := False")
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        r.node->SetPin(SimPin::InputA, true);
                        r.Tick();
                    })
                    .Action([](SweepRig& r) { r.io().put_ExternalInputs(false); }));
    s.push_back(Scenario("ExternalInputs := False, refused")
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        r.node->SetPin(SimPin::Enable, true);
                        r.Tick();
                    })
                    .Action([](SweepRig& r) { r.io().put_ExternalInputs(false); }));
    s.push_back(Scenario("ExternalInputs := True").Setup(software).Action([](SweepRig& r) {
        r.io().put_ExternalInputs(true);
    }));
    s.push_back(Scenario("EnableReq := True").Setup(software).Action([](SweepRig& r) {
        r.io().put_EnableReq(true);
    }));
    s.push_back(Scenario("EnableReq get")
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        Software(r);
                        r.io().put_EnableReq(true);
                    })
                    .Action([](SweepRig& r) { (void)r.io().get_EnableReq(); }));
    s.push_back(Scenario("NodeRef := the node again").Setup(software).Action([](SweepRig& r) {
        r.io().putref_NodeRef(r.node);
    }));
    s.push_back(Scenario("NodeRef := Nothing")
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        Software(r);
                        r.io().put_EnableReq(true);
                    })
                    .Action([](SweepRig& r) { r.io().putref_NodeRef(nullptr); }));
    s.push_back(Scenario("inputs tick (pin under overrides, trigger held)")
                    .Tick()
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        Software(r);
                        r.node->PulseTrigger();
                        r.node->Step();
                        r.node->SetPin(SimPin::Enable, true);
                    })
                    .Action([](SweepRig& r) { r.io().m_zkAppEvts_TimerTick(); }));
    SweepGroup("InputsObject", s);
}

TEST(FaultSweep, LedsEnabledAndRelease) {
    auto leds = [](SweepRig& r) {
        for (int16_t i = 0; i < 3; ++i) {
            r.io().SetupHwLED(r.ctl().fldStatusLED(i));
            r.io().SetupSwLED(r.ctl().swLED(i));
        }
        r.io().SetupHwLED(*r.accLed, true);
    };
    std::vector<Scenario> s;
    s.push_back(Scenario("LED setup (drive inputs)").Setup(Bound).Action(leds));
    s.push_back(Scenario("LED setup (overrides)")
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        Software(r);
                    })
                    .Action(leds));
    s.push_back(Scenario("Enabled := False")
                    .Trapped()
                    .MustTrace("UpdateFocus")
                    .Setup(Bound)
                    .Action([](SweepRig& r) { r.panel->put_Enabled(false); }));
    s.push_back(Scenario("Enabled := True (overrides)")
                    .Trapped()
                    .MustTrace("UpdateFocus")
                    .Setup([](SweepRig& r) {
                        Bound(r);
                        Software(r);
                        r.panel->put_Enabled(false);
                    })
                    .Action([](SweepRig& r) { r.panel->put_Enabled(true); }));
    s.push_back(Scenario("release").Setup(Bound).Action(
        [](SweepRig& r) { r.panel->get_UIref()->ReleaseControl(); }));
    SweepGroup("LedsEnabledAndRelease", s);
}

}  // namespace
}  // namespace arn::test
