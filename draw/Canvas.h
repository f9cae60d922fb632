#pragma once

#include "draw/Primitives.h"

namespace arn {

// What a display list replays into: one call per primitive, in list order. A renderer maps
// twips to its device and keeps the clip stack balanced as the list pushes and pops.
class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual void Draw(const FillRectOp& op) = 0;
    virtual void Draw(const StrokeRectOp& op) = 0;
    virtual void Draw(const LineOp& op) = 0;
    virtual void Draw(const PolylineOp& op) = 0;
    virtual void Draw(const PolygonOp& op) = 0;
    virtual void Draw(const EllipseOp& op) = 0;
    virtual void Draw(const RoundedRectOp& op) = 0;
    virtual void Draw(const TextOp& op) = 0;
    virtual void Draw(const PictureOp& op) = 0;
    virtual void Draw(const PushClipOp& op) = 0;
    virtual void Draw(const PopClipOp& op) = 0;
    virtual void Draw(const FocusRectOp& op) = 0;
};

}  // namespace arn
