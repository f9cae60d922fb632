#include "toolkit/PictureBox.h"
#include "core/ErrorCatalogue.h"

#include "toolkit/Picture.h"

namespace arn {

PictureBox::PictureBox(std::string name, int16_t index)
    : Control("PictureBox", std::move(name), index) {}

void PictureBox::putref_Picture(std::shared_ptr<Picture> p) {
    Change(m_picture, std::move(p), "Picture");
}

void PictureBox::put_BorderStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "BorderStyle");
    }
    Change(m_borderStyle, v, "BorderStyle");
}

const PropertyTable& PictureBox::Properties() const {
    static const PropertyTable table{
        CommonProperties(),
        {
            Prop("Picture", &PictureBox::get_Picture, &PictureBox::putref_Picture),
            Prop("BorderStyle", &PictureBox::get_BorderStyle, &PictureBox::put_BorderStyle),
        }};
    return table;
}

}  // namespace arn
