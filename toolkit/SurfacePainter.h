#pragma once

#include <optional>

#include "draw/Geometry.h"

namespace arn {

class Control;
class DisplayList;
class TextMetrics;
class UserControl;

// Turns a surface's control tree into a display list: each shown control draws itself in
// control order (containers before their content, later siblings over earlier ones), and a
// container clips what it holds to its inside so that its border stays whole.
class SurfacePainter {
  public:
    // The painter borrows both for its own lifetime.
    SurfacePainter(const UserControl& surface, const TextMetrics& metrics);

    // Appends the surface: the face colour behind everything, the controls, then the focus mark
    // around focused when it is shown. pressed draws held down (nullptr: none). With a region
    // (twips on the surface) only controls meeting it are drawn, clipped to it; without one the
    // whole surface is.
    //
    // A control whose outside object fails while it draws (a field of a released node) keeps
    // what it appended until then; the others draw on.
    void Paint(DisplayList& out, const Control* pressed, const Control* focused,
               std::optional<Rect> region = std::nullopt) const;

  private:
    void PaintTree(DisplayList& out, const Control& ctl, Point origin, const Control* pressed,
                   const std::optional<Rect>& region) const;

    const UserControl& m_surface;
    const TextMetrics& m_metrics;
};

}  // namespace arn
