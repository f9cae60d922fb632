#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/ArnError.h"
#include "core/Event.h"
#include "host/Net.h"
#include "sim/FaultPlan.h"
#include "sim/SimNode.h"

namespace arn {

struct SimNetOptions {
    // A net can be built without any of its objects: the getter then returns nullptr.
    bool withAppEvents = true;
    bool withDriveEvents = true;
    bool withNetSupervisor = true;
    bool withOptions = true;
    int32_t debugFlags = 0;
    // Shared with nodes made by CreateNode; a net without one makes its own.
    std::shared_ptr<FaultPlan> faults;
};

// A simulated net: its application events, drive events, supervisor and options, and the nodes
// on it. The host drives time through Tick.
//
// Operations that report to the fault plan: "Net.AppEvents", "Net.DriveEvents",
// "Net.NetSupervisor", "Net.Options", "Options.DebugFlags".
class SimNet : public Net {
  public:
    static std::shared_ptr<SimNet> Create(SimNetOptions options = {});

    std::shared_ptr<AppEvents> get_AppEvents() override;
    std::shared_ptr<DriveEvents> get_DriveEvents() override;
    std::shared_ptr<NetSupervisor> get_NetSupervisor() override;
    std::shared_ptr<NetOptions> get_Options() override;

    // A node on this net sharing the net's fault plan unless options name another.
    std::shared_ptr<SimNode> CreateNode(SimNodeOptions options = {});
    void AddNode(std::shared_ptr<SimNode> node);
    const std::vector<std::shared_ptr<SimNode>>& Nodes() const { return m_nodes; }

    // One period: every node takes a drive step (its value objects raise their events), then
    // TimerTick is raised. Ticks() counts the calls.
    //
    // Like a real host's event source, a tick reaches every listener: an error that one
    // TimerTick subscriber (or a change handler during a node's step) lets escape does not stop
    // the others. Each such error is raised as ListenerFailed after the delivery that caught it,
    // with where it came from ("TimerTick" or "Step"); Tick itself does not throw for them.
    void Tick();
    int64_t Ticks() const { return m_ticks; }
    Event<std::string_view, const ArnError&> ListenerFailed;
    int64_t ListenerFailures() const { return m_listenerFailures; }

    void SetDebugFlags(int32_t flags);
    FaultPlan& Faults() { return *m_faults; }
    const std::shared_ptr<FaultPlan>& FaultsPtr() const { return m_faults; }
    // The application events object without going through the fault plan (nullptr when the net
    // was built without one).
    const std::shared_ptr<AppEvents>& Events() const { return m_appEvents; }

  private:
    SimNet() = default;
    // Turns the exception being handled into the report hosts see.
    void ReportListenerFailure(std::string_view where);

    std::shared_ptr<FaultPlan> m_faults;
    std::shared_ptr<AppEvents> m_appEvents;
    std::shared_ptr<DriveEvents> m_driveEvents;
    std::shared_ptr<NetSupervisor> m_supervisor;
    std::shared_ptr<NetOptions> m_options;
    std::vector<std::shared_ptr<SimNode>> m_nodes;
    int64_t m_ticks = 0;
    int64_t m_listenerFailures = 0;
};

}  // namespace arn
