#include "sim/FaultPlan.h"

#include <string>

namespace arn {

void FaultPlan::Fail(std::string op, int nth, int32_t param, int32_t number,
                     std::string description) {
    if (description.empty()) {
        description = "Simulated failure of " + op;
    }
    m_rules.push_back(Rule{std::move(op), nth, param, number, std::move(description)});
}

void FaultPlan::FailCall(int64_t k, int32_t number, std::string description) {
    m_failAtCall = k > 0 ? m_totalCalls + k : 0;
    m_failAtK = k;
    m_failAtNumber = number;
    m_failAtDescription = std::move(description);
}

FaultPlan::Counter& FaultPlan::counterOf(std::string_view op) {
    for (const Alias& alias : m_aliases) {
        if (alias.data == op.data() && alias.size == op.size() &&
            m_counters[alias.counter].op == op) {
            return m_counters[alias.counter];
        }
    }
    std::size_t index = 0;
    while (index < m_counters.size() && m_counters[index].op != op) {
        ++index;
    }
    if (index == m_counters.size()) {
        m_counters.push_back(Counter{std::string(op)});
    }
    // Names from buffers that change would add aliases without end; literals add one each.
    constexpr std::size_t kMaxAliases = 256;
    if (m_aliases.size() < kMaxAliases) {
        m_aliases.push_back(Alias{op.data(), op.size(), index});
    }
    return m_counters[index];
}

void FaultPlan::Check(std::string_view op, int32_t param) {
    ++counterOf(op).calls;
    if (++m_totalCalls == m_failAtCall) {
        const int64_t k = m_failAtK;
        m_failAtCall = 0;
        ++m_failures;
        m_lastFailedOp = op;
        m_lastFailedParam = param;
        throw ArnError(
            m_failAtNumber, "SimNode",
            m_failAtDescription.empty()
                ? "Simulated failure of call " + std::to_string(k) + " (" + std::string(op) + ")"
                : m_failAtDescription);
    }
    for (auto& rule : m_rules) {
        if (rule.op != op || (rule.param != kAnyParam && rule.param != param)) {
            continue;
        }
        ++rule.seen;
        if (rule.nth == 0 || rule.seen == rule.nth) {
            ++m_failures;
            m_lastFailedOp = op;
            m_lastFailedParam = param;
            throw ArnError(rule.number, "SimNode", rule.description);
        }
    }
}

int FaultPlan::Calls(std::string_view op) const {
    for (const Counter& counter : m_counters) {
        if (counter.op == op) {
            return counter.calls;
        }
    }
    return 0;
}

}  // namespace arn
