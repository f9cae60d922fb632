#pragma once

#include <memory>
#include <string>

#include "draw/Color.h"
#include "draw/Font.h"

namespace arn {

class DisplayList;
class Picture;
struct DrawContext;

// The push buttons' look: a raised face (pressed in while held), an optional picture at the
// left and the caption centred and wrapped in what is left.
void DrawButtonFace(DisplayList& out, const DrawContext& ctx, Color face,
                    const std::shared_ptr<Picture>& picture, const std::string& caption,
                    const Font& font, Color textColor);

}  // namespace arn
