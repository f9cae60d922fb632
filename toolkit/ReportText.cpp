#include "toolkit/ReportText.h"

#include <cstdio>

#include "toolkit/Picture.h"

namespace arn::report {

namespace {

constexpr unsigned kColourBits = 0xFFFFFFu;

}  // namespace

const char* YesNo(bool v) {
    return v ? "yes" : "no";
}

std::string Colour(int32_t bgr) {
    char text[16];
    std::snprintf(text, sizeof text, "&H%06X", static_cast<unsigned>(bgr) & kColourBits);
    return text;
}

std::string PictureHandle(const std::shared_ptr<Picture>& picture) {
    return picture ? std::to_string(picture->get_Handle()) : "none";
}

}  // namespace arn::report
