#include "faults/SweepRig.h"

#include <exception>
#include <string_view>

#include "core/ArnError.h"
#include "host/values/Field.h"
#include "host/values/Value.h"
#include "platform/DebugChannel.h"
#include "sim/SimLayout.h"
#include "support/DebuggingFlags.h"

namespace arn::test {

SweepRig::SweepRig(SimNodeOptions options)
    : net(SimNet::Create()),
      node(net->CreateNode(std::move(options))),
      panel(ArnAbsPosnCtl::Create()),
      accLed(std::make_shared<ArnFieldLED>("accLED")) {
    SetDebugFlags(0);
    panel->put_DisplayName("ArnAbsPosnCtl1");
    accLed->put_fieldkey(fieldkey::TriggerDetected);
    m_traceListener = AttachDebugListener([this](std::string_view line) {
        // "<ms>\t+<delta>\t<text>\r\n"
        const auto first = line.find('\t');
        std::string_view text = line.substr(line.find('\t', first + 1) + 1);
        if (text.ends_with("\r\n")) {
            text.remove_suffix(2);
        }
        traces.emplace_back(text);
    });
}

void SweepRig::Attach() {
    panel->get_UIref()->AttachControl(net, node, nullptr, "regName", "regSect");
}

void SweepRig::Tick() {
    net->Tick();
}

void SweepRig::RaiseTimerTick() {
    const auto events = net->Events();
    if (!events) {
        return;
    }
    events->TimerTick.RaiseEach([this] {
        try {
            throw;
        } catch (const ArnError& e) {
            netReports.push_back(e.description());
        } catch (const std::exception& e) {
            foreignErrors.push_back(e.what());
        } catch (...) {
            foreignErrors.push_back("(not an exception)");
        }
    });
}

void SweepRig::RememberContents() {
    m_remembered.clear();
    for (const auto& def : SimParamTable()) {
        if (node->ParamExists(def.number)) {
            m_remembered[def.number] = node->Param(def.number)->Content();
        }
    }
}

void SweepRig::Redeliver() {
    for (const auto& [number, before] : m_remembered) {
        const auto value = node->Param(number);
        if (value->Content() == before) {
            continue;
        }
        const uint32_t oldWord = Value::WordOf(before);
        const uint32_t newWord = value->Word();
        // Each listener hears the change even where another fails, as from the net.
        auto report = [this] {
            try {
                throw;
            } catch (const ArnError& e) {
                redeliveryErrors.push_back(e.description());
            }
        };
        value->ContentChanged.RaiseEach(report, value);
        value->ValueChanged.RaiseEach(report, value);
        for (const auto& [key, field] : value->get_Fields()) {
            if (field->Extract(oldWord) != field->Extract(newWord)) {
                field->UpdateView.RaiseEach(report, field);
            }
        }
    }
    try {
        node->Sync();
    } catch (const ArnError& e) {
        redeliveryErrors.push_back(e.description());
    }
}

}  // namespace arn::test
