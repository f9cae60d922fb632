#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/NodeParams.h"
#include "host/controls/ArnFieldLED.h"
#include "panel/PanelFixture.h"

namespace arn::test {

// The panel rig with ears on what else a failure can reach: what the net's timer delivery
// caught from a listener. Each fault of a sweep runs on a rig of its own.
struct SweepRig : PanelRig {
    SweepRig() { accLed->put_fieldkey(fieldkey::TriggerDetected); }
    // TimerTick alone, delivered to every listener as the net does; what a listener lets
    // escape is kept in netReports (an ArnError) or foreignErrors (anything else), not thrown.
    void RaiseTimerTick();
    // The node's value contents, to find afterwards which values an operation changed.
    void RememberContents();
    // Delivers again the change events of every value whose content differs from the one
    // remembered (ContentChanged, ValueChanged, then UpdateView of each changed field), then
    // hands the drive's other changes over: what a node library that redelivers a change
    // whose listener failed does.
    void Redeliver();

    // An accumulated-status LED beside the panel's own, for the LED setup.
    std::shared_ptr<ArnFieldLED> accLed = std::make_shared<ArnFieldLED>("accLED");
    std::vector<std::string> netReports;
    std::vector<std::string> foreignErrors;
    std::map<int32_t, double> remembered;
};

using Step = std::function<void(SweepRig&)>;

// How an operation must take a failure.
enum SweepRule : int {
    // The operation runs under a trap: nothing may reach the caller.
    kTrapped = 1,
    // The operation is a timer tick: the next tick alone must bring the panel to the state of
    // a fault-free run. Otherwise the remedy is the operation repeated without faults, then a
    // tick, and the fault-free reference repeats it too.
    kTick = 2,
    // No failure may be traced at all (a quiet trap).
    kQuiet = 4,
};

// One operation of the panel, its inputs object or the node's change events, swept by making
// each of its outside calls fail in turn.
struct Scenario {
    std::string name;
    int rules;  // SweepRule bits
    Step setup, action;
    // The remedy of a non-tick scenario; the action itself when empty.
    Step repeat{};
    // Every failure must be traced by the panel's trap with this routine name
    // ("UIuserControl_AttachControl", ...); empty: any trap of the panel may trace it.
    std::string mustTrace{};
    // Snapshot entries that an operation whose error reached its caller may leave as they
    // were before it, since the rest of such an operation stays undone and repeating
    // it does not redo them (a control already changed fires no click again).
    std::vector<std::string> unfinished{};
};

// The figures of a sweep.
struct SweepFigures {
    int64_t faults = 0;
    int64_t trapLines = 0;  // trap lines traced, each of which must reach the log
};

// Runs the operation once without faults to count its outside calls N, then N times with
// call k failing (k = 1 .. N), each on a fresh rig, checking after each:
// - no error of another type than ArnError escapes anywhere, and none escapes a trapped
//   operation; an error that reaches the caller is the one injected;
// - the error's description is traced at most once, and only as a trap line of the panel
//   (".<routine> err=<description>") or reported by the net's delivery, never both;
// - the panel is not left busy;
// - after a trapped tick, a work flag that was set before and is now clear has its work
//   done exactly as in a fault-free tick;
// - after the remedy (the next tick; for other operations the operation repeated and its
//   changes redelivered, then a tick) the whole control tree, the inputs object and the node
//   equal the fault-free run's, the work flags apart; one tick later the flags too.
// The outcomes that the panel promises instead of a recovery are listed in FaultSweep.cpp.
void RunSweep(const Scenario& scenario, SweepFigures& figures);

}  // namespace arn::test
