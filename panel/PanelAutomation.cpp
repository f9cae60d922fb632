#include "panel/PanelAutomation.h"

#include <utility>

#include "host/controls/UIuserControlAutomation.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelAccessibility.h"
#include "panel/PanelIds.h"

namespace arn {

namespace {

// The panel's events with their dispatch ids, in the event interface's order: the one list
// both the description and the forwarding read.
struct PanelEvent {
    int32_t dispId;
    const char* name;
    Event<> ArnAbsPosnCtl::*event;
};
constexpr PanelEvent kPanelEvents[] = {
    {DISPID_ShowHoming, "ShowHoming", &ArnAbsPosnCtl::ShowHoming},
    {DISPID_ShowTrqLim, "ShowTrqLim", &ArnAbsPosnCtl::ShowTrqLim},
    {DISPID_ShowJerkLim, "ShowJerkLim", &ArnAbsPosnCtl::ShowJerkLim},
    {DISPID_Show16Posns, "Show16Posns", &ArnAbsPosnCtl::Show16Posns},
    {DISPID_ShowTeachingDlg, "ShowTeachingDlg", &ArnAbsPosnCtl::ShowTeachingDlg},
};

}  // namespace

std::shared_ptr<PanelAutomation> PanelAutomation::Create(std::shared_ptr<ArnAbsPosnCtl> panel) {
    return std::shared_ptr<PanelAutomation>(new PanelAutomation(std::move(panel)));
}

const std::vector<AutomationEvent>& PanelAutomation::Events() const {
    static const std::vector<AutomationEvent> events = [] {
        std::vector<AutomationEvent> list;
        for (const PanelEvent& e : kPanelEvents) {
            list.push_back({e.dispId, e.name});
        }
        return list;
    }();
    return events;
}

const MemberTable& PanelAutomation::Members() const {
    using Self = PanelAutomation;
    static const MemberTable table{
        PropertyMember<Self>(DISPID_UIuserControl_MyForms, "UIuserControl_MyForms",
                             VariantKind::Object,
                             [](const Self& a) { return a.m_framework->GetProperty("MyForms"); }),
        PropertyMember<Self>(
            DISPID_UIref, "UIref", VariantKind::Object,
            [](const Self& a) { return Variant(std::shared_ptr<Dispatch>(a.m_framework)); }),
        PropertyMember<Self>(
            DISPID_DisplayMsg, "DisplayMsg", VariantKind::String,
            [](const Self& a) { return Variant(a.m_panel->get_DisplayMsg()); },
            [](Self& a, const Variant& v) { a.m_panel->put_DisplayMsg(VariantToString(v)); }),
        PropertyMember<Self>(
            DISPID_Show, "Show", VariantKind::Bool, nullptr,
            [](Self& a, const Variant& v) { a.m_panel->put_Show(VariantToBool(v)); }),
        PropertyMember<Self>(
            DISPID_Enabled, "Enabled", VariantKind::Bool,
            [](const Self& a) { return Variant(a.m_panel->get_Enabled()); },
            [](Self& a, const Variant& v) { a.m_panel->put_Enabled(VariantToBool(v)); }),
    };
    return table;
}

std::shared_ptr<AutomationObject> PanelAutomation::Facet(std::string_view interfaceId) {
    return NamesEqual(interfaceId, IID_UIuserControl) ? m_framework : nullptr;
}

std::vector<AccessibleElement> PanelAutomation::AccessibleElements() {
    return AccessibleElementsOf(*m_panel);
}

PanelAutomation::PanelAutomation(std::shared_ptr<ArnAbsPosnCtl> panel)
    : m_panel(std::move(panel)), m_framework(std::make_shared<UIuserControlAutomation>(m_panel)) {
    ArnAbsPosnCtl* p = m_panel.get();
    for (const PanelEvent& e : kPanelEvents) {
        const int32_t dispId = e.dispId;
        m_eventConnections.push_back(
            (p->*e.event).connect([this, dispId] { EventRaised(dispId); }));
    }
}

}  // namespace arn
