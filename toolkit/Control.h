#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/AccessibleElement.h"
#include "core/Dispatch.h"
#include "core/EntryCheck.h"
#include "core/Event.h"
#include "draw/Color.h"
#include "draw/Font.h"
#include "draw/Geometry.h"

namespace arn {

class DisplayList;
struct DrawContext;

// A control of the panel surface: a name and an index within its control group (-1 when it is
// not in one), its container, the controls it contains in control order, and the properties
// every kind shares. Containers own their children; the parent link is a plain back pointer.
//
// Every setter returns early on an unchanged value, then raises exactly one PropertyChanged
// with the property's by-name spelling, so a view can redraw what changed.
class Control : public Dispatch, public std::enable_shared_from_this<Control> {
  public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control() override;

    std::string TypeName() const override { return m_typeName; }
    std::string get_Name() const { return m_name; }
    int16_t get_Index() const { return m_index; }
    Control* get_Parent() const { return m_parent; }
    const std::vector<std::shared_ptr<Control>>& Children() const { return m_children; }
    // "name(index)" for a control in a group, else the bare name: how messages, traces and
    // reports name a control.
    std::string QualifiedName() const;

    // Places child last among this control's children. A control has one container for life.
    void AddChild(const std::shared_ptr<Control>& child);

    bool get_Visible() const { return m_visible; }
    void put_Visible(bool v);
    bool get_Enabled() const { return m_enabled; }
    void put_Enabled(bool v);
    std::string get_ToolTipText() const { return m_toolTipText; }
    void put_ToolTipText(std::string v);
    std::string get_Tag() const { return m_tag; }
    void put_Tag(std::string v);

    // Position within the container and size, in twips.
    int32_t get_Left() const { return m_left; }
    void put_Left(int32_t v);
    int32_t get_Top() const { return m_top; }
    void put_Top(int32_t v);
    int32_t get_Width() const { return m_width; }
    void put_Width(int32_t v);
    int32_t get_Height() const { return m_height; }
    void put_Height(int32_t v);
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    // The control's rectangle relative to its container, and relative to the surface (the
    // outermost container), in twips.
    Rect Bounds() const { return {m_left, m_top, m_width, m_height}; }
    Rect SurfaceRect() const;
    // What drawing the control may touch, relative to its container, in twips: its box for
    // every boxed kind; a kind placed otherwise (a line by its end points, grown by its pen for
    // the round caps) says so. Painting by region and repainting by damage both use it.
    virtual Rect DrawnBounds() const { return Bounds(); }

    int32_t get_BackColor() const { return m_backColor; }
    void put_BackColor(int32_t v);

    // Visible itself and inside visible containers, that is, on screen when the surface is.
    bool IsShown() const;
    // Shown and itself enabled: the user can click it. A container's Enabled is drawn but does
    // not gate its children; every input control is enabled or disabled on its own, and an
    // option switch may sit in a box that is disabled while the switch is off.
    bool IsUsable() const;

    // Asks the views to repaint now.
    void Refresh();

    // What a user's click does to this kind of control (each kind ignores it unless
    // IsUsable()); AcceptsClicks tells a view which controls to offer a click. Controls that
    // take no clicks do nothing.
    virtual bool AcceptsClicks() const { return false; }
    virtual void UserClick() {}
    // Whether the keyboard's focus mark may rest on the control now: by default a usable
    // control that takes clicks. A kind with nothing to act on at the moment declines.
    virtual bool TakesFocus() const { return AcceptsClicks() && IsUsable(); }
    // Whether a click opens the host's in-place text editor over the control instead of
    // calling UserClick.
    virtual bool EditsInPlace() const { return false; }
    // Where that editor's box sits, in surface twips, while the control has something to
    // edit; nullopt while it has nothing (and for kinds that do not edit in place).
    virtual std::optional<Rect> EditorRect() const { return std::nullopt; }
    // The text that editor opens with, and the number the user enters in it (each kind
    // ignores an entry it cannot take now).
    virtual std::string EditText() const { return {}; }
    virtual void UserEnter(double /*value*/) {}
    // Judges a text typed into that editor: the number UserEnter should take, or why not in
    // the user's words. Every host checks an entry here before it writes, so all of them take
    // and refuse the same texts. The base refuses everything.
    virtual EntryCheck CheckEntry(std::string_view text) const;

