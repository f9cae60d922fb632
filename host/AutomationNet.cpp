#include "host/AutomationNet.h"

#include <utility>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// The net's objects that callers only hold while attached: each keeps the host's object alive.
class HeldDriveEvents : public DriveEvents {
  public:
    explicit HeldDriveEvents(std::shared_ptr<AutomationClient> held) : m_held(std::move(held)) {}

  private:
    std::shared_ptr<AutomationClient> m_held;
};

class HeldSupervisor : public NetSupervisor {
  public:
    explicit HeldSupervisor(std::shared_ptr<AutomationClient> held) : m_held(std::move(held)) {}

  private:
    std::shared_ptr<AutomationClient> m_held;
};

class AutomationOptions : public NetOptions {
  public:
    explicit AutomationOptions(std::shared_ptr<AutomationClient> options)
        : m_options(std::move(options)) {}
    int32_t get_DebugFlags() const override { return VariantToLong(m_options->Get("DebugFlags")); }

  private:
    std::shared_ptr<AutomationClient> m_options;
};

}  // namespace

std::shared_ptr<AutomationNet> AutomationNet::Create(std::shared_ptr<AutomationClient> net) {
    if (!net) {
        throw MakeError(err::ObjectNotSet, "Net");
    }
    return std::shared_ptr<AutomationNet>(new AutomationNet(std::move(net)));
}

std::shared_ptr<AppEvents> AutomationNet::get_AppEvents() {
    if (m_appEvents) {
        return m_appEvents;
    }
    auto source = m_net->GetObject("AppEvents");
    if (!source) {
        return nullptr;
    }
    auto events = std::make_shared<AppEvents>();
    // The subscription lives with this net; the handler reaches the net through a raw pointer
    // because the connection ends before the net does.
    m_tickConnection = source->Subscribe("TimerTick", [this] { OnHostTick(); });
    m_appEvents = events;
    return m_appEvents;
}

std::shared_ptr<DriveEvents> AutomationNet::get_DriveEvents() {
    auto source = m_net->GetObject("DriveEvents");
    return source ? std::make_shared<HeldDriveEvents>(std::move(source)) : nullptr;
}

std::shared_ptr<NetSupervisor> AutomationNet::get_NetSupervisor() {
    auto source = m_net->GetObject("NetSupervisor");
    return source ? std::make_shared<HeldSupervisor>(std::move(source)) : nullptr;
}

std::shared_ptr<NetOptions> AutomationNet::get_Options() {
    auto source = m_net->GetObject("Options");
    return source ? std::make_shared<AutomationOptions>(std::move(source)) : nullptr;
}

std::shared_ptr<AutomationNode> AutomationNet::WrapNode(std::shared_ptr<AutomationClient> node) {
    auto wrapped = AutomationNode::Create(std::move(node));
    std::erase_if(m_nodes, [](const auto& weak) { return weak.expired(); });
    m_nodes.push_back(wrapped);
    return wrapped;
}

void AutomationNet::OnHostTick() {
    // Keep the events object alive through the dispatch: a handler may detach the panel.
    const auto events = m_appEvents;
    // By index, without a copy on every tick: a change handler may wrap another node.
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        if (const auto node = m_nodes[i].lock()) {
            node->Refresh();
        }
    }
    if (events) {
        events->TimerTick();
    }
}

}  // namespace arn
