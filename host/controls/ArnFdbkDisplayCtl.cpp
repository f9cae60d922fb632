#include "host/controls/ArnFdbkDisplayCtl.h"
#include <cmath>
#include <exception>
#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "host/Node.h"
#include "host/NodeParams.h"
#include "host/values/Number.h"
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

// Whole counts with a comma between thousands: -1234567.4 reads "-1,234,567".
std::string WithThousands(double v) {
    if (!std::isfinite(v)) {
        return "?";
    }
    const double rounded = std::round(v);
    const std::string digits = std::to_string(static_cast<long long>(std::fabs(rounded)));
    std::string text;
    if (rounded < 0) {
        text.push_back('-');
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text.push_back(',');
        }
        text.push_back(digits[i]);
    }
    return text;
}

}  // namespace

std::string ArnFdbkDisplayCtl::PositionText() const {
    const auto node = AttachedNode();
    if (!node) {
        return "-";
    }
    try {
        return WithThousands(node->Param(param::MeasuredPosition)->get_NumberValue()->GetDouble());
    } catch (const std::exception&) {
        return "?";
    }
}

void ArnFdbkDisplayCtl::Draw(DisplayList& out, const DrawContext& ctx) const {
    using style::Px;
    const Rect& box = ctx.box;
    const bool enabled = get_Enabled();
    out.Fill(box, Color::FromBgr(get_BackColor()));
    const int32_t readoutLeft = box.left + box.width * 63 / 100;
    const Rect readout{readoutLeft, box.top + 5 * Px, box.Right() - readoutLeft - 2 * Px,
                       box.height - 10 * Px};
    out.Add(TextOp{{box.left + 2 * Px, box.top, readout.left - box.left - 4 * Px, box.height},
                   get_Caption(),
                   HostControlFont,
                   enabled ? style::WindowText : style::GrayText,
                   HAlign::Left,
                   VAlign::Center});
    style::SunkenEdge(out, readout, ReadoutFill, ctx.pixel);
    out.Add(TextOp{{readout.left + 3 * Px, readout.top, readout.width - 7 * Px, readout.height},
                   PositionText(),
                   DigitsFont,
                   enabled ? Digits : DimDigits,
                   HAlign::Right,
                   VAlign::Center});
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