    // How the user knows the control: the caption it shows on screen ("Override Inputs"),
    // without resource placeholder or access-key marks; for a control without a caption of
    // its own, the caption of the label that starts its row ("Input A" for the Input A
    // override box); else the qualified name. Messages to the user name controls by it.
    virtual std::string UserCaption() const;
    // Whether the kind captions the controls beside it on its row (labels do).
    virtual bool CaptionsItsRow() const { return false; }
    // The tooltip a host shows over the control: ToolTipText when it is set, else what the
    // kind tells of itself (a parameter's number, name, units and range); empty for none.
    virtual std::string ToolTip() const { return m_toolTipText; }

    // Appends this control's look (without its children) to out. Each kind draws itself; this
    // base draws a placeholder, a dashed outline with the name in grey. A kind may throw when an
    // outside object does not answer; what it appended until then stays.
    virtual void Draw(DisplayList& out, const DrawContext& ctx) const;
    // What each kind tells about itself, so tools, reports and the panel's enabling need not
    // know the kinds.
    //
    // The element an accessibility tool sees for this control now: the description (the
    // qualified name, then ": " and the tooltip when there is one), Enabled and IsShown(), then
    // what DescribeAccessible adds. A kind that names a default action gets UserClick as it,
    // holding the control weakly, so a kept snapshot does not keep a dropped panel alive.
    AccessibleElement Accessible();
    // Fills the kind's role, name, state and default action's name; the base leaves a client
    // with no name and no default action.
    virtual void DescribeAccessible(AccessibleElement& element) const { (void)element; }
    // What a report line shows of this kind beyond the common properties, as items each led by
    // a blank (` "caption"`, ` value=checked`); empty for a kind with nothing more to show.
    virtual std::string ReportDetails() const { return {}; }
    // The parameter number this kind edits, read at the call (binding may point an editor at
    // another parameter); nullopt for a kind that edits no parameter.
    virtual std::optional<int32_t> EditedParameter() const { return std::nullopt; }

    // Raised with the by-name spelling of the property that changed ("Refresh" for Refresh).
    Event<std::string_view> PropertyChanged;

  protected:
    Control(std::string typeName, std::string name, int16_t index);

    const MemberTable& Members() const override;
    static const MemberTable& CommonProperties();

    // Stores value and announces it; false when the member already held it.
    template <class T>
    bool Change(T& member, T value, std::string_view property) {
        if (member == value) {
            return false;
        }
        member = std::move(value);
        Changed(property);
        return true;
    }
    void Changed(std::string_view property);

    // A strong reference for the length of a dispatch whose handler might drop the control;
    // empty for a control that is not owned by a shared_ptr.
    std::shared_ptr<Control> KeepAlive() { return weak_from_this().lock(); }

  private:
    std::string m_typeName;
    std::string m_name;
    int16_t m_index;
    Control* m_parent = nullptr;
    std::vector<std::shared_ptr<Control>> m_children;

    bool m_visible = true;
    bool m_enabled = true;
    std::string m_toolTipText;
    std::string m_tag;
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_backColor = ColorButtonFace;
};

// Controls that show a caption in a font: labels, frames, buttons and check boxes.
class CaptionedControl : public Control {
  public:
    std::string get_Caption() const { return m_caption; }
    void put_Caption(std::string v);
    int32_t get_ForeColor() const { return m_foreColor; }
    void put_ForeColor(int32_t v);
    bool get_FontBold() const { return m_fontBold; }
    void put_FontBold(bool v);
    double get_FontSize() const { return m_fontSize; }
    void put_FontSize(double v);

    // The caption, quoted.
    std::string ReportDetails() const override;
    // The caption as the screen shows it, else the row's caption.
    std::string UserCaption() const override;

  protected:
    using Control::Control;
    const MemberTable& Members() const override;
    static const MemberTable& CaptionedProperties();

    // The caption's font, and its colour: ForeColor, or grey text while disabled.
    Font CaptionFont() const { return Font{m_fontSize, m_fontBold}; }
    Color CaptionColor() const;

  private:
    std::string m_caption;
    int32_t m_foreColor = ColorWindowText;
    bool m_fontBold = false;
    double m_fontSize = 8.25;
};

}  // namespace arn
