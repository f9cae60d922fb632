#include "toolkit/ButtonFace.h"

#include <algorithm>

#include "draw/DisplayList.h"
#include "draw/Style.h"
#include "toolkit/DrawContext.h"
#include "toolkit/Picture.h"

namespace arn {

void DrawButtonFace(DisplayList& out, const DrawContext& ctx, Color face,
                    const std::shared_ptr<Picture>& picture, const std::string& caption,
                    const Font& font, Color textColor) {
    using style::Px;
    style::Bevel(out, ctx.box, !ctx.pressed, face, ctx.pixel);
    Rect inner = ctx.box.Adjusted(-3 * Px, -2 * Px);
    if (ctx.pressed) {
        inner = inner.Translated(ctx.pixel, ctx.pixel);
    }
    if (picture) {
        const int32_t side = std::min(inner.height, inner.width / 3);
        out.Add(PictureAt(picture, {inner.left, inner.top + (inner.height - side) / 2, side, side},
                          false));
        inner.left += side + 3 * Px;
        inner.width -= side + 3 * Px;
    }
    out.Add(TextOp{inner, caption, font, textColor, HAlign::Center, VAlign::Center, true});
}

}  // namespace arn
