#include "platform/StringTable.h"

#include <windows.h>

#include "platform/win32/ThisModule.h"

namespace arn {

std::optional<std::string> LoadResString(int32_t id) {
    if (id < 0 || id > 0xFFFF) {
        return std::nullopt;
    }
    // Strings are kept in blocks of 16, block n + 1 holding ids 16n to 16n + 15, each a
    // length-counted UTF-16 text; an id without text has length 0.
    const HMODULE module = win32::ThisModule();
    HRSRC found =
        FindResourceA(module, MAKEINTRESOURCEA((id >> 4) + 1), MAKEINTRESOURCEA(6) /*RT_STRING*/);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* block =
        static_cast<const WCHAR*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (block == nullptr) {
        return std::nullopt;
    }
    const size_t end = SizeofResource(module, found) / sizeof(WCHAR);
    size_t at = 0;
    for (int32_t skip = id & 15; skip > 0 && at < end; --skip) {
        at += 1 + block[at];
    }
    if (at >= end || block[at] == 0 || at + 1 + block[at] > end) {
        return std::nullopt;
    }
    const WCHAR* text = block + at + 1;
    const int length = block[at];
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), size, nullptr, nullptr);
    }
    return out;
}

}  // namespace arn
