#include "toolkit/Frame.h"

#include <string_view>
#include "core/ErrorCatalogue.h"

namespace arn {

namespace {

// Property names, each spelled once for its table entry, its setter's change
// notification and its errors.
constexpr std::string_view kBorderStyle = "BorderStyle";

}  // namespace

Frame::Frame(std::string name, int16_t index) : CaptionedControl("Frame", std::move(name), index) {}

void Frame::put_BorderStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), kBorderStyle);
    }
    Change(m_borderStyle, v, kBorderStyle);
}

void Frame::DescribeAccessible(AccessibleElement& element) const {
    element.role = AccessibleElement::Role::Grouping;
    element.name = get_Caption();
}

const MemberTable& Frame::Members() const {
    static const MemberTable table{
        CaptionedProperties(),
        {
            Prop(kBorderStyle, &Frame::get_BorderStyle, &Frame::put_BorderStyle),
        }};
    return table;
}

}  // namespace arn
