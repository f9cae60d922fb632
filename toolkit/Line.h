#pragma once

#include "toolkit/Control.h"

namespace arn {

// A straight line from (X1, Y1) to (X2, Y2) in its container's twips. Passive: no tooltip,
// no input; its by-name properties are the end points rather than a box.
class Line : public Control {
  public:
    explicit Line(std::string name, int16_t index = -1);

    int32_t get_X1() const { return m_x1; }
    void put_X1(int32_t v);
    int32_t get_Y1() const { return m_y1; }
    void put_Y1(int32_t v);
    int32_t get_X2() const { return m_x2; }
    void put_X2(int32_t v);
    int32_t get_Y2() const { return m_y2; }
    void put_Y2(int32_t v);
    void SetPoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // The box around the end points, grown by the pen's width.
    Rect DrawnBounds() const override;

    int32_t get_BorderColor() const { return m_borderColor; }
    void put_BorderColor(int32_t v);
    int16_t get_BorderWidth() const { return m_borderWidth; }
    void put_BorderWidth(int16_t v);  // pixels, 1 or more

    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    // A graphic.
    void DescribeAccessible(AccessibleElement& element) const override;
    // " from=X1,Y1 to=X2,Y2".
    std::string ReportDetails() const override;

  protected:
    const MemberTable& Members() const override;

  private:
    int32_t m_x1 = 0;
    int32_t m_y1 = 0;
    int32_t m_x2 = 0;
    int32_t m_y2 = 0;
    int32_t m_borderColor = ColorWindowText;
    int16_t m_borderWidth = 1;
};

}  // namespace arn
