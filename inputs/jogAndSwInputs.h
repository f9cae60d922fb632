#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/Event.h"
#include "host/AppEvents.h"
#include "host/Motion.h"
#include "host/Net.h"
#include "host/Node.h"
#include "host/NodeParams.h"
#include "host/values/Field.h"
#include "host/values/Value.h"

namespace arn {

class ArnFieldLED;
class SSCheck;
struct InputsBinding;

// Drives a motor node's three digital inputs (Enable, Input A, Input B) from software, keeps
// the Enable state that the panel displays, binds and colours the status LEDs, picks the
// pictures of the override check boxes and offers jog commands.
//
// Software control versus external inputs is the state of the node's stimulus register
// (parameter 265), never a flag of this object: it is read afresh on every use. Field and
// value events only mark work; the host's timer tick raises IOchanged / EnableReqChanged.
// Everything runs on the host's UI thread.
class jogAndSwInputs : public std::enable_shared_from_this<jogAndSwInputs> {
  public:
    // LED colour schemes (&HBBGGRR): the source in control is lit bright on black, the other
    // source (and a forced-off LED) is drawn dim on grey.
    static constexpr int32_t ActiveOnColor = 0xFFB900;
    static constexpr int32_t ActiveOffColor = 0x000000;
    static constexpr int32_t InactiveOnColor = 0xAA7B00;
    static constexpr int32_t InactiveOffColor = 0x797979;

    // Stop code that ends a jog.
    static constexpr int32_t JogStopCode = 65;

    // Created unbound, with fresh formatted jog values and the always-off LED field.
    jogAndSwInputs();
    jogAndSwInputs(const jogAndSwInputs&) = delete;
    jogAndSwInputs& operator=(const jogAndSwInputs&) = delete;
    // Dropping the object writes nothing to the node; it only releases its references.
    ~jogAndSwInputs();

    // Binds the node's input (35), stimulus (265), jog (213, 214), status (181) and
    // accumulated status (180) registers where the node has them, and builds a fresh display
    // Enable field. A missing parameter leaves its members as they were. nullptr detaches:
    // the software Enable state on the node is cleared to 0 before every field is released.
    void putref_NodeRef(std::shared_ptr<Node> newNode);
    // Subscribes to (or, with nullptr, drops) the net's TimerTick.
    void putref_NetRef(std::shared_ptr<Net> theNet);

    // True exactly when the stimulus register reads StimulusFollowsPins (65535); False without a
    // node or without a stimulus register.
    bool get_ExternalInputs();
    // True hands the inputs to the hardware pins. False hands them to software, seeding the
    // software states from the current input register; refused with a trace while the
    // hardware Enable pin is set. The status register is refreshed in every case.
    void put_ExternalInputs(bool newState);

    // The software Enable state; writable only under software control.
    bool get_EnableReq();
    void put_EnableReq(bool newState);
    // The Enable state shown to the user (hardware pin under software control, the node's
    // Enable request status under external inputs).
    bool get_EnableReqPin();

    // Binds a hardware-input LED (or, with isAccLed, an accumulated-status LED) to its field
    // by the LED's fieldkey and colours it by the source in control. Missing fields are traced
    // and leave the LED bound to none. Errors of the LED or the node are not caught.
    void SetupHwLED(ArnFieldLED& hwLED, bool isAccLed = false);
    // Binds a software-input LED to the status register's field, or shows it off (and dim)
    // when forcedOff is True or the inputs are external.
    void SetupSwLED(ArnFieldLED& swLED, std::optional<bool> forcedOff = std::nullopt);
    // Sets the check box's picture from its enabled and checked states.
    void UpdateCheckbox(SSCheck& chk);

    // Jog values. nullptr installs a fresh value formatted for the jog; any other value is
    // taken unchanged.
    void putref_JogSpeed(std::shared_ptr<Value> newRef);
    std::shared_ptr<Value> get_JogSpeed() const;
    void putref_JogAccel(std::shared_ptr<Value> newRef);
    std::shared_ptr<Value> get_JogAccel() const;
    // Starts a velocity move at the jog speed and acceleration, restoring the node's limits
    // afterwards. Node errors sound the system beep and end the call.
    void JogStart(bool reverseDir);
    // Stops a jog. Node errors sound the system beep.
    void JogEnd();

    // The inputs went (or must go) to external control; always raised with True.
    Event<bool> IOchanged;
    // The hardware Enable pin reads set (True) or clear (False).
    Event<bool> EnableReqChanged;

    // Event handlers, public so the behaviour on each event can be driven directly.
    void m_inStim_ContentChanged(const std::shared_ptr<Value>& newVal);
    void m_inStim_ValueChanged(const std::shared_ptr<Value>& newVal);
    void m_fldEnableReqPin_UpdateView(const std::shared_ptr<Field>& obj);
    void m_fldEnableReqStatus_UpdateView(const std::shared_ptr<Field>& obj);
    void m_displayEnableFld_UpdateView(const std::shared_ptr<Field>& obj);
    void m_fldTriggerSeen_UpdateView(const std::shared_ptr<Field>& obj);
    void m_zkAppEvts_TimerTick();

    // The held copy of the node's "Trigger Detected" bit (none until a node with parameter
    // 180 is bound) and the always-off LED field.
    std::shared_ptr<Field> TriggerHeldField() const;
    std::shared_ptr<Field> OffField() const;
    std::shared_ptr<Field> DisplayEnableField() const;

  private:
    // Drops the node: the software Enable state on it is cleared to 0, then every binding is
    // released at once.
    void ReleaseNode();
    void StimulusChanged(const std::shared_ptr<Value>& newVal);
    void BindAccumulatedStatus();
    void AdvanceTriggerHold();
    void UpdateDisplayEnable();
    void SetupJogSpeedValue();
    void SetupJogAccelValue();
    static void ApplyScheme(ArnFieldLED& led, bool active);

    // The node and what is bound from it, released as a whole (see InputsBinding).
    std::unique_ptr<InputsBinding> m_binding;
    // The net's tick; it is bound and released with the net, apart from the node.
    WithEvents<AppEvents> m_zkAppEvts{[this](AppEvents& e, std::vector<Connection>& c) {
        c.push_back(e.TimerTick.connect([this] { m_zkAppEvts_TimerTick(); }));
    }};
    // Work marked by field events for the next tick.
    bool m_ioChangedPending = false;
    bool m_extAtPinUpdate = false;
    // The value that owns the held trigger field. It outlives a release of the node, so an
    // LED still bound to the held field reads its last state.
    std::shared_ptr<Value> m_trigCopy;
    int16_t m_trigHoldTicks = 0;
};

}  // namespace arn
