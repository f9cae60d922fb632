#pragma once

#include <memory>
#include <vector>

#include "core/AutomationClient.h"
#include "core/Event.h"
#include "host/AutomationNode.h"
#include "host/Net.h"

namespace arn {

// A host's net automation object presented through the net interface.
//
// Members of the host object it uses: AppEvents, DriveEvents, NetSupervisor and Options
// (objects; Nothing makes the getter return nullptr), the Options object's DebugFlags, and the
// TimerTick event of the AppEvents object. When the host raises TimerTick, the nodes made by
// WrapNode re-read their values first (their change events come then), and TimerTick is raised
// on this net's AppEvents after them, as a host's own net orders a period.
class AutomationNet : public Net {
  public:
    static std::shared_ptr<AutomationNet> Create(std::shared_ptr<AutomationClient> net);

    std::shared_ptr<AppEvents> get_AppEvents() override;
    std::shared_ptr<DriveEvents> get_DriveEvents() override;
    std::shared_ptr<NetSupervisor> get_NetSupervisor() override;
    std::shared_ptr<NetOptions> get_Options() override;

    // A node of this net over the host's node object, refreshed before each tick.
    std::shared_ptr<AutomationNode> WrapNode(std::shared_ptr<AutomationClient> node);

  private:
    explicit AutomationNet(std::shared_ptr<AutomationClient> net) : m_net(std::move(net)) {}
    void OnHostTick();

    std::shared_ptr<AutomationClient> m_net;
    std::shared_ptr<AppEvents> m_appEvents;
    Connection m_tickConnection;
    std::vector<std::weak_ptr<AutomationNode>> m_nodes;
};

}  // namespace arn
