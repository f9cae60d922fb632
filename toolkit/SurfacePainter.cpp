#include "toolkit/SurfacePainter.h"

#include <exception>

#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/Control.h"
#include "toolkit/DrawContext.h"
#include "toolkit/UserControl.h"

namespace arn {

namespace {

// A container's inside: within the one-pixel etch on the left and top and the two-pixel one on
// the right and bottom.
Rect Inside(const Rect& box, int32_t pixel) {
    return {box.left + pixel, box.top + pixel, box.width - 3 * pixel, box.height - 3 * pixel};
}

}  // namespace

SurfacePainter::SurfacePainter(const UserControl& surface, const TextMetrics& metrics)
    : m_surface(surface), m_metrics(metrics) {}

void SurfacePainter::Paint(DisplayList& out, const Control* pressed, const Control* focused,
                           std::optional<Rect> region) const {
    if (region) {
        out.Add(PushClipOp{*region});
    }
    out.Fill(region ? *region : Rect{0, 0, m_surface.get_ScaleWidth(), m_surface.get_ScaleHeight()},
             style::Face);
    for (const auto& top : m_surface.TopLevelControls()) {
        PaintTree(out, *top, {0, 0}, pressed, region);
    }
    if (focused && focused->IsShown()) {
        // The mark runs two pixels outside the control.
        const int32_t gap = 2 * m_metrics.PixelTwips();
        out.Add(FocusRectOp{focused->SurfaceRect().Adjusted(gap, gap)});
    }
    if (region) {
        out.Add(PopClipOp{});
    }
}

void SurfacePainter::PaintTree(DisplayList& out, const Control& ctl, Point origin,
                               const Control* pressed, const std::optional<Rect>& region) const {
    if (!ctl.get_Visible()) {
        return;
    }
    const Rect box = ctl.Bounds().Translated(origin.x, origin.y);
    // What lies outside the region is skipped with everything it contains, which its clip
    // would cut away anyway.
    if (region && !ctl.DrawnBounds().Translated(origin.x, origin.y).Intersects(*region)) {
        return;
    }
    try {
        ctl.Draw(out, DrawContext{box, origin, &ctl == pressed, m_metrics, m_metrics.PixelTwips()});
    } catch (const std::exception&) {
        // Drawn as far as it got; its next change repaints it.
    }
    if (ctl.Children().empty()) {
        return;
    }
    out.Add(PushClipOp{Inside(box, m_metrics.PixelTwips())});
    for (const auto& child : ctl.Children()) {
        PaintTree(out, *child, box.TopLeft(), pressed, region);
    }
    out.Add(PopClipOp{});
}

}  // namespace arn
