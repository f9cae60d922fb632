#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/AutomationObject.h"
#include "sim/SimNode.h"
#include "sim/SimValueAutomation.h"

namespace arn {

// A simulated node as a host's node automation object: what our node wrapper over such a host
// uses, and nothing more.
//
// Members: ParamExists(n) [1], Param(n) [2] (a SimValueAutomation), QueryState() [3],
// AccelLimit [4] and DecelLimit [5] (get, put), MoveVelocity(v, a2, a3) [6], NodeStop(code) [7].
//
// Param hands out one face per parameter for this object's lifetime. Errors the node raises
// (a planned fault, a missing parameter, an offline node) reach the caller unchanged. Holds the
// node alive; the node holds none of its faces.
class SimNodeAutomation : public AutomationObject {
  public:
    struct DispId {
        static constexpr int32_t ParamExists = 1;
        static constexpr int32_t Param = 2;
        static constexpr int32_t QueryState = 3;
        static constexpr int32_t AccelLimit = 4;
        static constexpr int32_t DecelLimit = 5;
        static constexpr int32_t MoveVelocity = 6;
        static constexpr int32_t NodeStop = 7;
    };

    // Raises 91 for a null node.
    static std::shared_ptr<SimNodeAutomation> Create(std::shared_ptr<SimNode> node);

    std::string TypeName() const override { return "SimNode"; }
    const MemberTable& Members() const override;

    const std::shared_ptr<SimNode>& Node() const { return m_node; }

  private:
    explicit SimNodeAutomation(std::shared_ptr<SimNode> node);

    Variant param(int32_t number);

    std::shared_ptr<SimNode> m_node;
    std::map<int32_t, std::shared_ptr<SimValueAutomation>> m_params;
};

}  // namespace arn
