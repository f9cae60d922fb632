#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/AutomationObject.h"
#include "core/Event.h"

namespace arn {

class ArnAbsPosnCtl;

// The panel's automation interface _ArnAbsPosnCtl and its event interface __ArnAbsPosnCtl,
// written once as a member table: the component runtime of each platform presents this object
// to outside clients. Members in the type library's declaration order: UIuserControl_MyForms
// (get), UIref (get), DisplayMsg (put, get), Show (put), Enabled (put, get). Events:
// ShowHoming [1], ShowTrqLim [2], ShowJerkLim [4], Show16Posns [3], ShowTeachingDlg [5].
//
// The object owns the panel; the panel's events reach EventRaised while this object lives.
// UIref returns the panel's UIuserControl, the facet of this object for that interface id; a
// component runtime presents both as one object.
class PanelAutomation : public AutomationObject {
  public:
    static std::shared_ptr<PanelAutomation> Create(std::shared_ptr<ArnAbsPosnCtl> panel);

    std::string TypeName() const override { return "ArnAbsPosnCtl"; }
    const MemberTable& Members() const override;
    const std::vector<AutomationEvent>& Events() const override;
    std::shared_ptr<AutomationObject> Facet(std::string_view interfaceId) override;
    // Every control of the panel surface, in control order (see AccessibleElementsOf).
    std::vector<AccessibleElement> AccessibleElements() override;

    const std::shared_ptr<ArnAbsPosnCtl>& Panel() const { return m_panel; }

  private:
    explicit PanelAutomation(std::shared_ptr<ArnAbsPosnCtl> panel);

    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    std::shared_ptr<AutomationObject> m_framework;
    std::vector<Connection> m_eventConnections;
};

}  // namespace arn
