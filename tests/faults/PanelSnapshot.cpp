#include "faults/PanelSnapshot.h"

#include <cstdio>
#include <memory>
#include <string_view>
#include <variant>

#include "core/ArnError.h"
#include "host/controls/ArnFieldLED.h"
#include "host/controls/ParamEditor.h"
#include "host/values/Field.h"
#include "host/values/Value.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimLayout.h"
#include "sim/SimNode.h"

namespace arn::test {

namespace {

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string Flag(bool b) {
    return b ? "True" : "False";
}

std::string Describe(const Variant& v, int depth);

std::string DescribeObject(const Dispatch& obj, int depth) {
    std::string text = obj.TypeName();
    if (depth > 0) {
        return text;
    }
    text += "{";
    for (const auto& name : obj.PropertyNames()) {
        try {
            text += name + "=" + Describe(obj.GetProperty(name), depth + 1) + ";";
        } catch (const ArnError&) {
            // Write-only and indexed properties have no plain reading.
        }
    }
    return text + "}";
}

std::string Describe(const Variant& v, int depth) {
    struct Visitor {
        int depth;
        std::string operator()(std::monostate) const { return "Empty"; }
        std::string operator()(bool b) const { return Flag(b); }
        std::string operator()(int32_t n) const { return std::to_string(n); }
        std::string operator()(double d) const { return Number(d); }
        std::string operator()(const std::string& s) const { return "\"" + s + "\""; }
        std::string operator()(const std::shared_ptr<Dispatch>& obj) const {
            return obj ? DescribeObject(*obj, depth) : "Nothing";
        }
    };
    return std::visit(Visitor{depth}, v);
}

// A field by where it lives and what it holds: two runs on two nodes bind equal fields, never
// the same objects.
std::string DescribeField(const std::shared_ptr<Field>& field) {
    if (!field) {
        return "Nothing";
    }
    const auto owner = field->Owner();
    const std::string where = owner ? "P" + std::to_string(owner->get_ParamNumber()) : "free";
    try {
        return where + "." + field->get_Name() + "=" + std::to_string(field->get_Value());
    } catch (const ArnError&) {
        // A field whose value is gone (a released binding) can no longer be read.
        return where + "." + field->get_Name() + " (gone)";
    }
}

void TakeControl(PanelSnapshot& shot, const Control& ctl) {
    std::string where = ctl.get_Name();
    if (ctl.get_Index() >= 0) {
        where += "(" + std::to_string(ctl.get_Index()) + ")";
    }
    for (const auto& name : ctl.PropertyNames()) {
        try {
            shot[where + "." + name] = Describe(ctl.GetProperty(name), 0);
        } catch (const ArnError&) {
        }
    }
    if (const auto* led = dynamic_cast<const ArnFieldLED*>(&ctl)) {
        shot[where + ".LEDField"] = DescribeField(led->get_LEDField());
        try {
            shot[where + ".Lit"] = Flag(led->IsLit());
        } catch (const ArnError&) {
            shot[where + ".Lit"] = "(gone)";
        }
    }
    if (const auto* editor = dynamic_cast<const ParamEditor*>(&ctl)) {
        const auto value = editor->get_ParamObject();
        shot[where + ".ParamObject"] =
            value ? "P" + std::to_string(value->get_ParamNumber()) : "Nothing";
        shot[where + ".DisplayText"] = editor->DisplayText();
    }
}

}  // namespace

PanelSnapshot TakeSnapshot(const ArnAbsPosnCtl& panel, SimNode& node, const ArnFieldLED* extraLed) {
    PanelSnapshot shot;
    for (const auto& ctl : panel.Controls()) {
        TakeControl(shot, *ctl);
    }
    if (extraLed) {
        TakeControl(shot, *extraLed);
    }

    shot["panel.attached"] = Flag(panel.IsAttached());
    shot["panel.rebindDue"] = Flag(panel.IsRebindDue());
    shot["panel.numPosns"] = std::to_string(panel.NumPosns());
    shot["panel.homingActive"] = Flag(panel.IsHomingActive());
    shot["panel.badPosn"] = Flag(panel.IsBadPosn());
    shot["panel.enabled"] = Flag(panel.get_Enabled());
    shot["panel.busy"] = Flag(panel.IsBusy());
    shot["panel.overrideCleared"] = Flag(panel.IsOverrideCleared());
    shot["panel.posnChecksDue"] = Flag(panel.IsPosnChecksDue());
    shot["panel.motionCheckDue"] = Flag(panel.IsMotionCheckDue());
    shot["panel.DisplayMsg"] = panel.get_DisplayMsg();

    if (const auto& io = panel.InputsObject()) {
        shot["io.displayEnable"] = DescribeField(io->DisplayEnableField());
        shot["io.triggerHeld"] = DescribeField(io->TriggerHeldField());
        shot["io.off"] = DescribeField(io->OffField());
    } else {
        shot["io"] = "Nothing";
    }

    const SimDrive& drive = node.Drive();
    for (const auto& def : SimParamTable()) {
        const std::string where = "node.P" + std::to_string(def.number);
        shot[where + ".drive"] = Number(drive.Read(def.number));
        if (node.ParamExists(def.number)) {
            shot[where + ".value"] = Number(node.Param(def.number)->Content());
        }
    }
    for (int pin = 0; pin < 3; ++pin) {
        const auto p = static_cast<SimPin>(pin);
        shot["drive.pin" + std::to_string(pin)] = Flag(drive.Pin(p));
        shot["drive.software" + std::to_string(pin)] = Flag(drive.SoftwareState(p));
    }
    shot["drive.followsPins"] = Flag(drive.FollowsPins());
    shot["drive.homing"] = Flag(drive.Homing());
    shot["drive.homed"] = Flag(drive.Homed());
    shot["drive.measured"] = Number(drive.MeasuredPosition());
    shot["drive.jogging"] = Flag(drive.Jogging());
    shot["drive.accelLimit"] = Number(drive.AccelLimit());
    shot["drive.decelLimit"] = Number(drive.DecelLimit());
    shot["drive.lastStopCode"] = std::to_string(drive.LastStopCode());
    return shot;
}

std::vector<std::string> Differences(const PanelSnapshot& expected, const PanelSnapshot& actual,
                                     std::size_t limit, bool (*skip)(const std::string& key)) {
    std::vector<std::string> found;
    auto add = [&](const std::string& key, std::string_view want, std::string_view got) {
        if (skip && skip(key)) {
            return;
        }
        if (found.size() < limit) {
            found.push_back(key + ": " + std::string(want) + " -> " + std::string(got));
        }
    };
    for (const auto& [key, want] : expected) {
        const auto it = actual.find(key);
        if (it == actual.end()) {
            add(key, want, "(missing)");
        } else if (it->second != want) {
            add(key, want, it->second);
        }
    }
    for (const auto& [key, got] : actual) {
        if (expected.count(key) == 0) {
            add(key, "(missing)", got);
        }
    }
    return found;
}

}  // namespace arn::test
