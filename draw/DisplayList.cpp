#include "draw/DisplayList.h"

#include "draw/Canvas.h"

namespace arn {

void DisplayList::Replay(Canvas& canvas) const {
    for (const DrawOp& op : m_ops) {
        std::visit([&canvas](const auto& primitive) { canvas.Draw(primitive); }, op);
    }
}

}  // namespace arn
