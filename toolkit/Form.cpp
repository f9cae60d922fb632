#include "toolkit/Form.h"

namespace arn {

Form::Form(std::string name, std::string caption)
    : m_name(std::move(name)), m_caption(std::move(caption)) {}

void Form::put_Caption(std::string v) {
    if (v == m_caption) {
        return;
    }
    m_caption = std::move(v);
    PropertyChanged("Caption");
}

void Form::put_Visible(bool v) {
    if (v == m_visible) {
        return;
    }
    m_visible = v;
    PropertyChanged("Visible");
}

const PropertyTable& Form::Properties() const {
    static const PropertyTable table{
        ReadOnlyProp("Name", &Form::get_Name),
        Prop("Caption", &Form::get_Caption, &Form::put_Caption),
        Prop("Visible", &Form::get_Visible, &Form::put_Visible),
    };
    return table;
}

}  // namespace arn
