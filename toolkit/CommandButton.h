#pragma once

#include "toolkit/Control.h"

namespace arn {

// A push button; Click is raised by UserClick (the user's press) and by code through it.
class CommandButton : public CaptionedControl {
  public:
    explicit CommandButton(std::string name, int16_t index = -1);

    // A user's press; ignored unless IsUsable().
    bool AcceptsClicks() const override { return true; }
    void UserClick() override;
    // A push button captioned by Caption.
    void DescribeAccessible(AccessibleElement& element) const override;

    Event<> Click;

    void Draw(DisplayList& out, const DrawContext& ctx) const override;

  protected:
    const MemberTable& Members() const override;
};

}  // namespace arn
