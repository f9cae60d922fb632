#pragma once

#include "toolkit/Control.h"

namespace arn {

class Picture;

// The Threed check box. Click carries the new state as 1 (checked) or 0 (not), the value a
// one-bit field takes, and is raised whenever CheckValue changes, by the user or by code, and not
// when CheckValue is set to what it already holds. CheckPicture is the image drawn in place of the
// box.
class SSCheck : public CaptionedControl {
  public:
    explicit SSCheck(std::string name, int16_t index = -1);

    bool get_CheckValue() const { return m_checkValue; }
    void put_CheckValue(bool v);  // raises Click after PropertyChanged("CheckValue")

    std::shared_ptr<Picture> get_CheckPicture() const { return m_checkPicture; }
    void putref_CheckPicture(std::shared_ptr<Picture> p);

    // A user's click: toggles CheckValue. Ignored unless IsUsable().
    bool AcceptsClicks() const override { return true; }
    void UserClick() override;
    // A two-state check button.
    void DescribeAccessible(AccessibleElement& element) const override;
    // The caption, then " value=" checked or unchecked and " picture=" the check picture.
    std::string ReportDetails() const override;

    Event<int16_t> Click;

    void Draw(DisplayList& out, const DrawContext& ctx) const override;

  protected:
    const MemberTable& Members() const override;

  private:
    bool m_checkValue = false;
    std::shared_ptr<Picture> m_checkPicture;
};

}  // namespace arn
