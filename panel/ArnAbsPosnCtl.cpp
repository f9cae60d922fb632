#include "panel/ArnAbsPosnCtl.h"
#include "core/ErrorCatalogue.h"
#include "panel/NodeBinding.h"
#include "panel/PanelStrings.h"

#include "core/ObjectRef.h"
#include "host/values/ValueCaption.h"
#include "platform/StringTable.h"
#include "support/ControlUtils.h"
#include "support/DebuggingFlags.h"
#include "support/lyrFormUtils.h"

namespace arn {

// Every member declared with events names its handlers here, once; assigning the member later
// subscribes them and clearing it drops them.
ArnAbsPosnCtl::ArnAbsPosnCtl()
    : m_ctl(*this),
      m_io([this](jogAndSwInputs& io, std::vector<Connection>& c) {
          c.push_back(io.IOchanged.connect([this](bool ext) { m_io_IOchanged(ext); }));
          c.push_back(io.EnableReqChanged.connect([this](bool s) { m_io_EnableReqChanged(s); }));
      }),
      m_binding(std::make_unique<NodeBinding>(*this)),
      m_positions(m_ctl, m_binding),
      m_monitor(*this, m_ctl, m_binding) {
    ConnectControls();
}

std::shared_ptr<ArnAbsPosnCtl> ArnAbsPosnCtl::Create() {
    std::shared_ptr<ArnAbsPosnCtl> panel(new ArnAbsPosnCtl());
    panel->Initialize();
    return panel;
}

ArnAbsPosnCtl::~ArnAbsPosnCtl() {
    // The platform terminates a control before it frees it; a panel dropped without that
    // still lets go of its inputs object first.
    if (m_io) {
        UserControl_Terminate();
    }
}

void ArnAbsPosnCtl::ConnectControls() {
    auto& c = m_controlConnections;
    c.push_back(m_ctl.teachingCheck->Click.connect([this] { teachingCheck_Click(); }));
    c.push_back(m_ctl.teachingCmd->Click.connect([this] { teachingCmd_Click(); }));
    c.push_back(m_ctl.hardStopCmd->Click.connect([this] { hardStopCmd_Click(); }));
    c.push_back(m_ctl.inputOptChk->Click.connect([this] { inputOptChk_Click(); }));
    for (auto& conn : m_ctl.inCheck.ConnectEach(
             &SSCheck::Click,
             [this](int16_t index, int16_t value) { inCheck_Click(index, value); })) {
        c.push_back(std::move(conn));
    }
    c.push_back(m_ctl.HomingCtl->SetupRequested.connect([this] { ShowHoming(); }));
    c.push_back(m_ctl.TrqLimitSetupCtl->SetupRequested.connect([this] { ShowTrqLim(); }));
    c.push_back(m_ctl.JerkPanelCtl->SetupRequested.connect([this] { ShowJerkLim(); }));
}

void ArnAbsPosnCtl::SetNewInputsObject() {
    m_io = std::make_shared<jogAndSwInputs>();
}

// --- lifecycle ---

void ArnAbsPosnCtl::UserControl_Initialize() {
    SetNewInputsObject();
    m_ctl.fldStatusLED(0).put_fieldkey(fieldkey::EnableReq);
    m_ctl.fldStatusLED(1).put_fieldkey(fieldkey::InA);
    m_ctl.fldStatusLED(2).put_fieldkey(fieldkey::InB);
    m_ctl.inCheck(0).put_ToolTipText(ResString(18018));
    m_ctl.warnTriangle(14).put_ToolTipText(ResString(8188));
}

void ArnAbsPosnCtl::UserControl_Terminate() {
    m_io = nullptr;
}

void ArnAbsPosnCtl::UserControl_Show() {
    put_Show(true);
}

void ArnAbsPosnCtl::UserControl_Hide() {
    put_Show(false);
}

void ArnAbsPosnCtl::UserControl_Resize() {
    // A size of 200 twips or less is a transient state of the container, not a layout.
    try {
        if (get_ScaleWidth() > 200) {
            m_ctl.EnclosingFrame->put_Width(get_ScaleWidth());
        }
    } catch (const std::exception&) {
    }
    try {
        if (get_ScaleHeight() > 200) {
            m_ctl.EnclosingFrame->put_Height(get_ScaleHeight());
        }
    } catch (const std::exception&) {
    }
}

// --- automation interface ---

std::shared_ptr<UIuserControl> ArnAbsPosnCtl::get_UIref() {
    return shared_from_this();
}

void ArnAbsPosnCtl::put_DisplayMsg(const std::string& msg) {
    ShowMessageLabel(*m_ctl.DisplayMsgLbl, msg);
}

std::string ArnAbsPosnCtl::get_DisplayMsg() const {
    return m_ctl.DisplayMsgLbl->get_Caption();
}

void ArnAbsPosnCtl::put_Show(bool visible) {
    m_ctl.EnclosingFrame->put_Visible(visible);
    m_ctl.EnclosingFrame->Refresh();
}

void ArnAbsPosnCtl::put_Enabled(bool newState) {
    UpdateFocus(newState);
}

std::vector<std::shared_ptr<Form>> ArnAbsPosnCtl::get_UIuserControl_MyForms() {
    return UIuserControl_MyForms();
}

// --- UIuserControl ---

void ArnAbsPosnCtl::UIuserControl_AttachControl(const std::shared_ptr<Net>& theNet,
                                                const std::shared_ptr<Node>& theNode,
                                                const std::shared_ptr<void>& theAppObj,
                                                const std::string& regName,
                                                const std::string& regSect) {
    try {
        m_binding->m_net = theNet;
        Net& net = Deref(theNet);
        m_binding->m_zkAppEvts = RequireObject(net.get_AppEvents(), "AppEvents");
        m_binding->m_drvEvts = RequireObject(net.get_DriveEvents(), "DriveEvents");
        m_binding->m_netSupervisor = RequireObject(net.get_NetSupervisor(), "NetSupervisor");
        m_binding->m_node = theNode;
        Deref(m_io.get()).putref_NodeRef(theNode);
        Deref(m_io.get()).putref_NetRef(theNet);
        SetDebugFlags(Deref(RequireObject(net.get_Options(), "Options")).get_DebugFlags());
        DebugTrace(*this, ".AttachControl " + get_DisplayName(), TraceLevelAlways, false);
        put_Show(false);
        if (theNode) {
            m_attached = true;
            m_rebindDue = true;
            // Sub-panels get the host's arguments unchanged; binding of this panel waits for
            // the next tick, after the host has returned.
            Deref(m_ctl.ArnFdbkDisplayCtl1->get_UIref())
                .AttachControl(theNet, theNode, theAppObj, regName, regSect);
            Deref(m_ctl.TrqLimitSetupCtl->get_UIref())
                .AttachControl(theNet, theNode, theAppObj, regName, regSect);
            Deref(m_ctl.HomingCtl->get_UIref())
                .AttachControl(theNet, theNode, theAppObj, regName, regSect);
            Deref(m_ctl.JerkPanelCtl->get_UIref())
                .AttachControl(theNet, theNode, theAppObj, regName, regSect);
        }
    } catch (const std::exception& e) {
        DebugTrace(*this, ".UIuserControl_AttachControl err=" + ErrDescription(e), TraceLevelAlways,
                   false);
    }
}

void ArnAbsPosnCtl::UIuserControl_ReleaseControl() {
    ValueCaption::Default()->put_Active(false);
    Refresh();
    SetNewInputsObject();
    m_binding = std::make_unique<NodeBinding>(*this);

    // Released in another order than attached: jerk before homing.
    Deref(m_ctl.ArnFdbkDisplayCtl1->get_UIref()).ReleaseControl();
    Deref(m_ctl.TrqLimitSetupCtl->get_UIref()).ReleaseControl();
    Deref(m_ctl.JerkPanelCtl->get_UIref()).ReleaseControl();
    Deref(m_ctl.HomingCtl->get_UIref()).ReleaseControl();

    DebugTrace(*this, ".ReleaseControl " + get_DisplayName(), TraceLevelVerbose, false);
    m_attached = false;
}

std::string ArnAbsPosnCtl::UIuserControl_VersionStr() const {
    return AppVersionText();
}

std::shared_ptr<Dictionary<std::string>> ArnAbsPosnCtl::UIuserControl_ControlVersionList() {
    auto versions = std::make_shared<Dictionary<std::string>>();
    for (const auto& ctl : Controls()) {
        ctlAddArnwellCtlVersInfo(versions, ctl.get());
    }
    return versions;
}

std::vector<std::shared_ptr<Form>> ArnAbsPosnCtl::UIuserControl_MyForms() {
    return Deref(m_ctl.JerkPanelCtl->get_UIref()).get_MyForms();
}

}  // namespace arn
