#include "host/AutomationNode.h"

#include <string>
#include <utility>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// One host value object as the backend of our Value: the content goes through its NumberValue.
class AutomationValueBackend : public ValueBackend {
  public:
    explicit AutomationValueBackend(std::shared_ptr<AutomationClient> value)
        : m_value(std::move(value)) {}

    double Read() override { return VariantToDouble(number().Call("GetDouble", {})); }
    void Write(double v) override { number().Call("SetDouble", {Variant(v)}); }
    void Apply() override { m_value->Call("Apply", {}); }
    std::string UnitsText() override { return VariantToString(m_value->Get("UnitsText")); }

  private:
    AutomationClient& number() {
        if (!m_number) {
            m_number = m_value->GetObject("NumberValue");
            if (!m_number) {
                throw MakeError(err::ObjectNotSet, "Value", "NumberValue");
            }
        }
        return *m_number;
    }

    std::shared_ptr<AutomationClient> m_value;
    std::shared_ptr<AutomationClient> m_number;
};

void DefineFields(Value& target, AutomationClient& source) {
    auto fields = source.GetObject("Fields");
    if (!fields) {
        return;
    }
    const int32_t count = VariantToLong(fields->Get("Count"));
    for (int32_t i = 1; i <= count; ++i) {
        auto field = fields->CallObject("Item", {Variant(i)});
        if (!field) {
            continue;
        }
        target.DefineField(
            VariantToString(field->Get("Name")), VariantToLong(field->Get("BitIndex")),
            VariantToLong(field->Get("BitCount")), VariantToString(field->Get("Description")));
    }
}

}  // namespace

std::shared_ptr<AutomationNode> AutomationNode::Create(std::shared_ptr<AutomationClient> node) {
    if (!node) {
        throw MakeError(err::ObjectNotSet, "Node");
    }
    return std::shared_ptr<AutomationNode>(new AutomationNode(std::move(node)));
}

bool AutomationNode::ParamExists(int32_t number) {
    return VariantToBool(m_node->Call("ParamExists", {Variant(number)}));
}

std::shared_ptr<Value> AutomationNode::Param(int32_t number) {
    auto found = m_params.find(number);
    if (found != m_params.end()) {
        return found->second;
    }
    auto source = m_node->CallObject("Param", {Variant(number)});
    if (!source) {
        throw MakeError(err::ObjectNotSet, "Node", "Param");
    }
    auto value = Value::Create(std::make_shared<AutomationValueBackend>(source), number,
                               VariantToString(source->Get("Name")));
    DefineFields(*value, *source);
    m_params.emplace(number, value);
    return value;
}

bool AutomationNode::QueryState() {
    return VariantToBool(m_node->Call("QueryState", {}));
}

double AutomationNode::get_AccelLimit() {
    return VariantToDouble(m_node->Get("AccelLimit"));
}

void AutomationNode::put_AccelLimit(double v) {
    m_node->Put("AccelLimit", Variant(v));
}

double AutomationNode::get_DecelLimit() {
    return VariantToDouble(m_node->Get("DecelLimit"));
}

void AutomationNode::put_DecelLimit(double v) {
    m_node->Put("DecelLimit", Variant(v));
}

void AutomationNode::MoveVelocity(double velocity, double arg2, double arg3) {
    m_node->Call("MoveVelocity", {Variant(velocity), Variant(arg2), Variant(arg3)});
}

void AutomationNode::NodeStop(int32_t code) {
    m_node->Call("NodeStop", {Variant(code)});
}

void AutomationNode::Refresh() {
    // No copy of the map on every tick: a change handler may ask for a parameter not handed
    // out yet, and inserting into a map leaves the loop's iterator valid.
    for (const auto& [number, value] : m_params) {
        try {
            value->Refresh();
        } catch (const ArnError&) {
            // The value keeps its last content; the next tick tries again.
        }
    }
}

}  // namespace arn
