#include "toolkit/Image.h"

#include <string_view>

#include "toolkit/Picture.h"
#include "toolkit/ReportText.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kPicture = "Picture";
constexpr std::string_view kStretch = "Stretch";
constexpr std::string_view kSymbol = "Symbol";

}  // namespace

Image::Image(std::string name, int16_t index) : Control("Image", std::move(name), index) {}

void Image::putref_Picture(std::shared_ptr<Picture> p) {
    Change(m_picture, std::move(p), kPicture);
}
void Image::put_Stretch(bool v) {
    Change(m_stretch, v, kStretch);
}
void Image::put_Symbol(std::string v) {
    Change(m_symbol, std::move(v), kSymbol);
}

void Image::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Graphic;
}

std::string Image::ReportDetails() const {
    return " picture=" + report::PictureHandle(m_picture);
}

const MemberTable& Image::Members() const {
    static const MemberTable table{CommonProperties(),
                                   {
                                       Prop(kPicture, &Image::get_Picture, &Image::putref_Picture),
                                       Prop(kStretch, &Image::get_Stretch, &Image::put_Stretch),
                                       Prop(kSymbol, &Image::get_Symbol, &Image::put_Symbol),
                                   }};
    return table;
}

}  // namespace arn
