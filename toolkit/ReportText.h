#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace arn {

class Picture;

// How a control report writes the values that the kinds show (Control::ReportDetails), so
// every kind writes a colour or a picture the same way.
namespace report {

// "yes" or "no".
const char* YesNo(bool v);
// A colour word as "&HBBGGRR", six upper-case hex digits.
std::string Colour(int32_t bgr);
// A picture's handle, or "none".
std::string PictureHandle(const std::shared_ptr<Picture>& picture);

}  // namespace report

}  // namespace arn
