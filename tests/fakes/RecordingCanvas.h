#pragma once

#include <vector>

#include "draw/Canvas.h"
#include "draw/DisplayList.h"
#include "draw/TextMetrics.h"

namespace arn::test {

// A canvas that keeps what is replayed into it, and text metrics that any test can work out by
// hand: a character is half its font's size wide, a line 1.2 times its size high, a device pixel
// one pixel at 96 dots per inch.
class RecordingCanvas : public Canvas, public TextMetrics {
  public:
    void Draw(const FillRectOp& op) override { m_ops.emplace_back(op); }
    void Draw(const StrokeRectOp& op) override { m_ops.emplace_back(op); }
    void Draw(const LineOp& op) override { m_ops.emplace_back(op); }
    void Draw(const PolylineOp& op) override { m_ops.emplace_back(op); }
    void Draw(const PolygonOp& op) override { m_ops.emplace_back(op); }
    void Draw(const EllipseOp& op) override { m_ops.emplace_back(op); }
    void Draw(const RoundedRectOp& op) override { m_ops.emplace_back(op); }
    void Draw(const TextOp& op) override { m_ops.emplace_back(op); }
    void Draw(const PictureOp& op) override { m_ops.emplace_back(op); }
    void Draw(const PushClipOp& op) override;
    void Draw(const PopClipOp& op) override;
    void Draw(const FocusRectOp& op) override { m_ops.emplace_back(op); }

    int32_t TextWidth(const Font& font, std::string_view text) const override;
    int32_t TextHeight(const Font& font) const override;
    int32_t PixelTwips() const override { return TwipsPerPixelAt96Dpi; }

    const std::vector<DrawOp>& Ops() const { return m_ops; }
    // The recorded primitives of one kind, in order; with a box, only those whose own box (or
    // end point) lies inside it.
    template <class Op>
    std::vector<Op> All() const {
        std::vector<Op> found;
        for (const DrawOp& op : m_ops) {
            if (const Op* o = std::get_if<Op>(&op)) {
                found.push_back(*o);
            }
        }
        return found;
    }
    template <class Op>
    std::vector<Op> Within(const Rect& box) const {
        std::vector<Op> found;
        for (const Op& op : All<Op>()) {
            if (Inside(op, box)) {
                found.push_back(op);
            }
        }
        return found;
    }
    // The clip stack: how deep it went, how deep it is now, and how many pops found it empty.
    int MaxClipDepth() const { return m_maxDepth; }
    int ClipDepth() const { return m_depth; }
    int UnmatchedPops() const { return m_unmatchedPops; }

  private:
    static bool Inside(const Rect& r, const Rect& box);
    template <class Op>
    static bool Inside(const Op& op, const Rect& box) {
        if constexpr (requires { op.box; }) {
            return Inside(op.box, box);
        } else if constexpr (requires { op.points; }) {
            return !op.points.empty() && box.Contains(op.points.front());
        } else if constexpr (requires { op.a; }) {
            return box.Contains(op.a);
        } else {
            return false;
        }
    }

    std::vector<DrawOp> m_ops;
    int m_depth = 0;
    int m_maxDepth = 0;
    int m_unmatchedPops = 0;
};

}  // namespace arn::test
