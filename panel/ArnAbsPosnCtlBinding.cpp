// Field binding and control enabling of the position panel.
#include "core/ErrorCatalogue.h"
#include "core/ObjectRef.h"
#include "host/controls/ArnFieldLED.h"
#include "host/controls/ParamEditor.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/NodeBinding.h"
#include "support/ControlUtils.h"
#include "support/DebuggingFlags.h"
#include "support/lyrFormUtils.h"

namespace arn {

namespace {

// Runs one binding step; a failure leaves the step's member as it was and binding goes on,
// so a node that lacks some parameters or fields still gets every binding it supports.
template <class Step>
void Skippable(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

std::shared_ptr<Field> ArnAbsPosnCtl::NodeField(int32_t param, const char* key) const {
    return Deref(Deref(m_binding->m_node).Param(param)).Field(key);
}

void ArnAbsPosnCtl::AttachNodeProc() {
    if (!m_binding->m_node) {
        return;
    }
    Node& node = *m_binding->m_node;

    // Until the editor pass, a failure shows the content (so the user sees a panel, not a
    // blank), is traced, and binding continues.
    auto traced = [this](auto&& step) {
        try {
            step();
        } catch (const std::exception& e) {
            put_Show(true);
            DebugTrace(*this, ".AttachNodeProc err=" + ErrDescription(e), TraceLevelAlways, false);
        }
    };
    traced([&] { LocalizeControls(*this); });
    traced([&] {
        auto item = Deref(node.Param(param::Configuration))
                        .get_Fields()
                        .Item(fieldkey::ConfigurationSource);
        if (!item) {
            throw MakeError(err::ObjectRequired, "");
        }
        m_binding->m_cfgSrcFld = item;
        m_cfgSrcFld_UpdateView(item);
    });

    for (const auto& editor : m_ctl.ParamItems) {
        Skippable([&] {
            int32_t number = editor->get_Parameter();
            if (number != 0 && node.ParamExists(number)) {
                editor->putref_ParamObject(node.Param(number));
            } else {
                editor->putref_ParamObject(nullptr);
            }
        });
    }

    for (const auto& triangle : m_ctl.warnTriangle) {
        Skippable([&] { triangle->put_Visible(false); });
    }

    Skippable([&] {
        const auto& fields = Deref(node.Param(param::Status)).get_Fields();
        if (fields.Exists(fieldkey::PositionRecovering)) {
            m_binding->m_posnRecoveringFld = fields.Item(fieldkey::PositionRecovering);
        }
    });
    Skippable([&] {
        const auto& fields = Deref(node.Param(param::Status)).get_Fields();
        if (fields.Exists(fieldkey::Homing)) {
            m_binding->m_homingFld = fields.Item(fieldkey::Homing);
            m_monitor.ResetHoming(Deref(m_binding->m_homingFld).get_Value() == 1);
        } else {
            m_monitor.ResetHoming(false);
        }
    });
    Skippable(
        [&] { m_binding->m_fldEnableReqStatus = NodeField(param::Status, fieldkey::EnableReq); });
    Skippable([&] {
        m_binding->m_opModeFld = NodeField(param::MotionSetup, fieldkey::OperationalMode);
        m_positions.m_opModeFld_UpdateView(m_binding->m_opModeFld.get());
    });
    Skippable([&] {
        m_binding->m_units = node.Param(param::UnitsSelect);
        m_positions.m_units_ValueChanged(m_binding->m_units.get());
    });
    Skippable([&] {
        m_binding->m_enableOrFld = NodeField(param::InputStimulus, fieldkey::EnableRequestOverride);
    });
    Skippable(
        [&] { m_binding->m_inAOrFld = NodeField(param::InputStimulus, fieldkey::InputAOverride); });
    Skippable(
        [&] { m_binding->m_inBOrFld = NodeField(param::InputStimulus, fieldkey::InputBOverride); });
    Skippable([&] {
        m_binding->m_homingDirFld = NodeField(param::MotionSetup, fieldkey::HomingDirection);
    });
    Skippable([&] { m_binding->m_rotAxisFld = NodeField(param::MotionSetup, fieldkey::AxisType); });
    Skippable([&] {
        if (node.ParamExists(param::MaxTravel)) {
            m_binding->m_maxTravel = node.Param(param::MaxTravel);
        }
    });
    Skippable([&] {
        if (node.ParamExists(param::PositionWindow)) {
            m_binding->m_posnWindowValue = node.Param(param::PositionWindow);
        }
    });
    Skippable([&] {
        m_binding->m_homeSensorPolarityFld =
            NodeField(param::MotionSetup, fieldkey::HomeSensorPolarity);
    });
    Skippable([&] {
        const bool four = Deref(m_binding->m_opModeFld.get()).get_Value() == opmode::FourPositions;
        m_positions.SetNumPosns(four ? 4 : 2);
    });
    for (int16_t i = 0; i < m_positions.NumPosns(); ++i) {
        Skippable([&] {
            m_binding->m_posnValues[static_cast<size_t>(i)] = node.Param(param::Position1 + i);
        });
    }
    Skippable([&] { m_binding->m_posnSetting0 = node.Param(param::Position1); });
    Skippable([&] { m_binding->m_posnSetting1 = node.Param(param::Position1 + 1); });
    if (m_positions.NumPosns() > 2) {
        Skippable([&] { m_binding->m_posnSetting2 = node.Param(param::Position1 + 2); });
        Skippable([&] { m_binding->m_posnSetting3 = node.Param(param::Position1 + 3); });
    }
    Skippable(
        [&] { m_binding->m_motionPendingFld = NodeField(param::Status, fieldkey::MotionPending); });
    Skippable([&] { m_binding->m_posnMeas = node.Param(param::MeasuredPosition); });
    Skippable([&] { UpdateInputControls(Deref(m_io.get()).get_ExternalInputs()); });
    Skippable([&] {
        if (node.ParamExists(param::TeachingSetup)) {
            m_binding->m_teachingEnabledFld =
                NodeField(param::TeachingSetup, fieldkey::TeachAbsolutePositions);
            if (m_binding->m_teachingEnabledFld) {
                m_ctl.teachingCheck->put_Value(static_cast<int16_t>(
                    m_binding->m_teachingEnabledFld->get_Value() != 0 ? 1 : 0));
                m_ctl.teachingCheck->put_Enabled(m_enabled);
            }
        } else {
            m_binding->m_teachingEnabledFld = nullptr;
        }
    });
    Skippable([&] {
        m_binding->m_homingExFld = node.ParamExists(param::TeachingSetup)
                                       ? NodeField(param::TeachingSetup, fieldkey::HomingEx)
                                       : nullptr;
    });
    Skippable([&] { m_binding->m_wasHomed = NodeField(param::Status, fieldkey::HomingComplete); });

    Skippable([&] { UpdateTeachingWarning(); });
    put_Show(true);
}

void ArnAbsPosnCtl::UpdateFocus(bool newState) {
    m_enabled = newState;
    const auto& plan = m_focusPlan.Of(*this, m_ctl);
    if (!m_binding->m_net || !m_binding->m_node) {
        for (const auto& entry : plan) {
            if (entry.role == FocusPlan::Role::Passive || entry.role == FocusPlan::Role::Plain) {
                continue;
            }
            try {
                entry.control->put_Enabled(false);
            } catch (const std::exception& e) {
                DebugTrace(*this, ".UpdateFocus err=" + ErrDescription(e), TraceLevelAlways, false);
            }
        }
        return;
    }

    bool ext = false;
    try {
        ext = Deref(m_io.get()).get_ExternalInputs();
    } catch (const std::exception& e) {
        DebugTrace(*this, ".UpdateFocus err=" + ErrDescription(e), TraceLevelAlways, false);
    }
    for (const auto& entry : plan) {
        try {
            EnableControl(entry, newState, ext);
        } catch (const std::exception& e) {
            DebugTrace(*this, ".UpdateFocus err=" + ErrDescription(e), TraceLevelAlways, false);
        }
    }
}

void ArnAbsPosnCtl::EnableControl(const FocusPlan::Entry& entry, bool newState, bool ext) {
    Control& ctl = *entry.control;
    switch (entry.role) {
        case FocusPlan::Role::Passive:
            return;
        case FocusPlan::Role::InCheck: {
            SSCheck& chk = m_ctl.inCheck(ctl.get_Index());
            chk.put_Enabled(newState && !ext);
            Deref(m_io.get()).UpdateCheckbox(chk);
            return;
        }
        case FocusPlan::Role::HardStop:
            ctl.put_Enabled(newState && m_monitor.HomingActive());
            return;
        case FocusPlan::Role::InputOption:
            ctl.put_Enabled(newState && !Deref(m_io.get()).get_EnableReqPin());
            return;
        case FocusPlan::Role::TeachingCheck:
            ctl.put_Enabled(newState && static_cast<bool>(m_binding->m_teachingEnabledFld));
            return;
        case FocusPlan::Role::Editor:
            // The parameter is read on each call: binding may point an editor elsewhere.
            if (param::IsPosition1To4(ctl.EditedParameter().value_or(0))) {
                ctl.put_Enabled(newState && !m_monitor.HomingActive());
                return;
            }
            ctl.put_Enabled(newState);
            return;
        case FocusPlan::Role::Plain:
        case FocusPlan::Role::Input:
            ctl.put_Enabled(newState);
            return;
    }
}

void ArnAbsPosnCtl::UpdateInputControls(bool extInputs) {
    BusyScope busy(m_busy);
    // A failing step ends the routine quietly; the busy flag is restored in every case.
    try {
        m_ctl.inputOptChk->put_Value(static_cast<int16_t>(extInputs ? 0 : 1));
        m_ctl.swItemFrame(0).put_Enabled(!extInputs);
        jogAndSwInputs& io = Deref(m_io.get());
        if (!m_overrideCleared) {
            for (int16_t i = 0; i < 3; ++i) {
                io.SetupHwLED(m_ctl.fldStatusLED(i));
            }
            m_binding->m_inAFld = m_ctl.fldStatusLED(1).get_LEDField();
            m_binding->m_inBFld = m_ctl.fldStatusLED(2).get_LEDField();
        }
        m_monitor.FlagMotionCheck();
        if (m_binding->m_enableOrFld) {
            m_ctl.inCheck(0).put_CheckValue(m_binding->m_enableOrFld->get_Value() != 0);
            m_ctl.inCheck(1).put_CheckValue(Deref(m_binding->m_inAOrFld.get()).get_Value() != 0);
            m_ctl.inCheck(2).put_CheckValue(Deref(m_binding->m_inBOrFld.get()).get_Value() != 0);
        }
        for (int16_t i = 0; i < 3; ++i) {
            io.SetupSwLED(m_ctl.swLED(i));
        }
        UpdateFocus(m_enabled);
    } catch (const std::exception&) {
    }
}

}  // namespace arn
