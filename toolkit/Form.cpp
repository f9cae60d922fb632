#include "toolkit/Form.h"

#include <string_view>

namespace arn {

namespace {

// Property names, each spelled once for its table entry and its change notification.
constexpr std::string_view kCaption = "Caption";
constexpr std::string_view kVisible = "Visible";

}  // namespace

Form::Form(std::string name, std::string caption)
    : m_name(std::move(name)), m_caption(std::move(caption)) {}

void Form::put_Caption(std::string v) {
    if (v == m_caption) {
        return;
    }
    m_caption = std::move(v);
    PropertyChanged(kCaption);
}

void Form::put_Visible(bool v) {
    if (v == m_visible) {
        return;
    }
    m_visible = v;
    PropertyChanged(kVisible);
}

const MemberTable& Form::Members() const {
    static const MemberTable table{
        ReadOnlyProp("Name", &Form::get_Name),
        Prop(kCaption, &Form::get_Caption, &Form::put_Caption),
        Prop(kVisible, &Form::get_Visible, &Form::put_Visible),
    };
    return table;
}

}  // namespace arn
