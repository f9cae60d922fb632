#include "platform/win32/com/ComText.h"

#include <objbase.h>

#include <cwchar>

namespace arn::win32 {

std::wstring Widen(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const wchar_t* text, size_t length) {
    if (text == nullptr || length == 0) {
        return {};
    }
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::string Narrow(const wchar_t* text) {
    return text == nullptr ? std::string() : Narrow(text, std::wcslen(text));
}

GUID GuidFromText(std::string_view text) {
    GUID guid = GUID_NULL;
    std::wstring wide = Widen(text);
    if (FAILED(CLSIDFromString(wide.c_str(), &guid))) {
        return GUID_NULL;
    }
    return guid;
}

}  // namespace arn::win32
