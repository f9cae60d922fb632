#include "inputs/jogAndSwInputs.h"

#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "core/NumberConversion.h"
#include "host/controls/ArnFieldLED.h"
#include "inputs/InputsBinding.h"
#include "platform/Beep.h"
#include "platform/Resources.h"
#include "support/DebuggingFlags.h"
#include "toolkit/ResPicture.h"
#include "toolkit/SSCheck.h"

namespace arn {

namespace {

// The software input states sit three bits up the stimulus register, at bits 16 to 18.
constexpr int32_t kSwStateMask = 0x7;
constexpr int32_t kSwStateShift = 0x10000;

// Ticks the held trigger bit stays on after the node's bit has left 1.
constexpr int16_t kTriggerHoldTicks = 3;

// A 16-bit Boolean widened with its sign, so it can meet 32-bit field values bitwise.
constexpr int32_t AsInt(bool b) {
    return b ? -1 : 0;
}

}  // namespace

jogAndSwInputs::jogAndSwInputs() : m_binding(std::make_unique<InputsBinding>(*this)) {
    SetupJogSpeedValue();
    SetupJogAccelValue();
    m_binding->m_fldOff = Field::Create();
    m_binding->m_fldOff->put_Value(0);
}

jogAndSwInputs::~jogAndSwInputs() = default;

// ---- node and net binding ----

void jogAndSwInputs::putref_NodeRef(std::shared_ptr<Node> newNode) {
    if (!newNode) {
        ReleaseNode();
        return;
    }
    m_binding->m_motion = std::dynamic_pointer_cast<Motion>(newNode);
    m_binding->m_node = std::move(newNode);

    Node& node = *m_binding->m_node;
    if (node.ParamExists(param::InputRegister)) {
        m_binding->m_inReg = node.Param(param::InputRegister);
        m_binding->m_fldEnableReqPin = m_binding->m_inReg->Field(fieldkey::EnableReq);
    }
    if (node.ParamExists(param::InputStimulus)) {
        m_binding->m_inStim = node.Param(param::InputStimulus);
        m_binding->m_fldForceEnabled = m_binding->m_inStim->Field(fieldkey::EnableRequestOverride);
    }
    if (node.ParamExists(param::JogAccel)) {
        m_binding->m_jogAccel = node.Param(param::JogAccel);
    }
    if (node.ParamExists(param::JogSpeed)) {
        m_binding->m_jogSpeed = node.Param(param::JogSpeed);
    }
    if (node.ParamExists(param::Status)) {
        m_binding->m_statusReg = node.Param(param::Status);
        m_binding->m_fldEnableReqStatus = m_binding->m_statusReg->Field(fieldkey::EnableReq);
    }
    if (node.ParamExists(param::AccumulatedStatus)) {
        BindAccumulatedStatus();
    }

    m_binding->m_displayEnable = Value::Create();
    m_binding->m_displayEnable->DefineField(fieldkey::EnableReq, 0, 1, "Enable Request");
    m_binding->m_displayEnableFld =
        m_binding->m_displayEnable->get_Fields().Item(fieldkey::EnableReq);
}

void jogAndSwInputs::ReleaseNode() {
    // The node is dropped and the stimulus register unwatched before the write, so the write's
    // own events find no node to act on; the other bindings stay through it.
    m_binding->m_node = nullptr;
    m_binding->m_motion = nullptr;
    m_binding->m_inStim = nullptr;
    // The node must not keep a software Enable asserted once nobody watches it.
    if (m_binding->m_fldForceEnabled) {
        m_binding->m_fldForceEnabled->put_Value(0);
    }
    m_binding = std::make_unique<InputsBinding>(*this);
}

void jogAndSwInputs::BindAccumulatedStatus() {
    m_binding->m_statusAccumReg = m_binding->m_node->Param(param::AccumulatedStatus);
    m_binding->m_fldTriggerSeen = m_binding->m_statusAccumReg->Field(fieldkey::TriggerDetected);

    m_trigCopy = Value::Create();
    (void)m_binding->m_statusAccumReg->CopyTo(m_trigCopy);
    // Without the node's trigger field there is no bit place to copy; the held field stays
    // as it was.
    if (!m_binding->m_fldTriggerSeen) {
        return;
    }
    m_trigCopy->DefineField(fieldkey::TriggerDetected, m_binding->m_fldTriggerSeen->get_BitIndex(),
                            m_binding->m_fldTriggerSeen->get_BitCount(), "");
    m_binding->m_fldTriggerHeld = m_trigCopy->get_Fields().Item(fieldkey::TriggerDetected);
    if (!m_binding->m_fldTriggerHeld) {
        return;
    }
    m_binding->m_fldTriggerHeld->get_ValueCaptions().RemoveAll();
    for (const auto& [key, entry] : m_binding->m_fldTriggerSeen->get_ValueCaptions()) {
        if (entry && entry->get_Active()) {
            m_binding->m_fldTriggerHeld->AddValueCaption(entry->get_CaptionValue(),
                                                         entry->get_CaptionText());
        }
    }
}

void jogAndSwInputs::putref_NetRef(std::shared_ptr<Net> theNet) {
    if (theNet) {
        m_zkAppEvts = theNet->get_AppEvents();
    } else {
        m_zkAppEvts = nullptr;
    }
}

// ---- input source ----

bool jogAndSwInputs::get_ExternalInputs() {
    if (!m_binding->m_node || !m_binding->m_node->ParamExists(param::InputStimulus)) {
        return false;
    }
    return m_binding->m_node->Param(param::InputStimulus)->get_NumberValue()->GetDouble() ==
           StimulusFollowsPins;
}

void jogAndSwInputs::put_ExternalInputs(bool newState) {
    if (!m_binding->m_node || !m_binding->m_inStim || !m_binding->m_inReg) {
        return;
    }
    if (newState) {
        m_binding->m_inStim->get_NumberValue()->SetDouble(StimulusFollowsPins);
    } else if (m_binding->m_fldEnableReqPin && m_binding->m_fldEnableReqPin->get_Value() == 0) {
        // Seed the software states with what the pins show now, so the hand-over is bumpless.
        const int32_t pins =
            ToLong(m_binding->m_inReg->get_NumberValue()->GetDouble(), "jogAndSwInputs");
        m_binding->m_inStim->get_NumberValue()->SetDouble((pins & kSwStateMask) * kSwStateShift);
    } else if (m_binding->m_fldEnableReqPin) {
        DebugTrace(*this, ".ExternalInputs: can't get into SW control when HW is enabled",
                   TraceLevelAlways, false);
    }
    // Without an Enable pin field there is no safe answer to whether software may take over,
    // so the register is left alone and nothing is traced.
    if (m_binding->m_statusReg) {
        m_binding->m_statusReg->Refresh();
    }
}

bool jogAndSwInputs::get_EnableReq() {
    return m_binding->m_fldForceEnabled && m_binding->m_fldForceEnabled->get_Value() == 1;
}

void jogAndSwInputs::put_EnableReq(bool newState) {
    if (get_ExternalInputs() || !m_binding->m_fldForceEnabled) {
        return;
    }
    m_binding->m_fldForceEnabled->put_Value(newState ? 1 : 0);
}

bool jogAndSwInputs::get_EnableReqPin() {
    return m_binding->m_displayEnableFld && m_binding->m_displayEnableFld->get_Value() != 0;
}

// ---- event handlers ----

void jogAndSwInputs::StimulusChanged(const std::shared_ptr<Value>& /*newVal*/) {
    if (!m_binding->m_inStim) {
        return;
    }
    if (m_binding->m_inStim->get_NumberValue()->GetDouble() == StimulusFollowsPins) {
        put_ExternalInputs(true);
        IOchanged(true);
    }
}

void jogAndSwInputs::m_inStim_ContentChanged(const std::shared_ptr<Value>& newVal) {
    StimulusChanged(newVal);
}

void jogAndSwInputs::m_inStim_ValueChanged(const std::shared_ptr<Value>& newVal) {
    StimulusChanged(newVal);
}

void jogAndSwInputs::m_fldEnableReqPin_UpdateView(const std::shared_ptr<Field>& obj) {
    m_extAtPinUpdate = get_ExternalInputs();
    DebugTrace(*this, ".m_fldEnableReqPin_UpdateView changed to " + obj->get_Name(),
               TraceLevelVerbose, false);
    // A pin change matters only under software control; any other pin update also withdraws
    // work marked earlier.
    m_ioChangedPending = ((~AsInt(m_extAtPinUpdate)) & obj->get_Value()) != 0;
}

void jogAndSwInputs::m_fldEnableReqStatus_UpdateView(const std::shared_ptr<Field>& /*obj*/) {}

void jogAndSwInputs::m_displayEnableFld_UpdateView(const std::shared_ptr<Field>& /*obj*/) {
    m_ioChangedPending = true;
}

void jogAndSwInputs::m_fldTriggerSeen_UpdateView(const std::shared_ptr<Field>& obj) {
    if (obj->get_Value() == 1) {
        if (m_binding->m_fldTriggerHeld) {
            m_binding->m_fldTriggerHeld->put_Value(1);
        }
    } else {
        m_trigHoldTicks = kTriggerHoldTicks;
    }
}

void jogAndSwInputs::m_zkAppEvts_TimerTick() {
    // A listener may drop this object from inside IOchanged; stay alive to finish the tick.
    const std::shared_ptr<jogAndSwInputs> keepAlive = weak_from_this().lock();

    AdvanceTriggerHold();
    UpdateDisplayEnable();

    if (m_ioChangedPending) {
        IOchanged(true);
        if (!m_extAtPinUpdate && m_binding->m_fldEnableReqPin) {
            EnableReqChanged(m_binding->m_fldEnableReqPin->get_Value() != 0);
        }
        m_ioChangedPending = false;
    }
}

void jogAndSwInputs::AdvanceTriggerHold() {
    if (m_trigHoldTicks > 0) {
        --m_trigHoldTicks;
        if (m_trigHoldTicks == 0 && m_binding->m_fldTriggerHeld) {
            m_binding->m_fldTriggerHeld->put_Value(0);
        }
    }
}

void jogAndSwInputs::UpdateDisplayEnable() {
    if (!m_binding->m_displayEnableFld || !m_binding->m_fldEnableReqPin) {
        return;
    }
    // Under software control the display follows the hardware pin; under external inputs it
    // follows the node's own Enable request status.
    int32_t shown;
    if (!m_binding->m_fldEnableReqStatus) {
        shown = (~AsInt(get_ExternalInputs())) & m_binding->m_fldEnableReqPin->get_Value();
    } else {
        const int32_t swTerm =
            (~AsInt(get_ExternalInputs())) & m_binding->m_fldEnableReqPin->get_Value();
        const int32_t extTerm =
            AsInt(get_ExternalInputs()) & m_binding->m_fldEnableReqStatus->get_Value();
        shown = swTerm | extTerm;
    }
    m_binding->m_displayEnableFld->put_Value(shown);
}

// ---- LEDs and check boxes ----

void jogAndSwInputs::ApplyScheme(ArnFieldLED& led, bool active) {
    led.put_LEDOnColor(active ? ActiveOnColor : InactiveOnColor);
    led.put_LEDOffColor(active ? ActiveOffColor : InactiveOffColor);
}

void jogAndSwInputs::SetupHwLED(ArnFieldLED& hwLED, bool isAccLed) {
    const bool ext = get_ExternalInputs();
    const std::string key = hwLED.get_fieldkey();

    if (isAccLed) {
        if (m_binding->m_statusAccumReg && m_binding->m_statusAccumReg->get_Fields().Exists(key)) {
            if (key == fieldkey::TriggerDetected) {
                hwLED.putref_LEDField(m_binding->m_fldTriggerHeld);
            } else {
                hwLED.putref_LEDField(m_binding->m_statusAccumReg->get_Fields().Item(key));
            }
        } else {
            hwLED.putref_LEDField(nullptr);
            DebugTrace(*this, "***StatusAccum LED Item Missing: " + key, TraceLevelAlways, false);
        }
    }

    bool lookedUp = false;
    if (key == fieldkey::EnableReq) {
        hwLED.putref_LEDField(m_binding->m_displayEnableFld.get());
        ApplyScheme(hwLED, ext);
    } else if (ext) {
        if (!isAccLed) {
            hwLED.putref_LEDField(m_binding->m_statusReg ? m_binding->m_statusReg->Field(key)
                                                         : nullptr);
            lookedUp = true;
        }
        ApplyScheme(hwLED, true);
    } else {
        if (!isAccLed) {
            hwLED.putref_LEDField(m_binding->m_inReg ? m_binding->m_inReg->Field(key) : nullptr);
            lookedUp = true;
        }
        ApplyScheme(hwLED, false);
    }
    if (lookedUp && !hwLED.get_LEDField()) {
        DebugTrace(*this, "***Status LED Item Missing: " + key, TraceLevelAlways, false);
    }
}

void jogAndSwInputs::SetupSwLED(ArnFieldLED& swLED, std::optional<bool> forcedOff) {
    // Both operands are read, as the combined test always did.
    const bool forced = forcedOff.value_or(false);
    const bool ext = get_ExternalInputs();
    if (forced || ext) {
        swLED.putref_LEDField(m_binding->m_fldOff);
        ApplyScheme(swLED, false);
        return;
    }
    const std::string key = swLED.get_fieldkey();
    swLED.putref_LEDField(m_binding->m_statusReg ? m_binding->m_statusReg->Field(key) : nullptr);
    if (!swLED.get_LEDField()) {
        DebugTrace(*this, "***Status LED Item Missing: " + key, TraceLevelAlways, false);
    }
    ApplyScheme(swLED, true);
}

void jogAndSwInputs::UpdateCheckbox(SSCheck& chk) {
    const bool enabled = chk.get_Enabled();
    const bool checked = chk.get_CheckValue();
    int32_t icon;
    if (enabled) {
        icon = checked ? ResIconCheckEnabledChecked : ResIconCheckEnabledUnchecked;
    } else {
        icon = checked ? ResIconCheckDisabledChecked : ResIconCheckDisabledUnchecked;
    }
    chk.putref_CheckPicture(LoadResPicture(icon));
}

// ---- jog ----

void jogAndSwInputs::SetupJogSpeedValue() {
    m_binding->m_jogSpeed = Value::Create();
    m_binding->m_jogSpeed->put_Name("Speed");
    m_binding->m_jogSpeed->put_FormatStr("#,##0");
    m_binding->m_jogSpeed->put_ParamNumber(40);
    m_binding->m_jogSpeed->get_NumberValue()->put_SpeedReference(100.0);
    m_binding->m_jogSpeed->get_UnitsInfo()->put_UnitsReference(1.0);
}

void jogAndSwInputs::SetupJogAccelValue() {
    m_binding->m_jogAccel = Value::Create();
    m_binding->m_jogAccel->put_Name("Accel.");
    m_binding->m_jogAccel->put_FormatStr("#,##0");
    m_binding->m_jogAccel->put_ParamNumber(35);
    m_binding->m_jogAccel->get_NumberValue()->put_AccelReference(4.0);
    m_binding->m_jogAccel->get_UnitsInfo()->put_UnitsReference(1.0);
}

void jogAndSwInputs::putref_JogSpeed(std::shared_ptr<Value> newRef) {
    if (!newRef) {
        SetupJogSpeedValue();
    } else {
        m_binding->m_jogSpeed = std::move(newRef);
    }
}

std::shared_ptr<Value> jogAndSwInputs::get_JogSpeed() const {
    return m_binding->m_jogSpeed;
}

void jogAndSwInputs::putref_JogAccel(std::shared_ptr<Value> newRef) {
    if (!newRef) {
        SetupJogAccelValue();
    } else {
        m_binding->m_jogAccel = std::move(newRef);
    }
}

std::shared_ptr<Value> jogAndSwInputs::get_JogAccel() const {
    return m_binding->m_jogAccel;
}

std::shared_ptr<Field> jogAndSwInputs::TriggerHeldField() const {
    return m_binding->m_fldTriggerHeld;
}

std::shared_ptr<Field> jogAndSwInputs::OffField() const {
    return m_binding->m_fldOff;
}

std::shared_ptr<Field> jogAndSwInputs::DisplayEnableField() const {
    return m_binding->m_displayEnableFld.get();
}

void jogAndSwInputs::JogStart(bool reverseDir) {
    if (!m_binding->m_node || !m_binding->m_motion || !m_binding->m_jogSpeed ||
        !m_binding->m_jogAccel) {
        return;
    }
    try {
        const double saved = m_binding->m_motion->get_AccelLimit();
        m_binding->m_motion->put_AccelLimit(m_binding->m_jogAccel->get_NumberValue()->GetDouble());
        m_binding->m_motion->put_DecelLimit(m_binding->m_motion->get_AccelLimit());
        m_binding->m_motion->MoveVelocity(
            m_binding->m_jogSpeed->get_NumberValue()->GetDouble() * (reverseDir ? -1 : 1), 0, 0);
        // The deceleration limit ends equal to the restored acceleration limit, not to its
        // own earlier value.
        m_binding->m_motion->put_AccelLimit(saved);
        m_binding->m_motion->put_DecelLimit(m_binding->m_motion->get_AccelLimit());
    } catch (const std::exception&) {
        Beep();
    }
}

void jogAndSwInputs::JogEnd() {
    if (!m_binding->m_node || !m_binding->m_motion) {
        return;
    }
    try {
        m_binding->m_motion->NodeStop(JogStopCode);
    } catch (const std::exception&) {
        Beep();
    }
}

}  // namespace arn
