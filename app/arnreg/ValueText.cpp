#include "app/arnreg/ValueText.h"

#include <charconv>
#include <sstream>

namespace arn {

std::optional<int32_t> ValueText::ParseDword(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    if (hex) {
        uint32_t value = 0;
        const auto [end, ec] = std::from_chars(first, last, value, 16);
        if (ec != std::errc() || end != last) {
            return std::nullopt;
        }
        return static_cast<int32_t>(value);
    }
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc() || end != last || value < INT32_MIN || value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value & 0xFFFFFFFF));
}

std::string ValueText::Show(DWORD type, const std::string& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        const bool terminated = !data.empty() && data.back() == '\0';
        return Escaped(std::string_view(data).substr(0, data.size() - (terminated ? 1 : 0)));
    }
    if (type == REG_DWORD && data.size() == 4) {
        uint32_t bits = 0;
        for (int i = 3; i >= 0; --i) {
            bits = bits << 8 | static_cast<uint8_t>(data[static_cast<size_t>(i)]);
        }
        return std::to_string(static_cast<int32_t>(bits));
    }
    std::ostringstream text;
    text << "hex(" << type << "):";
    for (size_t i = 0; i < data.size(); ++i) {
        text << (i == 0 ? "" : ",") << std::hex;
        text.width(2);
        text.fill('0');
        text << static_cast<unsigned>(static_cast<uint8_t>(data[i]));
    }
    return text.str();
}

std::string ValueText::Escaped(std::string_view text) {
    constexpr char kDelete = 0x7F;
    constexpr const char* kHex = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && c != kDelete) {
            shown += c;
        } else if (c == '\0') {
            shown += "\\0";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else {
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
        }
    }
    return shown;
}

}  // namespace arn
