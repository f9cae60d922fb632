#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/AutomationObject.h"
#include "host/values/Value.h"
#include "sim/SimNode.h"

namespace arn {

// One parameter of a simulated node as a host's value automation object.
//
// Members: Name [1] (get), NumberValue [2] (an object: GetDouble() [1], SetDouble(v) [2]),
// UnitsText [3] (get), Apply() [4], and Fields [5] (a collection: Count [1], Item(i) [2],
// 1-based, whose fields have Name [1], BitIndex [2], BitCount [3] and Description [4]).
//
// Reads and writes go through the node's value object, with its fault checks and change
// events; errors reach the caller unchanged. The number, the fields collection and each field
// have one face for this object's lifetime. Holds the value and its node alive, since a value
// without its node can only fail.
class SimValueAutomation : public AutomationObject {
  public:
    struct DispId {
        static constexpr int32_t Name = 1;
        static constexpr int32_t NumberValue = 2;
        static constexpr int32_t UnitsText = 3;
        static constexpr int32_t Apply = 4;
        static constexpr int32_t Fields = 5;
    };

    // Raises 91 for a null node or value.
    static std::shared_ptr<SimValueAutomation> Create(std::shared_ptr<SimNode> node,
                                                      std::shared_ptr<Value> value);

    std::string TypeName() const override { return "Value"; }
    const MemberTable& Members() const override;

    const std::shared_ptr<Value>& Target() const { return m_value; }

  private:
    SimValueAutomation(std::shared_ptr<SimNode> node, std::shared_ptr<Value> value);

    // The faces of the value's number and fields, made once per number object and once.
    Variant numberValue() const;
    Variant fields() const;
    std::string unitsText() const;
    void apply();

    std::shared_ptr<SimNode> m_node;
    std::shared_ptr<Value> m_value;
    // Caches of the faces handed out; reading a member fills them.
    mutable std::shared_ptr<AutomationObject> m_number;
    mutable std::shared_ptr<AutomationObject> m_fields;
};

}  // namespace arn
