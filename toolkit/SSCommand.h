#pragma once

#include "toolkit/Control.h"

namespace arn {

class Picture;

// The Threed command button: a push button whose caption font the panel makes bold while the
// command is live.
class SSCommand : public CaptionedControl {
  public:
    explicit SSCommand(std::string name, int16_t index = -1);

    std::shared_ptr<Picture> get_Picture() const { return m_picture; }
    void putref_Picture(std::shared_ptr<Picture> p);

    // A user's press; ignored while the button cannot be reached.
    bool AcceptsClicks() const override { return true; }
    void UserClick() override;
    // A push button captioned by Caption.
    void DescribeAccessible(AccessibleElement& element) const override;

    Event<> Click;

    void Draw(DisplayList& out, const DrawContext& ctx) const override;

  protected:
    const MemberTable& Members() const override;

  private:
    std::shared_ptr<Picture> m_picture;
};

}  // namespace arn
