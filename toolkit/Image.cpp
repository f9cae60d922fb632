#include "toolkit/Image.h"

#include "toolkit/Picture.h"

namespace arn {

Image::Image(std::string name, int16_t index) : Control("Image", std::move(name), index) {}

void Image::putref_Picture(std::shared_ptr<Picture> p) {
    Change(m_picture, std::move(p), "Picture");
}
void Image::put_Stretch(bool v) {
    Change(m_stretch, v, "Stretch");
}
void Image::put_Symbol(std::string v) {
    Change(m_symbol, std::move(v), "Symbol");
}

const PropertyTable& Image::Properties() const {
    static const PropertyTable table{
        CommonProperties(),
        {
            Prop("Picture", &Image::get_Picture, &Image::putref_Picture),
            Prop("Stretch", &Image::get_Stretch, &Image::put_Stretch),
            Prop("Symbol", &Image::get_Symbol, &Image::put_Symbol),
        }};
    return table;
}

}  // namespace arn
