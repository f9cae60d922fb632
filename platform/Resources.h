#pragma once

#include <cstdint>
#include <memory>

#include "platform/Picture.h"

namespace arn {

// Ids of the library's own images: the check-box pictures for each enabled and checked state.
inline constexpr int32_t ResIconCheckEnabledUnchecked = 500;
inline constexpr int32_t ResIconCheckEnabledChecked = 501;
inline constexpr int32_t ResIconCheckDisabledUnchecked = 503;
inline constexpr int32_t ResIconCheckDisabledChecked = 504;

// Side of the square check-box pictures, in pixels.
inline constexpr int32_t ResIconSize = 20;

// Loads one of the library's images. The pictures are made once and shared: every load of an
// id returns the same immutable object. An id the library does not carry raises ArnError 326
// "Resource with identifier '<id>' not found".
std::shared_ptr<Picture> LoadResPicture(int32_t id);

}  // namespace arn
