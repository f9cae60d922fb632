#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "faults/SweepRig.h"

namespace arn::test {

// Where the error of one failed outside call ended up.
enum class Fate {
    ToCaller,     // it reached the scenario's caller as ArnError
    Traced,       // a trap of the panel traced it and the operation went on or ended
    NetReported,  // a timer listener without a trap let it escape to the net's delivery
    Absorbed,     // a quiet trap (or a step that ignores the failure) swallowed it
};

// One operation of the panel, its inputs object or the node's change events, swept by making
// each of its outside calls fail in turn.
struct Scenario {
    explicit Scenario(std::string n) : name(std::move(n)) {}
    Scenario& Trapped() {
        trapped = true;
        return *this;
    }
    Scenario& Tick() {
        tick = true;
        return *this;
    }
    Scenario& MustTrace(std::string routine) {
        mustTrace = std::move(routine);
        return *this;
    }
    Scenario& Quiet() {
        quiet = true;
        return *this;
    }
    Scenario& Setup(std::function<void(SweepRig&)> f) {
        setup = std::move(f);
        return *this;
    }
    Scenario& Action(std::function<void(SweepRig&)> f) {
        action = std::move(f);
        return *this;
    }
    Scenario& Unfinished(std::vector<std::string> keys) {
        unfinished = std::move(keys);
        return *this;
    }
    Scenario& Repeat(std::function<void(SweepRig&)> f) {
        repeat = std::move(f);
        return *this;
    }

    std::string name;
    // The operation runs under a trap: nothing may reach the caller.
    bool trapped = false;
    // The operation is a timer tick: the next tick alone must bring the panel to the state
    // of a fault-free run. Otherwise the remedy is the operation repeated without faults,
    // then a tick, and the fault-free reference repeats it too.
    bool tick = false;
    // Every failure must be traced by the panel's trap with this routine name
    // ("UIuserControl_AttachControl", ...); empty: any trap of the panel may trace it.
    std::string mustTrace;
    // No failure may be traced at all (a quiet trap).
    bool quiet = false;
    std::function<void(SweepRig&)> setup;
    std::function<void(SweepRig&)> action;
    // The remedy of a non-tick scenario; the action itself when empty.
    std::function<void(SweepRig&)> repeat;
    // Snapshot entries that an operation whose error reached its caller may leave as they
    // were before it, since the rest of such an operation stays undone and repeating
    // it does not redo them (a control already changed fires no click again).
    std::vector<std::string> unfinished;
    SimNodeOptions node;
};

// The figures of a sweep.
struct SweepFigures {
    int scenarios = 0;
    int64_t faults = 0;
    int64_t checks = 0;
    int64_t failedChecks = 0;
    int64_t fates[4] = {0, 0, 0, 0};
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
