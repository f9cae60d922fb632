#pragma once

#include <cstdint>
#include <string>

namespace arn {

// The string-table text of id; error 326 when the table has none.
std::string ResString(int32_t id);

}  // namespace arn
