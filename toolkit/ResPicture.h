#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/Picture.h"

namespace arn {

// Loads one of the library's images as a picture. Each id is made into a picture once and
// shared: every load of an id returns the same immutable object. An id the library does not
// carry raises ArnError 326 "Resource with identifier '<id>' not found".
std::shared_ptr<Picture> LoadResPicture(int32_t id);

}  // namespace arn
