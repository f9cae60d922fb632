#pragma once

#include "toolkit/Control.h"

namespace arn {

// A caption on the surface; opaque by default, so BackColor shows behind the text.
class Label : public CaptionedControl {
  public:
    enum Alignment : int16_t { LeftJustify = 0, RightJustify = 1, Center = 2 };

    explicit Label(std::string name, int16_t index = -1);

    int16_t get_Alignment() const { return m_alignment; }
    void put_Alignment(int16_t v);  // 0..2
    int16_t get_BackStyle() const { return m_backStyle; }
    void put_BackStyle(int16_t v);  // 0 transparent, 1 opaque
    bool get_WordWrap() const { return m_wordWrap; }
    void put_WordWrap(bool v);

    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    // Static text: the caption.
    void DescribeAccessible(AccessibleElement& element) const override;
    // A label with a caption names the controls on its row.
    bool CaptionsItsRow() const override { return !get_Caption().empty(); }

  protected:
    const MemberTable& Members() const override;

  private:
    int16_t m_alignment = LeftJustify;
    int16_t m_backStyle = 1;
    bool m_wordWrap = false;
};

}  // namespace arn
