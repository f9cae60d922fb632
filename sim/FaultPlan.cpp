#include "sim/FaultPlan.h"

namespace arn {

void FaultPlan::Fail(std::string op, int nth, int32_t param, int32_t number,
                     std::string description) {
    if (description.empty()) {
        description = "Simulated failure of " + op;
    }
    m_rules.push_back(Rule{std::move(op), nth, param, number, std::move(description)});
}

void FaultPlan::Check(std::string_view op, int32_t param) {
    auto it = m_calls.find(op);
    if (it == m_calls.end()) {
        it = m_calls.emplace(std::string(op), 0).first;
    }
    ++it->second;
    for (auto& rule : m_rules) {
        if (rule.op != op || (rule.param != kAnyParam && rule.param != param)) {
            continue;
        }
        ++rule.seen;
        if (rule.nth == 0 || rule.seen == rule.nth) {
            ++m_failures;
            throw ArnError(rule.number, "SimNode", rule.description);
        }
    }
}

int FaultPlan::Calls(std::string_view op) const {
    auto it = m_calls.find(op);
    return it == m_calls.end() ? 0 : it->second;
}

}  // namespace arn
