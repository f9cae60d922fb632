#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Dispatch.h"
#include "draw/Primitives.h"

namespace arn {

// An image handle: the resource id it was loaded from and its pixels, row by row, four bytes
// per pixel in R, G, B, A order. Immutable once made, so controls may share one.
class Picture : public Dispatch {
  public:
    // pixels must hold width * height * 4 bytes; a mismatch raises Invalid property value.
    static std::shared_ptr<Picture> Create(int32_t id, int32_t width, int32_t height,
                                           std::vector<uint8_t> pixels);

    std::string TypeName() const override { return "Picture"; }
    int32_t get_Handle() const { return m_id; }
    int32_t get_Width() const { return m_width; }
    int32_t get_Height() const { return m_height; }
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }

  protected:
    const MemberTable& Members() const override;

  private:
    Picture(int32_t id, int32_t width, int32_t height, std::vector<uint8_t> pixels);

    int32_t m_id;
    int32_t m_width;
    int32_t m_height;
    std::vector<uint8_t> m_pixels;
};

// The primitive that draws picture scaled into box; the list shares the pixels.
PictureOp PictureAt(const std::shared_ptr<Picture>& picture, const Rect& box, bool smooth);
// The picture's own size at topLeft, a pixel of it a pixel at 96 dots per inch.
Rect NaturalSize(const Picture& picture, Point topLeft);

}  // namespace arn
