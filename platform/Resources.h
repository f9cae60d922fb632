#pragma once

#include <cstdint>
#include <vector>

namespace arn {

// Ids of the library's own images: the check-box pictures for each enabled and checked state.
inline constexpr int32_t ResIconCheckEnabledUnchecked = 500;
inline constexpr int32_t ResIconCheckEnabledChecked = 501;
inline constexpr int32_t ResIconCheckDisabledUnchecked = 503;
inline constexpr int32_t ResIconCheckDisabledChecked = 504;

// Side of the square check-box pictures, in pixels.
inline constexpr int32_t ResIconSize = 20;

// One of the library's images: its pixels row by row, four bytes per pixel in R, G, B, A order.
struct ResIcon {
    int32_t id;
    int32_t width;
    int32_t height;
    std::vector<uint8_t> pixels;
};

// The library's image of this id, made once and kept for the life of the process. An id the
// library does not carry raises ArnError 326 "Resource with identifier '<id>' not found".
const ResIcon& LoadResIcon(int32_t id);

}  // namespace arn
