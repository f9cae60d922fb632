#pragma once

#include "toolkit/Control.h"

namespace arn {

// A drawn outline (rectangle, oval, ...). Passive: it has no tooltip and takes no input.
class Shape : public Control {
  public:
    enum Kind : int16_t {
        Rectangle = 0,
        Square = 1,
        Oval = 2,
        Circle = 3,
        RoundedRectangle = 4,
        RoundedSquare = 5
    };

    explicit Shape(std::string name, int16_t index = -1);

    int16_t get_Shape() const { return m_shape; }
    void put_Shape(int16_t v);  // 0..5
    int32_t get_BorderColor() const { return m_borderColor; }
    void put_BorderColor(int32_t v);
    int16_t get_BorderWidth() const { return m_borderWidth; }
    void put_BorderWidth(int16_t v);  // pixels, 1 or more
    int16_t get_BackStyle() const { return m_backStyle; }
    void put_BackStyle(int16_t v);  // 0 transparent, 1 filled with BackColor

    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    // A graphic.
    void DescribeAccessible(AccessibleElement& element) const override;

  protected:
    const MemberTable& Members() const override;

  private:
    int16_t m_shape = Rectangle;
    int32_t m_borderColor = ColorWindowText;
    int16_t m_borderWidth = 1;
    int16_t m_backStyle = 0;
};

}  // namespace arn
