#include "toolkit/Label.h"
#include "core/ErrorCatalogue.h"

namespace arn {

Label::Label(std::string name, int16_t index) : CaptionedControl("Label", std::move(name), index) {}

void Label::put_Alignment(int16_t v) {
    if (v < LeftJustify || v > Center) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "Alignment");
    }
    Change(m_alignment, v, "Alignment");
}

void Label::put_BackStyle(int16_t v) {
    if (v != 0 && v != 1) {
        throw MakeError(err::InvalidPropertyValue, TypeName(), "BackStyle");
    }
    Change(m_backStyle, v, "BackStyle");
}

void Label::put_WordWrap(bool v) {
    Change(m_wordWrap, v, "WordWrap");
}

const PropertyTable& Label::Properties() const {
    static const PropertyTable table{
        CaptionedProperties(),
        {
            Prop("Alignment", &Label::get_Alignment, &Label::put_Alignment),
            Prop("BackStyle", &Label::get_BackStyle, &Label::put_BackStyle),
            Prop("WordWrap", &Label::get_WordWrap, &Label::put_WordWrap),
        }};
    return table;
}

}  // namespace arn
