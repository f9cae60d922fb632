#include "toolkit/Image.h"
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"

#include <string_view>
#include <utility>

#include "core/ErrorCatalogue.h"

#include "toolkit/Picture.h"
#include "toolkit/ReportText.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kPicture = "Picture";
constexpr std::string_view kStretch = "Stretch";
constexpr std::string_view kSymbol = "Symbol";

constexpr std::pair<ImageSymbol, std::string_view> kSymbolNames[] = {
    {ImageSymbol::None, ""},
    {ImageSymbol::Warning, "warning"},
    {ImageSymbol::Caution, "caution"},
};

// A warning is yellow; a caution, a step more urgent, orange.
constexpr Color WarningFill = Color::Rgb(0xFF, 0xD4, 0x00);
constexpr Color CautionFill = Color::Rgb(0xFF, 0x8C, 0x1A);

}  // namespace

Image::Image(std::string name, int16_t index) : Control("Image", std::move(name), index) {}

void Image::putref_Picture(std::shared_ptr<Picture> p) {
    Change(m_picture, std::move(p), kPicture);
}
void Image::put_Stretch(bool v) {
    Change(m_stretch, v, kStretch);
}
void Image::put_Symbol(ImageSymbol v) {
    Change(m_symbol, v, kSymbol);
}

std::string Image::SymbolName() const {
    for (const auto& [symbol, name] : kSymbolNames) {
        if (symbol == m_symbol) {
            return std::string(name);
        }
    }
    return {};
}

void Image::PutSymbolName(std::string name) {
    for (const auto& [symbol, known] : kSymbolNames) {
        if (NamesEqual(name, known)) {
            put_Symbol(symbol);
            return;
        }
    }
    throw MakeError(err::InvalidPropertyValue, TypeName(), kSymbol);
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
                                       Prop(kSymbol, &Image::SymbolName, &Image::PutSymbolName),
                                   }};
    return table;
}

void Image::Draw(DisplayList& out, const DrawContext& ctx) const {
    if (m_picture) {
        const Rect box = m_stretch ? ctx.box : NaturalSize(*m_picture, ctx.box.TopLeft());
        out.Add(PictureAt(m_picture, box, true));
        return;
    }
    switch (m_symbol) {
        case ImageSymbol::Warning:
            style::WarningTriangle(out, ctx.box, WarningFill);
            break;
        case ImageSymbol::Caution:
            style::WarningTriangle(out, ctx.box, CautionFill);
            break;
        default:
            break;
    }
}

}  // namespace arn
