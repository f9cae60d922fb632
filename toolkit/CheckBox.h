#pragma once

#include "toolkit/Control.h"

namespace arn {

// A check box. Click is raised whenever Value changes, by the user or by code, and not when
// Value is set to what it already holds; handlers that must ignore the panel's own changes
// bracket them with a busy flag.
class CheckBox : public CaptionedControl {
  public:
    enum Value : int16_t { Unchecked = 0, Checked = 1, Grayed = 2 };

    explicit CheckBox(std::string name, int16_t index = -1);

    int16_t get_Value() const { return m_value; }
    void put_Value(int16_t v);  // 0..2; raises Click after PropertyChanged("Value")
    int16_t get_Alignment() const { return m_alignment; }
    void put_Alignment(int16_t v);  // 0 box left of the caption, 1 box right of it

    // A user's click: toggles between checked and unchecked. Ignored unless IsUsable().
    bool AcceptsClicks() const override { return true; }
    void UserClick() override;
    // A check button, mixed while Grayed.
    void DescribeAccessible(AccessibleElement& element) const override;
    // The caption, then " value=" and unchecked, checked or grayed.
    std::string ReportDetails() const override;

    Event<> Click;

    void Draw(DisplayList& out, const DrawContext& ctx) const override;

  protected:
    const MemberTable& Members() const override;

  private:
    int16_t m_value = Unchecked;
    int16_t m_alignment = 0;
};

}  // namespace arn
