#pragma once

#include "toolkit/Control.h"

namespace arn {

class Picture;

// A lightweight picture holder; the panel's warning icons. Without a picture a view draws
// the control's own symbol (Symbol names it, e.g. "warning").
class Image : public Control {
  public:
    explicit Image(std::string name, int16_t index = -1);

    std::shared_ptr<Picture> get_Picture() const { return m_picture; }
    void putref_Picture(std::shared_ptr<Picture> p);
    bool get_Stretch() const { return m_stretch; }
    void put_Stretch(bool v);
    std::string get_Symbol() const { return m_symbol; }
    void put_Symbol(std::string v);

    // A graphic.
    void DescribeAccessible(AccessibleElement& element) const override;
    // " picture=" and the picture.
    std::string ReportDetails() const override;

  protected:
    const MemberTable& Members() const override;

  private:
    std::shared_ptr<Picture> m_picture;
    bool m_stretch = false;
    std::string m_symbol;
};

}  // namespace arn
