#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace arn {

// The library's string table: the text of an id, or nothing when the table has no such entry.
std::optional<std::string> LoadResString(int32_t id);

}  // namespace arn
