#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ArnError.h"

namespace arn {

// Which outside calls of a simulated net or node fail. Every operation reports itself by name
// before it acts ("Param", "ParamExists", "QueryState", "Net.AppEvents", "Options.DebugFlags",
// "Motion.MoveVelocity", "Value.Refresh", "Value.Field", "Value.Fields", "Number.GetDouble",
// "Number.SetDouble", "Field.Value.get", "Field.Value.put", "Field.Apply", ...; the full list is
// in SimNode.h and SimNet.h). A rule names an operation, optionally one parameter, and which of
// the matching calls fails.
class FaultPlan {
  public:
    static constexpr int32_t kDefaultNumber = vbObjectError + 0x2001;
    static constexpr int32_t kAnyParam = 0;

    // Makes the nth matching call (counted from 1 when the rule is made) raise ArnError; nth 0
    // makes every matching call fail. param restricts the rule to one parameter number.
    void Fail(std::string op, int nth = 0, int32_t param = kAnyParam,
              int32_t number = kDefaultNumber, std::string description = {});
    // Makes the k-th call checked from now on (counted from 1 over every operation and
    // parameter) raise ArnError with the description "Simulated failure of call <k> (<op>)"
    // unless one is given. One such rule at a time: a later call replaces it.
    void FailCall(int64_t k, int32_t number = kDefaultNumber, std::string description = {});
    // Drops every rule, FailCall's included; call counts are kept.
    void Clear() {
        m_rules.clear();
        m_failAtCall = 0;
    }

    // Counts the call and raises ArnError when a rule says so.
    void Check(std::string_view op, int32_t param = kAnyParam);
    // How many times op was checked, over all parameters.
    int Calls(std::string_view op) const;
    // How many calls were checked, of every operation, since the plan was made.
    int64_t TotalCalls() const { return m_totalCalls; }
    // The operation and parameter of the last call this plan made fail (empty before any).
    const std::string& LastFailedOp() const { return m_lastFailedOp; }
    int32_t LastFailedParam() const { return m_lastFailedParam; }
    // How many calls this plan made fail.
    int Failures() const { return m_failures; }

  private:
    struct Rule {
        std::string op;
        int nth;
        int32_t param;
        int32_t number;
        std::string description;
        int seen = 0;
    };
    struct Counter {
        std::string op;
        int calls = 0;
    };
    // Every call is counted, on the hot path of every simulated read, so the lookup must be
    // cheap: operations name themselves with string literals, and the address of the name
    // seen last time finds its counter without comparing strings along a tree. The name is
    // still compared once, so an op spelled in a reused buffer is never miscounted.
    Counter& counterOf(std::string_view op);

    std::vector<Rule> m_rules;
    std::vector<Counter> m_counters;
    struct Alias {
        const char* data;
        std::size_t size;
        std::size_t counter;
    };
    std::vector<Alias> m_aliases;
    int m_failures = 0;
    // Unarmed while 0: the count is at least 1 when it is compared, so checking costs one
    // increment and one comparison until FailCall arms it.
    int64_t m_totalCalls = 0;
    int64_t m_failAtCall = 0;
    int64_t m_failAtK = 0;  // as given, for the description
    int32_t m_failAtNumber = kDefaultNumber;
    std::string m_failAtDescription;
    std::string m_lastFailedOp;
    int32_t m_lastFailedParam = kAnyParam;
};

}  // namespace arn
