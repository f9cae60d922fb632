#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "panel/ArnAbsPosnCtl.h"
#include "platform/DebugChannel.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

namespace arn::test {

// Collects the trace texts sent to the debug output, without the time columns.
class TraceSpy {
  public:
    TraceSpy() : m_connection(AttachDebugListener([this](std::string_view line) { Take(line); })) {}

    const std::vector<std::string>& Lines() const { return m_lines; }
    int Count(std::string_view text) const {
        int n = 0;
        for (const auto& line : m_lines) {
            n += line == text ? 1 : 0;
        }
        return n;
    }
    int CountStartingWith(std::string_view prefix) const {
        int n = 0;
        for (const auto& line : m_lines) {
            n += line.starts_with(prefix) ? 1 : 0;
        }
        return n;
    }
    void Clear() { m_lines.clear(); }

  private:
    void Take(std::string_view line) {
        // "<ms>\t+<delta>\t<text>\r\n"
        auto first = line.find('\t');
        auto second = line.find('\t', first + 1);
        std::string_view text = line.substr(second + 1);
        if (text.ends_with("\r\n")) {
            text.remove_suffix(2);
        }
        m_lines.emplace_back(text);
    }
    Connection m_connection;
    std::vector<std::string> m_lines;
};

// A panel on a fresh simulated net and node; tests choose what the node lacks.
class PanelTest : public ::testing::Test {
  protected:
    PanelTest() { SetDebugFlags(0); }

    // Replaces the node by one that lacks the given parameters and fields.
    std::shared_ptr<SimNode> MakeNodeWithout(
        std::set<int32_t> params, std::set<std::pair<int32_t, std::string>> fields = {}) {
        SimNodeOptions options;
        options.omitParams = std::move(params);
        options.omitFields = std::move(fields);
        node = net->CreateNode(std::move(options));
        return node;
    }
    static std::shared_ptr<SimNet> MakeNet(int32_t debugFlags, bool withAppEvents = true) {
        SimNetOptions options;
        options.debugFlags = debugFlags;
        options.withAppEvents = withAppEvents;
        return SimNet::Create(std::move(options));
    }
    void Attach() { panel->get_UIref()->AttachControl(net, node, nullptr, "regName", "regSect"); }
    // Attaches and lets the first tick bind the node's fields.
    void AttachAndBind() {
        Attach();
        net->Tick();
    }
    PanelControls& ctl() { return panel->NamedControls(); }

    TraceSpy trace;
    std::shared_ptr<SimNet> net = SimNet::Create();
    std::shared_ptr<SimNode> node = net->CreateNode();
    std::shared_ptr<ArnAbsPosnCtl> panel = [] {
        auto p = ArnAbsPosnCtl::Create();
        p->put_DisplayName("ArnAbsPosnCtl1");
        return p;
    }();
};

}  // namespace arn::test
