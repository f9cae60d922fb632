#include "platform/SystemCalls.h"

#include <windows.h>

#include <string>

namespace arn::detail {

namespace {

// The library's texts are UTF-8; the system's debug output takes the ANSI code page. A text
// that is not valid UTF-8 is passed on as it is.
std::string ToAnsi(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int wide =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wide <= 0) {
        return std::string(text);
    }
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, utf16.data(), wide);
    const int ansi =
        WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (ansi <= 0) {
        return std::string(text);
    }
    std::string out(static_cast<size_t>(ansi), '\0');
    WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, out.data(), ansi, nullptr, nullptr);
    return out;
}

}  // namespace

void SystemDebugOutput(std::string_view text) {
    ::OutputDebugStringA(ToAnsi(text).c_str());
}

void SystemBeep() {
    ::MessageBeep(MB_OK);
}

}  // namespace arn::detail
