#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/AutomationObject.h"
#include "host/UIuserControl.h"

namespace arn {

// A panel's UIuserControl as an automation interface, for hosts that reach the panel from
// outside through a component runtime. Members in slot order: ReleaseControl(),
// AttachControl(theNet, theNode, theAppObj, regName, regSect), BarColor, VersionStr,
// ControlVersionList (a dictionary object: Count, Item(key), Exists(key)) and MyForms (a
// collection object: Count, its forms as elements).
//
// AttachControl takes the host's own net and node objects (any object a client can reach by
// name) and hands the panel a net and a node that present them through the node interfaces;
// Nothing stays none. The node is one of the net's, so that a host tick refreshes its values
// before the panel's tick handlers run.
//
// Holds the panel alive; the panel does not hold this object.
class UIuserControlAutomation : public AutomationObject {
  public:
    explicit UIuserControlAutomation(std::shared_ptr<UIuserControl> target);

    std::string TypeName() const override { return "UIuserControl"; }
    const MemberTable& Members() const override;

    const std::shared_ptr<UIuserControl>& Target() const { return m_target; }

  private:
    std::shared_ptr<UIuserControl> m_target;
};

}  // namespace arn
