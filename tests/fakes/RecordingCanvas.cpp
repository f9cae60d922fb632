#include "fakes/RecordingCanvas.h"

#include <algorithm>
#include <cmath>

namespace arn::test {

void RecordingCanvas::Draw(const PushClipOp& op) {
    m_ops.emplace_back(op);
    m_maxDepth = std::max(m_maxDepth, ++m_depth);
}

void RecordingCanvas::Draw(const PopClipOp& op) {
    m_ops.emplace_back(op);
    if (m_depth == 0) {
        ++m_unmatchedPops;
    } else {
        --m_depth;
    }
}

int32_t RecordingCanvas::TextWidth(const Font& font, std::string_view text) const {
    return static_cast<int32_t>(std::lround(font.points * 10 * static_cast<double>(text.size())));
}

int32_t RecordingCanvas::TextHeight(const Font& font) const {
    return static_cast<int32_t>(std::lround(font.points * 24));
}

bool RecordingCanvas::Inside(const Rect& r, const Rect& box) {
    return r.left >= box.left && r.top >= box.top && r.Right() <= box.Right() &&
           r.Bottom() <= box.Bottom();
}

}  // namespace arn::test
