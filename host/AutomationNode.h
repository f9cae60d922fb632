#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "core/AutomationClient.h"
#include "host/Motion.h"
#include "host/Node.h"

namespace arn {

// A host's node automation object presented through the node and motion interfaces.
//
// Members of the host object it uses: ParamExists(n), Param(n) (a value object), QueryState(),
// AccelLimit and DecelLimit (get, put), MoveVelocity(v, a2, a3), NodeStop(code). Of each value
// object: Name, and NumberValue (an object with GetDouble() and SetDouble(v)), UnitsText,
// Apply(), and Fields (a collection with Count and Item(i), 1-based) whose fields have Name,
// BitIndex, BitCount and Description.
//
// Param hands out one Value per parameter for the wrapper's lifetime, its fields defined from
// the host's. The host's changes reach those values on Refresh (the owning net calls it before
// each tick), which raises their change events.
class AutomationNode : public Node, public Motion {
  public:
    static std::shared_ptr<AutomationNode> Create(std::shared_ptr<AutomationClient> node);

    bool ParamExists(int32_t number) override;
    std::shared_ptr<Value> Param(int32_t number) override;
    bool QueryState() override;

    double get_AccelLimit() override;
    void put_AccelLimit(double v) override;
    double get_DecelLimit() override;
    void put_DecelLimit(double v) override;
    void MoveVelocity(double velocity, double arg2 = 0, double arg3 = 0) override;
    void NodeStop(int32_t code) override;

    // Re-reads every value handed out so far; one that fails is skipped, the others go on.
    void Refresh();

  private:
    explicit AutomationNode(std::shared_ptr<AutomationClient> node) : m_node(std::move(node)) {}

    std::shared_ptr<AutomationClient> m_node;
    std::map<int32_t, std::shared_ptr<Value>> m_params;
};

}  // namespace arn
