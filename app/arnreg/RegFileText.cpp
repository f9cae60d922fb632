#include "app/arnreg/RegFileText.h"

#include <cstdint>

namespace arn {

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Unpaired surrogates and a dangling odd byte become U+FFFD rather than failing the import.
std::string Utf16ToUtf8(const std::string& bytes, size_t start, bool bigEndian) {
    constexpr uint32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(bytes.size() / 2);
    const auto unit = [&](size_t at) {
        const auto b0 = static_cast<uint8_t>(bytes[at]);
        const auto b1 = static_cast<uint8_t>(bytes[at + 1]);
        return static_cast<uint32_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
    };
    size_t at = start;
    while (at + 1 < bytes.size()) {
        const uint32_t u = unit(at);
        at += 2;
        if (u >= 0xD800 && u < 0xDC00 && at + 1 < bytes.size()) {
            const uint32_t low = unit(at);
            if (low >= 0xDC00 && low < 0xE000) {
                at += 2;
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        AppendUtf8(out, u >= 0xD800 && u < 0xE000 ? kReplacement : u);
    }
    if (at < bytes.size()) {
        AppendUtf8(out, kReplacement);
    }
    return out;
}

}  // namespace

std::string DecodeRegistryFile(const std::string& bytes) {
    std::string text;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        text = Utf16ToUtf8(bytes, 2, false);
    } else if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
        text = Utf16ToUtf8(bytes, 2, true);
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text = bytes.substr(3);
    } else {
        text = bytes;
    }
    if (text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos) {
        std::string crlf;
        crlf.reserve(text.size() + text.size() / 16);
        for (const char c : text) {
            if (c == '\n') {
                crlf += '\r';
            }
            crlf += c;
        }
        text = std::move(crlf);
    }
    return text;
}

}  // namespace arn
