#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ArnError.h"
#include "panel/ArnAbsPosnCtl.h"
#include "platform/DebugChannel.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

namespace arn::test {

// Collects the trace texts sent to the debug output, without the time columns.
class TraceSpy {
  public:
    TraceSpy()
        : m_connection(AttachDebugListener([this](std::string_view line) {
              // "<ms>\t+<delta>\t<text>\r\n"
              std::string_view text = line.substr(line.find('\t', line.find('\t') + 1) + 1);
              m_lines.emplace_back(text.substr(0, text.size() - (text.ends_with("\r\n") ? 2 : 0)));
          })) {}

    const std::vector<std::string>& Lines() const { return m_lines; }
    int Count(std::string_view text) const {
        return static_cast<int>(std::count(m_lines.begin(), m_lines.end(), text));
    }
    int CountStartingWith(std::string_view prefix) const {
        return static_cast<int>(std::count_if(
            m_lines.begin(), m_lines.end(), [&](const auto& l) { return l.starts_with(prefix); }));
    }
    void Clear() { m_lines.clear(); }

  private:
    Connection m_connection;
    std::vector<std::string> m_lines;
};

// A panel on a fresh simulated net and node, with the trace overheard: the one way the panel,
// fault and soak tests build the panel a host binds.
struct PanelRig {
    PanelRig() {
        SetDebugFlags(0);
        panel->put_DisplayName("ArnAbsPosnCtl1");
    }
    void Attach() { panel->get_UIref()->AttachControl(net, node, nullptr, "regName", "regSect"); }
    // Attaches and lets the first tick bind the node's fields.
    void AttachAndBind() {
        Attach();
        net->Tick();
    }
    // Attached, bound, enabled and settled: every flag the attachment raised has been served.
    void Bind() {
        AttachAndBind();
        net->Tick();
        panel->put_Enabled(true);
        net->Tick();
    }
    // The override check boxes drive the inputs.
    void Software() {
        ctl().inputOptChk->put_Value(1);
        net->Tick();
    }
    // A host handler on the control that fails on every change of it.
    static Connection Refusing(Control& c) {
        return c.PropertyChanged.connect(
            [](std::string_view) { throw ArnError(vbObjectError, "Host", "refused"); });
    }
    PanelControls& ctl() { return panel->NamedControls(); }
    jogAndSwInputs& io() { return *panel->InputsObject(); }

    TraceSpy trace;
    std::shared_ptr<SimNet> net = SimNet::Create();
    std::shared_ptr<SimNode> node = net->CreateNode();
    std::shared_ptr<ArnAbsPosnCtl> panel = ArnAbsPosnCtl::Create();
};

// The panel rig as a test fixture; tests choose what the node lacks.
class PanelTest : public ::testing::Test, public PanelRig {
  protected:
    // Replaces the node by one that lacks the given parameters and fields.
    std::shared_ptr<SimNode> MakeNodeWithout(
        std::set<int32_t> params, std::set<std::pair<int32_t, std::string>> fields = {}) {
        SimNodeOptions options;
        options.omitParams = std::move(params);
        options.omitFields = std::move(fields);
        return node = net->CreateNode(std::move(options));
    }
    static std::shared_ptr<SimNet> MakeNet(int32_t debugFlags, bool withAppEvents = true) {
        SimNetOptions options;
        options.debugFlags = debugFlags;
        options.withAppEvents = withAppEvents;
        return SimNet::Create(std::move(options));
    }
};

}  // namespace arn::test
