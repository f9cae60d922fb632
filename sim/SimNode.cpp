#include "sim/SimNode.h"

#include "sim/SimLayout.h"

namespace arn {

namespace {

// How a parameter's value object reaches the simulated drive. It holds the node weakly: values
// kept after their node is gone fail with a clear error instead of keeping the node alive.
class SimParamBackend : public ValueBackend {
  public:
    SimParamBackend(std::weak_ptr<SimNode> node, int32_t number)
        : m_node(std::move(node)), m_number(number) {}

    double Read() override { return node()->Drive().Read(m_number); }
    void Write(double v) override { node()->Drive().Write(m_number, v); }
    void Apply() override { node()->Drive().Apply(m_number); }
    std::string UnitsText() override { return node()->Drive().UnitsText(m_number); }
    void Check(std::string_view op) override {
        if (m_building) {
            return;
        }
        node()->CheckOp(op, m_number);
    }
    void Built() { m_building = false; }

  private:
    std::shared_ptr<SimNode> node() const {
        auto node = m_node.lock();
        if (!node) {
            throw ArnError(
                vbObjectError + 0x2002, "SimNode",
                "The node of parameter " + std::to_string(m_number) + " is no longer available");
        }
        return node;
    }

    std::weak_ptr<SimNode> m_node;
    int32_t m_number;
    bool m_building = true;
};

}  // namespace

std::shared_ptr<SimNode> SimNode::Create(SimNodeOptions options) {
    auto node = std::shared_ptr<SimNode>(new SimNode());
    node->build(std::move(options));
    return node;
}

void SimNode::build(SimNodeOptions options) {
    m_faults = options.faults ? options.faults : std::make_shared<FaultPlan>();
    for (const auto& def : SimParamTable()) {
        if (options.omitParams.count(def.number) != 0) {
            continue;
        }
        auto backend = std::make_shared<SimParamBackend>(weak_from_this(), def.number);
        auto value = Value::Create(backend, def.number, def.name);
        for (const auto& field : def.fields) {
            if (options.omitFields.count({def.number, field.key}) != 0) {
                continue;
            }
            value->DefineField(field.key, field.bit, field.count, field.description);
            auto made = value->Field(field.key);
            for (const auto& caption : field.captions) {
                made->AddValueCaption(caption.value, caption.text);
                made->get_ValueCaptions()
                    .Item(std::to_string(caption.value))
                    ->put_Active(caption.active);
            }
        }
        if (def.positional) {
            value->put_FormatStr("#,##0.###");
        }
        backend->Built();
        m_params.emplace(def.number, std::move(value));
    }
}

void SimNode::CheckOp(std::string_view op, int32_t param) {
    if (m_offline) {
        throw ArnError(vbObjectError + 0x2003, "SimNode", "The node is not responding");
    }
    m_faults->Check(op, param);
}

std::shared_ptr<Value> SimNode::lookUp(int32_t number) const {
    auto it = m_params.find(number);
    return it == m_params.end() ? nullptr : it->second;
}

bool SimNode::ParamExists(int32_t number) {
    CheckOp("ParamExists", number);
    return lookUp(number) != nullptr;
}

std::shared_ptr<Value> SimNode::Param(int32_t number) {
    CheckOp("Param", number);
    auto value = lookUp(number);
    if (!value) {
        throw ArnError(vbObjectError + 0x2004, "SimNode",
                       "Parameter " + std::to_string(number) + " does not exist on this node");
    }
    return value;
}

bool SimNode::QueryState() {
    CheckOp("QueryState");
    return m_drive.QueryState();
}

double SimNode::get_AccelLimit() {
    CheckOp("Motion.AccelLimit.get");
    return m_drive.AccelLimit();
}

void SimNode::put_AccelLimit(double v) {
    CheckOp("Motion.AccelLimit.put");
    m_drive.SetAccelLimit(v);
}

double SimNode::get_DecelLimit() {
    CheckOp("Motion.DecelLimit.get");
    return m_drive.DecelLimit();
}

void SimNode::put_DecelLimit(double v) {
    CheckOp("Motion.DecelLimit.put");
    m_drive.SetDecelLimit(v);
}

void SimNode::MoveVelocity(double velocity, double arg2, double arg3) {
    (void)arg2;
    (void)arg3;
    CheckOp("Motion.MoveVelocity");
    m_drive.MoveVelocity(velocity);
}

void SimNode::NodeStop(int32_t code) {
    CheckOp("Motion.NodeStop");
    m_drive.NodeStop(code);
}

void SimNode::SetPin(SimPin pin, bool on) {
    m_drive.SetPin(pin, on);
    Sync();
}

void SimNode::PulseTrigger() {
    m_drive.PulseTrigger();
    Sync();
}

void SimNode::SetPositionRecovering(bool on) {
    m_drive.SetPositionRecovering(on);
    Sync();
}

int32_t SimNode::Teach() {
    const int32_t number = m_drive.Teach();
    Sync();
    return number;
}

void SimNode::ForceParam(int32_t number, double content) {
    m_drive.Force(number, content);
    Sync();
}

void SimNode::ForceField(int32_t number, const std::string& key, uint32_t bits) {
    const double content = m_drive.Read(number);
    const uint32_t word = content < 0 ? static_cast<uint32_t>(static_cast<int32_t>(content))
                                      : static_cast<uint32_t>(static_cast<int64_t>(content));
    m_drive.Force(number, SimFieldSet(number, key, word, bits));
    Sync();
}

void SimNode::Step() {
    m_drive.Step();
    Sync();
}

void SimNode::Sync() {
    // Keep the node alive: a handler may drop the last outside reference to it. The table
    // itself is built once and never changes, so it can be walked while handlers look
    // parameters up.
    const auto keep = shared_from_this();
    for (const auto& [number, value] : m_params) {
        value->Receive(m_drive.Read(number));
    }
}

}  // namespace arn
