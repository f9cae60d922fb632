#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace arn::win32 {

// Text between the library (UTF-8) and the component runtime (UTF-16).
std::wstring Widen(std::string_view text);
std::string Narrow(const wchar_t* text, size_t length);
std::string Narrow(const wchar_t* text);

// A GUID from its registry form "{...}"; GUID_NULL for a text that is not one.
GUID GuidFromText(std::string_view text);

}  // namespace arn::win32
