#include "host/controls/ArnFdbkDisplayCtl.h"
#include <algorithm>
#include <exception>
#include <utility>
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "host/EntryRule.h"
#include "host/Node.h"
#include "host/NodeParams.h"
#include "host/ParamCatalogue.h"
#include "host/values/Number.h"
#include "host/values/NumberText.h"
#include "host/values/Value.h"
#include "toolkit/DrawContext.h"

#include <utility>

namespace arn {

ArnFdbkDisplayCtl::ArnFdbkDisplayCtl(std::string name, int16_t index)
    : SubPanel("ArnFdbkDisplayCtl", std::move(name), index, "Position Feedback") {}

namespace {

// The read-out's dark window and its digits, dimmed while disabled.
constexpr Color ReadoutFill = Color::Rgb(0x10, 0x18, 0x10);
constexpr Color Digits = Color::Rgb(0x40, 0xFF, 0x60);
constexpr Color DimDigits = Color::Rgb(0x40, 0x80, 0x50);
constexpr Font DigitsFont{HostControlFont.points, true, FontFace::Monospace};

constexpr Font UnitsFont{HostControlFont.points, false, FontFace::Proportional};

// The read-out window's share of the control's width: at least the design's, at most what
// leaves the caption two short lines.
constexpr int32_t ReadoutLeastPercent = 37;
constexpr int32_t ReadoutMostPercent = 70;

}  // namespace

std::optional<double> ArnFdbkDisplayCtl::Measured() const {
    const auto node = AttachedNode();
    if (!node) {
        return std::nullopt;
    }
    try {
        return node->Param(param::MeasuredPosition)->get_NumberValue()->GetDouble();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string ArnFdbkDisplayCtl::PositionText() const {
    if (!AttachedNode()) {
        return "-";
    }
    const auto measured = Measured();
    return measured ? GroupedWhole(*measured) : "?";
}

std::string ArnFdbkDisplayCtl::UnitsText() const {
    const auto node = AttachedNode();
    std::string quantity;
    std::string units;
    try {
        if (node && node->ParamExists(param::MeasuredPosition)) {
            node->Param(param::MeasuredPosition)->get_UnitsInfo()->GetUnitsText(quantity, units);
        }
    } catch (const std::exception&) {
        return {};
    }
    return units;
}

std::string ArnFdbkDisplayCtl::ToolTip() const {
    if (!get_ToolTipText().empty()) {
        return get_ToolTipText();
    }
    if (!AttachedNode()) {
        return get_Caption() + ": no drive attached";
    }
    const std::string units = UnitsText();
    const ParamInfo* info = FindParamInfo(param::MeasuredPosition);
    return get_Caption() + ": " + PositionText() + (units.empty() ? "" : " " + units) + "\n" +
           EntryRule::For(param::MeasuredPosition, info ? info->name : "Measured Position", units)
               .Describe();
}

void ArnFdbkDisplayCtl::Draw(DisplayList& out, const DrawContext& ctx) const {
    using style::Px;
    const Rect& box = ctx.box;
    const bool enabled = get_Enabled();
    out.Fill(box, Color::FromBgr(get_BackColor()));

    const std::string units = UnitsText();
    const int32_t unitsWidth = units.empty() ? 0 : ctx.metrics.TextWidth(UnitsFont, units) + 4 * Px;
    const int32_t padding = 10 * Px;
    const int32_t least = box.width * ReadoutLeastPercent / 100;
    const int32_t most = box.width * ReadoutMostPercent / 100;
    const auto needs = [&](const std::string& text) {
        return ctx.metrics.TextWidth(DigitsFont, text) + unitsWidth + padding;
    };
    std::string shown = PositionText();
    if (const auto measured = Measured(); measured && needs(shown) > most) {
        for (const auto& [scale, mark] : {std::pair{1e3, "k"}, std::pair{1e6, "M"}}) {
            shown = GroupedWhole(*measured / scale) + mark;
            if (needs(shown) <= most) {
                break;
            }
        }
    }
    const int32_t width = std::clamp(needs(shown), least, most);
    const Rect readout{box.Right() - 2 * Px - width, box.top + 5 * Px, width, box.height - 10 * Px};
    out.Add(TextOp{{box.left + 2 * Px, box.top, readout.left - box.left - 4 * Px, box.height},
                   get_Caption(),
                   HostControlFont,
                   enabled ? style::WindowText : style::GrayText,
                   HAlign::Left,
                   VAlign::Center,
                   true});
    style::SunkenEdge(out, readout, ReadoutFill, ctx.pixel);
    const Rect inside{readout.left + 3 * Px, readout.top, readout.width - 7 * Px, readout.height};
    out.Add(TextOp{{inside.left, inside.top, inside.width - unitsWidth, inside.height},
                   shown,
                   DigitsFont,
                   enabled ? Digits : DimDigits,
                   HAlign::Right,
                   VAlign::Center});
    if (!units.empty()) {
        out.Add(TextOp{
            {inside.Right() - unitsWidth + 4 * Px, inside.top, unitsWidth - 4 * Px, inside.height},
            units,
            UnitsFont,
            DimDigits,
            HAlign::Right,
            VAlign::Center});
    }
}

void ArnFdbkDisplayCtl::AttachControl(const std::shared_ptr<Net>& theNet,
                                      const std::shared_ptr<Node>& theNode,
                                      const std::shared_ptr<void>& theAppObj,
                                      const std::string& regName, const std::string& regSect) {
    // Subscribed before anything is held, so that a node call that fails, or a listener that
    // refuses the attachment, leaves nothing behind.
    Connection follow;
    if (theNode && theNode->ParamExists(param::MeasuredPosition)) {
        // The node hands out the same value object for its lifetime; the connection goes at
        // release or with this control, so the raw this stays valid for every call.
        follow = theNode->Param(param::MeasuredPosition)
                     ->ValueChanged.connect([this](const std::shared_ptr<Value>&) { Refresh(); });
    }
    SubPanel::AttachControl(theNet, theNode, theAppObj, regName, regSect);
    m_measuredChanged = std::move(follow);
    Refresh();
}

void ArnFdbkDisplayCtl::ReleaseControl() {
    m_measuredChanged.disconnect();
    SubPanel::ReleaseControl();
    Refresh();
}

}  // namespace arn
