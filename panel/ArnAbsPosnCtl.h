#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Event.h"
#include "host/AppEvents.h"
#include "host/DriveEvents.h"
#include "host/Net.h"
#include "host/NetSupervisor.h"
#include "host/Node.h"
#include "host/NodeParams.h"
#include "host/UIuserControl.h"
#include "host/values/Field.h"
#include "host/values/Value.h"
#include "inputs/jogAndSwInputs.h"
#include "panel/BusyScope.h"
#include "panel/FocusPlan.h"
#include "panel/HomingMonitor.h"
#include "panel/PanelControls.h"
#include "panel/PanelIds.h"
#include "panel/PositionTable.h"
#include "toolkit/UserControl.h"

namespace arn {

struct NodeBinding;

// The absolute-position setup panel of one motor node.
//
// Lifecycle: Create() initialises the panel; the host attaches it through UIuserControl
// (AttachControl only stores references and subscribes; the next TimerTick binds the node's
// fields), shows and enables it, and releases it. Everything runs on the host's UI thread;
// handlers of field and value events only set work flags, and each TimerTick does the work once.
//
// Error traps: AttachControl, AttachNodeProc, UpdateFocus, the hard-stop click and the timer
// tick catch failures of outside objects and trace them; every other entry point lets them
// reach its caller.
class ArnAbsPosnCtl : public UserControl,
                      public UIuserControl,
                      public std::enable_shared_from_this<ArnAbsPosnCtl> {
  public:
    // Creates the panel and runs its initialisation, as the platform does.
    static std::shared_ptr<ArnAbsPosnCtl> Create();
    ~ArnAbsPosnCtl() override;

    // --- automation interface _ArnAbsPosnCtl ---
    std::shared_ptr<UIuserControl> get_UIref();
    void put_DisplayMsg(const std::string& msg);
    std::string get_DisplayMsg() const;
    void put_Show(bool visible);
    void put_Enabled(bool newState);
    bool get_Enabled() const { return m_enabled; }
    std::vector<std::shared_ptr<Form>> get_UIuserControl_MyForms();

    // --- event interface __ArnAbsPosnCtl (declaration order) ---
    Event<> ShowHoming;
    Event<> ShowTrqLim;
    Event<> ShowJerkLim;
    Event<> Show16Posns;  // declared for hosts; never raised
    Event<> ShowTeachingDlg;

    // --- UIuserControl ---
    void UIuserControl_ReleaseControl();
    void UIuserControl_AttachControl(const std::shared_ptr<Net>& theNet,
                                     const std::shared_ptr<Node>& theNode,
                                     const std::shared_ptr<void>& theAppObj,
                                     const std::string& regName, const std::string& regSect);
    int32_t UIuserControl_BarColor() const { return 0; }
    std::string UIuserControl_VersionStr() const;
    std::shared_ptr<Dictionary<std::string>> UIuserControl_ControlVersionList();
    std::vector<std::shared_ptr<Form>> UIuserControl_MyForms();

    void ReleaseControl() override { UIuserControl_ReleaseControl(); }
    void AttachControl(const std::shared_ptr<Net>& theNet, const std::shared_ptr<Node>& theNode,
                       const std::shared_ptr<void>& theAppObj, const std::string& regName,
                       const std::string& regSect) override {
        UIuserControl_AttachControl(theNet, theNode, theAppObj, regName, regSect);
    }
    int32_t get_BarColor() override { return UIuserControl_BarColor(); }
    std::string get_VersionStr() override { return UIuserControl_VersionStr(); }
    std::shared_ptr<Dictionary<std::string>> get_ControlVersionList() override {
        return UIuserControl_ControlVersionList();
    }
    std::vector<std::shared_ptr<Form>> get_MyForms() override { return UIuserControl_MyForms(); }

    // The panel's controls by name, for hosts that draw the panel and for tests; Controls()
    // lists the same controls in control order.
    const PanelControls& NamedControls() const { return m_ctl; }
    PanelControls& NamedControls() { return m_ctl; }
    // The inputs object of the current binding.
    const std::shared_ptr<jogAndSwInputs>& InputsObject() const { return m_io.get(); }

    // Read-only view of the state flags, for hosts and tests.
    bool IsAttached() const { return m_attached; }
    bool IsRebindDue() const { return m_rebindDue; }
    int16_t NumPosns() const { return m_positions.NumPosns(); }
    bool IsHomingActive() const { return m_monitor.HomingActive(); }
    bool IsBadPosn() const { return m_positions.BadPosn(); }
    // True only while the panel is inside one of its own operations (m_busy).
    bool IsBusy() const { return m_busy; }
    bool IsOverrideCleared() const { return m_overrideCleared; }
    // Work that the next tick will serve.
    bool IsPosnChecksDue() const { return m_positions.PosnChecksDue(); }
    bool IsMotionCheckDue() const { return m_monitor.MotionCheckDue(); }

  protected:
    ArnAbsPosnCtl();

    void UserControl_Initialize() override;
    void UserControl_Terminate() override;
    void UserControl_Show() override;
    void UserControl_Hide() override;
    void UserControl_Resize() override;

  private:
    // The parts of the panel reach its handlers and state.
    friend struct NodeBinding;
    friend class HomingMonitor;

    // Field binding and control enabling.
    void AttachNodeProc();
    void UpdateFocus(bool newState);
    void UpdateInputControls(bool extInputs);
    void EnableControl(const FocusPlan::Entry& entry, bool newState, bool ext);

    // Commands.
    void teachingCheck_Click();
    void m_teachingEnabledFld_UpdateView(const std::shared_ptr<Field>& obj);
    void m_wasHomed_UpdateView(const std::shared_ptr<Field>& obj);
    void UpdateTeachingWarning();
    void teachingCmd_Click();
    void hardStopCmd_Click();
    void inCheck_Click(int16_t Index, int16_t Value);
    void inputOptChk_Click();
    void m_io_EnableReqChanged(bool newState);
    void m_io_IOchanged(bool inExternalMode);

    // Periodic monitor and view updates.
    void m_zkAppEvts_TimerTick();
    void TimerTickBody();
    void m_cfgSrcFld_UpdateView(const std::shared_ptr<Field>& obj);
    void OverrideUpdateView(const char* trace, int16_t index, const std::shared_ptr<Field>& fld);
    void m_fldEnableReqStatus_UpdateView(const std::shared_ptr<Field>& obj);
    void FlagMotionCheck() { m_monitor.FlagMotionCheck(); }
    void FlagPosnChecks() { m_positions.FlagPosnChecks(); }
    void FlagPosnAndMotionChecks();

    // Subscribes the handlers of the panel's own controls and sub-panels.
    void ConnectControls();
    void SetNewInputsObject();
    // The field or value a binding step names; nullptr when the node or the value lacks it.
    std::shared_ptr<Field> NodeField(int32_t param, const char* key) const;

    PanelControls m_ctl;
    WithEvents<jogAndSwInputs> m_io;

    // The attachment's outside objects and the node's bound fields and values; replaced as a
    // whole at release.
    std::unique_ptr<NodeBinding> m_binding;
    PositionTable m_positions;
    HomingMonitor m_monitor;
    FocusPlan m_focusPlan;

    std::vector<Connection> m_controlConnections;

    // State flags (16-bit Booleans of the panel).
    bool m_attached = false;
    bool m_rebindDue = false;
    bool m_enabled = false;
    bool m_busy = false;
    bool m_overrideCleared = false;
};

}  // namespace arn
