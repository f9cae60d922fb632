#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/RegistryApi.h"

namespace arn {

// Values as arnreg's command line writes and reads them.
class ValueText {
  public:
    // A 32-bit number in decimal (negative ones included, and up to 4294967295) or 0x hex.
    static std::optional<int32_t> ParseDword(const std::string& text);
    // As list and get show a value: strings as their text with control characters escaped,
    // DWORDs as signed decimal numbers, anything else as hex bytes ("hex(3):01,02").
    static std::string Show(DWORD type, const std::string& data);
    // Text safe for a terminal: NUL, tab, line feed and carriage return as \0, \t, \n, \r,
    // the other control characters (DEL included) as \xHH; everything else unchanged.
    static std::string Escaped(std::string_view text);
};

}  // namespace arn
