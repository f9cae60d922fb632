#pragma once

#include "toolkit/Control.h"

namespace arn {

class Picture;

// The symbols an image without a picture draws; by name "" (none), "warning" and "caution".
enum class ImageSymbol : int16_t { None = 0, Warning = 1, Caution = 2 };

// A lightweight picture holder; the panel's warning icons. Without a picture it draws its
// Symbol.
class Image : public Control {
  public:
    explicit Image(std::string name, int16_t index = -1);

    std::shared_ptr<Picture> get_Picture() const { return m_picture; }
    void putref_Picture(std::shared_ptr<Picture> p);
    bool get_Stretch() const { return m_stretch; }
    void put_Stretch(bool v);
    ImageSymbol get_Symbol() const { return m_symbol; }
    void put_Symbol(ImageSymbol v);

    void Draw(DisplayList& out, const DrawContext& ctx) const override;

    // A graphic.
    void DescribeAccessible(AccessibleElement& element) const override;
    // " picture=" and the picture.
    std::string ReportDetails() const override;

  protected:
    const MemberTable& Members() const override;

  private:
    // The by-name spelling of Symbol; an unknown name raises Invalid property value.
    std::string SymbolName() const;
    void PutSymbolName(std::string name);

    std::shared_ptr<Picture> m_picture;
    bool m_stretch = false;
    ImageSymbol m_symbol = ImageSymbol::None;
};

}  // namespace arn
