#pragma once

#include <cstddef>
#include <utility>
#include <variant>
#include <vector>

#include "draw/Primitives.h"

namespace arn {

class Canvas;

using DrawOp = std::variant<FillRectOp, StrokeRectOp, LineOp, PolylineOp, PolygonOp, EllipseOp,
                            RoundedRectOp, TextOp, PictureOp, PushClipOp, PopClipOp, FocusRectOp>;

// What a surface looks like, as primitives in painting order: built once without any device,
// then replayed into whichever canvas shows it. Pictures are shared, not copied.
class DisplayList {
  public:
    template <class Op>
    void Add(Op op) {
        m_ops.emplace_back(std::move(op));
    }
    // Shorthands for the commonest primitives.
    void Fill(const Rect& box, Color color) { Add(FillRectOp{box, color}); }
    void Stroke(const Rect& box, const Pen& pen) { Add(StrokeRectOp{box, pen}); }
    void Line(Point a, Point b, const Pen& pen) { Add(LineOp{a, b, pen}); }

    const std::vector<DrawOp>& Ops() const { return m_ops; }
    std::size_t Size() const { return m_ops.size(); }
    bool Empty() const { return m_ops.empty(); }
    // Keeps the storage, so a list rebuilt every frame stops allocating for itself.
    void Clear() { m_ops.clear(); }

    void Replay(Canvas& canvas) const;

  private:
    std::vector<DrawOp> m_ops;
};

}  // namespace arn
