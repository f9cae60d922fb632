#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/TraceReset.h"
#include "inputs/jogAndSwInputs.h"
#include "platform/DebugChannel.h"
#include "sim/SimLayout.h"
#include "sim/SimNet.h"
#include "support/DebuggingFlags.h"

namespace arn::testing {

// An inputs object on a simulated net, with spies on its two events and on the trace.
struct InputsRig {
    std::shared_ptr<SimNet> net = SimNet::Create();
    std::shared_ptr<SimNode> node;
    std::shared_ptr<jogAndSwInputs> io = std::make_shared<jogAndSwInputs>();
    std::vector<std::string> events;  // "IO:1", "Enable:0", ... in the order raised
    std::vector<std::string> traces;  // trace texts without time stamps and line end
    Connection spies[3];

    InputsRig() {
        test::ResetTraceState();
        spies[0] =
            io->IOchanged.connect([this](bool b) { events.push_back("IO:" + std::to_string(b)); });
        spies[1] = io->EnableReqChanged.connect(
            [this](bool b) { events.push_back("Enable:" + std::to_string(b)); });
        spies[2] = AttachDebugListener([this](std::string_view line) {
            std::string_view text = line.substr(line.find('\t', line.find('\t') + 1) + 1);
            traces.emplace_back(text.substr(0, text.size() - 2));  // "<ms>\t+<delta>\t<text>\r\n"
        });
    }
    ~InputsRig() { test::ResetTraceState(); }

    void Attach(SimNodeOptions options = {}) {
        node = net->CreateNode(std::move(options));
        io->putref_NodeRef(node);
        io->putref_NetRef(net);
    }
    double Stimulus() const { return node->Param(param::InputStimulus)->Content(); }
    long Traced(std::string_view text) const {
        return std::count(traces.begin(), traces.end(), text);
    }
};

}  // namespace arn::testing
