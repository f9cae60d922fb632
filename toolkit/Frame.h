#pragma once

#include "toolkit/Control.h"

namespace arn {

// A captioned group box that contains other controls.
class Frame : public CaptionedControl {
  public:
    explicit Frame(std::string name, int16_t index = -1);

    int16_t get_BorderStyle() const { return m_borderStyle; }
    void put_BorderStyle(int16_t v);  // 0 none, 1 fixed single

    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    // A grouping named by its caption.
    void DescribeAccessible(AccessibleElement& element) const override;

  protected:
    const MemberTable& Members() const override;

  private:
    int16_t m_borderStyle = 1;
};

}  // namespace arn
