#pragma once

#include "toolkit/Control.h"

namespace arn {

class Picture;

// A bordered box that contains other controls and may show a picture behind them.
class PictureBox : public Control {
  public:
    explicit PictureBox(std::string name, int16_t index = -1);

    std::shared_ptr<Picture> get_Picture() const { return m_picture; }
    void putref_Picture(std::shared_ptr<Picture> p);
    int16_t get_BorderStyle() const { return m_borderStyle; }
    void put_BorderStyle(int16_t v);  // 0 none, 1 fixed single

    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    // A grouping without a name.
    void DescribeAccessible(AccessibleElement& element) const override;
    // " picture=" and the picture.
    std::string ReportDetails() const override;

  protected:
    const MemberTable& Members() const override;

  private:
    std::shared_ptr<Picture> m_picture;
    int16_t m_borderStyle = 1;
};

}  // namespace arn
