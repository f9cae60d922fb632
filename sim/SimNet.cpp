#include "sim/SimNet.h"

#include <exception>
#include <string>

namespace arn {

namespace {

class SimNetOptionsObject : public NetOptions {
  public:
    SimNetOptionsObject(std::shared_ptr<FaultPlan> faults, int32_t flags)
        : m_faults(std::move(faults)), m_flags(flags) {}

    int32_t get_DebugFlags() const override {
        m_faults->Check("Options.DebugFlags");
        return m_flags;
    }
    void set(int32_t flags) { m_flags = flags; }

  private:
    std::shared_ptr<FaultPlan> m_faults;
    int32_t m_flags;
};

}  // namespace

std::shared_ptr<SimNet> SimNet::Create(SimNetOptions options) {
    auto net = std::shared_ptr<SimNet>(new SimNet());
    net->m_faults = options.faults ? options.faults : std::make_shared<FaultPlan>();
    if (options.withAppEvents) {
        net->m_appEvents = std::make_shared<AppEvents>();
    }
    if (options.withDriveEvents) {
        net->m_driveEvents = std::make_shared<DriveEvents>();
    }
    if (options.withNetSupervisor) {
        net->m_supervisor = std::make_shared<NetSupervisor>();
    }
    if (options.withOptions) {
        net->m_options = std::make_shared<SimNetOptionsObject>(net->m_faults, options.debugFlags);
    }
    return net;
}

std::shared_ptr<AppEvents> SimNet::get_AppEvents() {
    m_faults->Check("Net.AppEvents");
    return m_appEvents;
}

std::shared_ptr<DriveEvents> SimNet::get_DriveEvents() {
    m_faults->Check("Net.DriveEvents");
    return m_driveEvents;
}

std::shared_ptr<NetSupervisor> SimNet::get_NetSupervisor() {
    m_faults->Check("Net.NetSupervisor");
    return m_supervisor;
}

std::shared_ptr<NetOptions> SimNet::get_Options() {
    m_faults->Check("Net.Options");
    return m_options;
}

std::shared_ptr<SimNode> SimNet::CreateNode(SimNodeOptions options) {
    if (!options.faults) {
        options.faults = m_faults;
    }
    auto node = SimNode::Create(std::move(options));
    AddNode(node);
    return node;
}

void SimNet::AddNode(std::shared_ptr<SimNode> node) {
    if (node) {
        m_nodes.push_back(std::move(node));
    }
}

void SimNet::Tick() {
    ++m_ticks;
    // Nodes are only ever added, so walking by index over those present at the start is safe
    // if a handler adds one; the local reference keeps each node alive through its step.
    const std::size_t count = m_nodes.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::shared_ptr<SimNode> node = m_nodes[i];
        try {
            node->Step();
        } catch (...) {
            ReportListenerFailure("Step");
        }
    }
    if (const auto events = m_appEvents) {
        events->TimerTick.RaiseEach([this] { ReportListenerFailure("TimerTick"); });
    }
}

void SimNet::ReportListenerFailure(std::string_view where) {
    ++m_listenerFailures;
    try {
        throw;
    } catch (const ArnError& e) {
        ListenerFailed(where, e);
    } catch (const std::exception& e) {
        ListenerFailed(where, ArnError(0, "SimNet", e.what()));
    } catch (...) {
        ListenerFailed(where, ArnError(0, "SimNet", "a listener threw something not an error"));
    }
}

void SimNet::SetDebugFlags(int32_t flags) {
    if (auto* options = dynamic_cast<SimNetOptionsObject*>(m_options.get())) {
        options->set(flags);
    }
}

}  // namespace arn
