#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "host/Motion.h"
#include "host/Node.h"
#include "sim/FaultPlan.h"
#include "sim/SimDrive.h"

namespace arn {

struct SimNodeOptions {
    // Parameters the node does not have (ParamExists False, Param raises).
    std::set<int32_t> omitParams;
    // Fields left out of their parameter's Fields dictionary: {parameter, key}.
    std::set<std::pair<int32_t, std::string>> omitFields;
    // Shared with the net or a test; a node without one makes its own.
    std::shared_ptr<FaultPlan> faults;
};

// A simulated motor node over SimDrive: the node and motion interfaces, one value object per
// parameter of the drive's table, and drive-side hooks for a host or a test.
//
// Operations that report to the fault plan (the parameter number goes with value operations):
// "ParamExists", "Param", "QueryState", "Motion.AccelLimit.get", "Motion.AccelLimit.put",
// "Motion.DecelLimit.get", "Motion.DecelLimit.put", "Motion.MoveVelocity", "Motion.NodeStop", and
// through the values "Value.Fields", "Value.Field", "Value.DefineField", "Value.CopyTo",
// "Value.NumberValue", "Value.UnitsInfo", "Value.Refresh", "Number.GetDouble",
// "Number.SetDouble", "Number.GetUnitsText", "Field.Value.get", "Field.Value.put", "Field.Apply".
//
// The drive-side calls (SetPin, PulseTrigger, Force*, Step) change the drive and then Sync, which
// hands every changed content to its value object, raising its events there; they belong
// between the caller's operations, never inside one. A host write to one parameter never
// touches another parameter's value object: that one follows at the next Sync or on Refresh.
class SimNode : public Node, public Motion, public std::enable_shared_from_this<SimNode> {
  public:
    static std::shared_ptr<SimNode> Create(SimNodeOptions options = {});

    // Node
    bool ParamExists(int32_t number) override;
    std::shared_ptr<Value> Param(int32_t number) override;
    bool QueryState() override;

    // Motion
    double get_AccelLimit() override;
    void put_AccelLimit(double v) override;
    double get_DecelLimit() override;
    void put_DecelLimit(double v) override;
    void MoveVelocity(double velocity, double arg2 = 0, double arg3 = 0) override;
    void NodeStop(int32_t code) override;

    // --- drive side ---
    void SetPin(SimPin pin, bool on);
    void PulseTrigger();
    void SetPositionRecovering(bool on);
    // The drive's teach-in (see SimDrive::Teach), then Sync: the taught position's value
    // raises its change events. Returns the parameter taught, 0 while teaching is off.
    int32_t Teach();
    // The drive changing a parameter or one field of it (see SimDrive::Force).
    void ForceParam(int32_t number, double content);
    void ForceField(int32_t number, const std::string& key, uint32_t bits);
    // One drive step, then Sync.
    void Step();
    // Hands the drive's current contents to the value objects (events for those that differ).
    void Sync();
    // A node that stopped answering: every call raises ArnError until it is back.
    void SetOffline(bool offline) { m_offline = offline; }

    SimDrive& Drive() { return m_drive; }
    const SimDrive& Drive() const { return m_drive; }
    FaultPlan& Faults() { return *m_faults; }
    const std::shared_ptr<FaultPlan>& FaultsPtr() const { return m_faults; }

    // Used by the value backends: raises for an offline node or a planned fault.
    void CheckOp(std::string_view op, int32_t param = FaultPlan::kAnyParam);

  private:
    SimNode() = default;
    void build(SimNodeOptions options);
    std::shared_ptr<Value> lookUp(int32_t number) const;

    SimDrive m_drive;
    std::shared_ptr<FaultPlan> m_faults;
    std::map<int32_t, std::shared_ptr<Value>> m_params;
    bool m_offline = false;
};

}  // namespace arn
