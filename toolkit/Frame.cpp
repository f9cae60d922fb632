#include "toolkit/Frame.h"
#include "core/ErrorCatalogue.h"

namespace arn {

Frame::Frame(std::string name, int16_t index) : CaptionedControl("Frame", std::move(name), index) {}

void Frame::put_BorderStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "BorderStyle");
    }
    Change(m_borderStyle, v, "BorderStyle");
}

const PropertyTable& Frame::Properties() const {
    static const PropertyTable table{
        CaptionedProperties(),
        {
            Prop("BorderStyle", &Frame::get_BorderStyle, &Frame::put_BorderStyle),
        }};
    return table;
}

}  // namespace arn
