#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Event.h"
#include "host/controls/ArnFieldLED.h"
#include "inputs/jogAndSwInputs.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"

namespace arn::test {

// A bound-to-be panel on a fresh simulated net and node, with ears on everything a failure
// can reach: the trace texts (without their time columns), and what the net's timer delivery
// caught from a listener. Each fault of a sweep runs on a rig of its own.
class SweepRig {
  public:
    explicit SweepRig(SimNodeOptions options = {});
    SweepRig(const SweepRig&) = delete;
    SweepRig& operator=(const SweepRig&) = delete;

    void Attach();
    // One period of the net: the node's step, then TimerTick to every listener.
    void Tick();
    // TimerTick alone, delivered to every listener as the net does; what a listener lets
    // escape is kept in NetReports, not thrown.
    void RaiseTimerTick();

    // The node's value contents, to find afterwards which values an operation changed.
    void RememberContents();
    // Delivers again the change events of every value whose content differs from the one
    // remembered (ContentChanged, ValueChanged, then UpdateView of each changed field), then
    // hands the drive's other changes over: what a node library that redelivers a change
    // whose listener failed does.
    void Redeliver();

    PanelControls& ctl() { return panel->NamedControls(); }
    jogAndSwInputs& io() { return *panel->InputsObject(); }
    FaultPlan& Faults() { return net->Faults(); }

    std::shared_ptr<SimNet> net;
    std::shared_ptr<SimNode> node;
    std::shared_ptr<ArnAbsPosnCtl> panel;
    // An accumulated-status LED beside the panel's own, for the LED setup.
    std::shared_ptr<ArnFieldLED> accLed;

    std::vector<std::string> traces;
    std::vector<std::string> netReports;
    // What listeners of a redelivered change let escape.
    std::vector<std::string> redeliveryErrors;
    // Errors of another type than ArnError that a timer listener let escape.
    std::vector<std::string> foreignErrors;

  private:
    Connection m_traceListener;
    std::map<int32_t, double> m_remembered;
};

}  // namespace arn::test
