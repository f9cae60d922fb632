#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Event.h"
#include "toolkit/Control.h"

namespace arn {

class Field;

// A field LED: lit while its bound field's value is not 0, drawn in LEDOnColor when lit and
// LEDOffColor otherwise (&HBBGGRR). fieldkey names the field the LED stands for; binding the
// field itself (LEDField) is the owner's business. It follows the field's UpdateView.
class ArnFieldLED : public Control {
  public:
    explicit ArnFieldLED(std::string name, int16_t index = -1);
    ~ArnFieldLED() override;

    std::string get_fieldkey() const { return m_fieldkey; }
    void put_fieldkey(std::string v);
    std::shared_ptr<Field> get_LEDField() const { return m_field; }
    // nullptr unbinds; an unbound LED is unlit.
    void putref_LEDField(std::shared_ptr<Field> field);
    int32_t get_LEDOnColor() const { return m_onColor; }
    void put_LEDOnColor(int32_t v);
    int32_t get_LEDOffColor() const { return m_offColor; }
    void put_LEDOffColor(int32_t v);

    // Raises the field's error when it cannot be read (its node was released).
    bool IsLit() const;
    // The colour the LED shows now; a field that cannot be read shows unlit.
    int32_t CurrentColor() const { return ShowsLit() ? m_onColor : m_offColor; }

    void Draw(DisplayList& out, const DrawContext& ctx) const override;

    // An indicator, checked while lit.
    void DescribeAccessible(AccessibleElement& element) const override;
    // " field=" the fieldkey (quoted), " bound=" the bound field's name (quoted) or none,
    // " lit=" yes or no, then the on, off and shown colours.
    std::string ReportDetails() const override;
    // ToolTipText when set; else the row's caption, the bound field with its description and
    // whether it is on ("Input A: field InA (Input A pin) is on").
    std::string ToolTip() const override;

  protected:
    const MemberTable& Members() const override;

  private:
    bool ShowsLit() const;

    std::string m_fieldkey;
    std::shared_ptr<Field> m_field;
    Connection m_updateView;
    int32_t m_onColor = 0x00FF00;
    int32_t m_offColor = 0x404040;
};

}  // namespace arn
