#include "toolkit/Picture.h"
#include "core/ErrorCatalogue.h"

namespace arn {

Picture::Picture(int32_t id, int32_t width, int32_t height, std::vector<uint8_t> pixels)
    : m_id(id), m_width(width), m_height(height), m_pixels(std::move(pixels)) {}

std::shared_ptr<Picture> Picture::Create(int32_t id, int32_t width, int32_t height,
                                         std::vector<uint8_t> pixels) {
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4u) {
        throw MakeError(err::InvalidPropertyValue, "Picture", "pixels");
    }
    return std::shared_ptr<Picture>(new Picture(id, width, height, std::move(pixels)));
}

const MemberTable& Picture::Members() const {
    static const MemberTable table{
        ReadOnlyProp("Handle", &Picture::get_Handle),
        ReadOnlyProp("Width", &Picture::get_Width),
        ReadOnlyProp("Height", &Picture::get_Height),
    };
    return table;
}

PictureOp PictureAt(const std::shared_ptr<Picture>& picture, const Rect& box, bool smooth) {
    return PictureOp{box,
                     picture->get_Handle(),
                     picture->get_Width(),
                     picture->get_Height(),
                     picture->Pixels().data(),
                     picture,
                     smooth};
}

Rect NaturalSize(const Picture& picture, Point topLeft) {
    return {topLeft.x, topLeft.y, picture.get_Width() * TwipsPerPixelAt96Dpi,
            picture.get_Height() * TwipsPerPixelAt96Dpi};
}

}  // namespace arn
