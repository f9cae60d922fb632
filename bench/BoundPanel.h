#pragma once

#include <memory>

#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

namespace arn::bench {

// A bound, enabled panel on its own net and node, as a host shows it; the second tick has
// served every flag the attachment raised.
struct BoundPanel {
    std::shared_ptr<SimNet> net = SimNet::Create();
    std::shared_ptr<SimNode> node = net->CreateNode();
    std::shared_ptr<ArnAbsPosnCtl> panel = ArnAbsPosnCtl::Create();

    BoundPanel() {
        SetDebugFlags(0);
        panel->put_DisplayName("ArnAbsPosnCtl1");
        panel->get_UIref()->AttachControl(net, node, nullptr, "", "");
        panel->put_Enabled(true);
        net->Tick();
        net->Tick();
    }
    ~BoundPanel() {
        if (panel->IsAttached()) {
            panel->get_UIref()->ReleaseControl();
        }
    }
    BoundPanel(const BoundPanel&) = delete;
    BoundPanel& operator=(const BoundPanel&) = delete;
};

}  // namespace arn::bench
