// The position table of the panel: layout by operational mode, units caption, per-position
// warnings against the homing setup.
#include <cmath>

#include "core/ErrorCatalogue.h"
#include "core/ObjectRef.h"
#include "host/controls/ParamEditor.h"
#include "host/values/Number.h"
#include "panel/NodeBinding.h"
#include "panel/PanelStrings.h"
#include "panel/PositionTable.h"

namespace arn {

PositionTable::PositionTable(PanelControls& ctl, const std::unique_ptr<NodeBinding>& binding)
    : m_ctl(ctl), m_binding(binding) {}

void PositionTable::m_opModeFld_UpdateView(const std::shared_ptr<Field>& obj) {
    if (!m_binding->m_node) {
        return;
    }
    const int32_t mode = Deref(obj).get_Value();
    m_ctl.posnSettingsFrame->put_Visible(true);
    for (int16_t i = 0; i < 4; ++i) {
        m_ctl.ParamItems(i).put_Visible(true);
    }
    for (const auto& label : m_ctl.Label) {
        label->put_Visible(true);
    }

    // Four positions are picked by Input A and Input B; any other mode uses two, picked by
    // Input A, and narrows the frame so that editors 3 and 4 fall outside it.
    const bool four = mode == opmode::FourPositions;
    const int16_t shown = four ? 4 : 2;
    for (int16_t i = 0; i < shown; ++i) {
        m_ctl.warnTriangle(i).put_Top(720);
        m_ctl.warnTriangle(i).put_Left(m_ctl.ParamItems(i).get_Left() +
                                       m_ctl.ParamItems(i).get_Width() - 10);
    }
    ParamEditor& last = m_ctl.ParamItems(static_cast<int16_t>(shown - 1));
    m_ctl.posnSettingsFrame->put_Width(last.get_Left() + last.get_Width() + 300);
    m_ctl.ParamItems(2).put_Active(four);
    m_ctl.ParamItems(3).put_Active(four);
    if (four) {
        m_ctl.inALbl->put_Caption("P-sel A");
        m_ctl.inBLbl->put_Caption("P-sel B");
    } else {
        m_ctl.inALbl->put_Caption("Position");
        m_ctl.inBLbl->put_Caption(ResString(8119));
    }
    m_ctl.Label(3).put_Visible(four);
    m_ctl.IndexLbl->put_Visible(false);
    m_ctl.IndexLabelLbl->put_Visible(false);

    const bool columnB = m_ctl.Label(3).get_Visible();
    m_ctl.Label(4).put_Visible(columnB);
    m_ctl.Label(8).put_Visible(columnB);
    m_ctl.Label(9).put_Visible(columnB);
    m_posnChecksDue = true;
}

void PositionTable::m_units_ValueChanged(const std::shared_ptr<Value>&) {
    std::string quantity;
    std::string units;
    Deref(Deref(Deref(m_binding->m_node).Param(param::UnitsText)).get_UnitsInfo())
        .GetUnitsText(quantity, units);
    m_ctl.posnSettingsFrame->put_Caption("Position Selection Setup (" + units + ")");
}

double PositionTable::PositionOf(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(m_binding->m_posnValues.size())) {
        throw MakeError(err::SubscriptOutOfRange, "");
    }
    return Deref(Deref(m_binding->m_posnValues[static_cast<size_t>(index)]).get_NumberValue())
        .GetDouble();
}

void PositionTable::UpdatePositionWarnings() {
    // Every value is read fresh on each use: the tick runs this at most once, and a cached
    // reading could hide a change that arrived between two ticks.
    const bool homingEx = m_binding->m_homingExFld && m_binding->m_homingExFld->get_Value() == 1;
    const int32_t mode = Deref(m_binding->m_opModeFld.get()).get_Value();
    const int32_t axis = Deref(m_binding->m_rotAxisFld.get()).get_Value();
    const bool checked = (mode == opmode::HomeToHardStop && axis == 0) ||
                         (mode == opmode::FourPositions && !homingEx);

    for (int16_t i = 0; i < m_numPosns; ++i) {
        Image& icon = m_ctl.warnTriangle(i);
        if (!checked) {
            icon.put_Visible(false);
            icon.put_ToolTipText("");
            continue;
        }
        const double p = PositionOf(i);
        const int32_t dir = Deref(m_binding->m_homingDirFld.get()).get_Value();
        const bool onHomingSide = (dir == 1 && p < 0) || (dir == 0 && p > 0);
        if (onHomingSide) {
            icon.put_Visible(true);
            const bool stopMode =
                Deref(m_binding->m_opModeFld.get()).get_Value() == opmode::HomeToHardStop;
            icon.put_ToolTipText(ResString(stopMode ? 18518 : 18520));
        } else {
            icon.put_Visible(false);
            icon.put_ToolTipText("");
        }
        // A maximum travel of 0 switches the travel check off, and so does a node without
        // one; a direction message already on the icon wins over the travel message.
        const double m = m_binding->m_maxTravel
                             ? Deref(m_binding->m_maxTravel->get_NumberValue()).GetDouble()
                             : 0.0;
        if (m != 0 && std::fabs(p) > m) {
            icon.put_Visible(true);
            if (icon.get_ToolTipText().empty()) {
                icon.put_ToolTipText(ResString(18519));
            }
        }
    }

    bool bad = false;
    for (int16_t i = 0; i < m_numPosns; ++i) {
        bad = bad || m_ctl.warnTriangle(i).get_Visible();
    }
    m_badPosn = bad;
}

}  // namespace arn
