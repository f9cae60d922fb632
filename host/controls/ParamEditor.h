#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Event.h"
#include "host/EntryRule.h"
#include "toolkit/Control.h"

namespace arn {

class Value;

// The parameter editor: shows and edits one node parameter. Parameter is the number it stands
// for (0 for none); ParamObject is the value bound to it, or nullptr while unbound, when the
// editor shows its design Text. UserDescription and UserUnit caption the editor; EditorWidth
// and EditorPosition place the edit box; PresetStyle picks the look. Active is the container's
// mark: an inactive editor takes no input.
class ParamEditor : public Control {
  public:
    explicit ParamEditor(std::string name, int16_t index = -1);
    ~ParamEditor() override;

    // A click opens the view's own text editor on the value; the control itself does nothing.
    bool AcceptsClicks() const override { return true; }
    bool EditsInPlace() const override { return true; }
    // Only a bound, active editor has a value to edit, so only then does it take the focus.
    bool TakesFocus() const override;
    // Where the edit box sits on the surface, in twips, while there is a value to edit; hosts
    // open their line editor there.
    std::optional<Rect> EditorRect() const override;
    static constexpr int32_t EditBoxMinWidth = 8 * TwipsPerPixelAt96Dpi;
    static constexpr int32_t EditBoxMaxHeight = 22 * TwipsPerPixelAt96Dpi;

    int32_t get_Parameter() const { return m_parameter; }
    void put_Parameter(int32_t v);
    std::shared_ptr<Value> get_ParamObject() const { return m_paramObject; }
    // Binds the editor; the editor follows the value's changes from now on.
    void putref_ParamObject(std::shared_ptr<Value> v);

    std::string get_UserDescription() const { return m_userDescription; }
    void put_UserDescription(std::string v);
    std::string get_UserUnit() const { return m_userUnit; }
    void put_UserUnit(std::string v);
    std::string get_Text() const { return m_text; }
    void put_Text(std::string v);
    int32_t get_EditorWidth() const { return m_editorWidth; }
    void put_EditorWidth(int32_t v);
    int16_t get_EditorPosition() const { return m_editorPosition; }
    void put_EditorPosition(int16_t v);
    int16_t get_PresetStyle() const { return m_presetStyle; }
    void put_PresetStyle(int16_t v);
    bool get_Active() const { return m_active; }
    void put_Active(bool v);

    // What the edit box shows: the bound value's number in full (never with an exponent),
    // else the design Text.
    std::string DisplayText() const;
    std::string EditText() const override { return DisplayText(); }
    // The units shown beside the number: UserUnit when set, else the bound value's units
    // ("counts", "mm"); empty when neither has any or the value cannot be read.
    std::string UnitsText() const;
    // The user's edit: written through the bound value (its change events follow). Ignored
    // while unbound, inactive or out of the user's reach.
    void UserEnter(double v) override;
    // The rule for the parameter as shown now (its caption and units): EntryRule::Check.
    EntryRule Rule() const;
    EntryCheck CheckEntry(std::string_view text) const override;
    // UserDescription, else the bound value's name, else the catalogue's name of Parameter.
    std::string UserCaption() const override;
    // ToolTipText when set; else, for a parameter, its number, name, units and range.
    std::string ToolTip() const override;

    void Draw(DisplayList& out, const DrawContext& ctx) const override;
    // Text showing DisplayText(), available only while Active too. It has no default action:
    // the view edits the value.
    void DescribeAccessible(AccessibleElement& element) const override;
    // " param=", " value=" (DisplayText, quoted), " unit=" (quoted) and " bound=" yes or no.
    std::string ReportDetails() const override;
    // Parameter.
    std::optional<int32_t> EditedParameter() const override { return m_parameter; }

  protected:
    const MemberTable& Members() const override;

  private:
    // The edit box within the control's box: EditorWidth wide at the right (what is left on the
    // left holds the caption), at most EditBoxMaxHeight high, centred vertically.
    Rect EditBoxWithin(const Rect& box) const;

    int32_t m_parameter = 0;
    std::shared_ptr<Value> m_paramObject;
    Connection m_valueChanged;
    std::string m_userDescription;
    std::string m_userUnit;
    std::string m_text;
    int32_t m_editorWidth = 1000;
    int16_t m_editorPosition = 0;
    int16_t m_presetStyle = 0;
    bool m_active = true;
};

}  // namespace arn
