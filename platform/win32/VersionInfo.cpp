#include "platform/VersionInfo.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/ThisModule.h"

namespace arn {

namespace {

// The fixed part of the module's version resource, or zeros when the module carries none.
VS_FIXEDFILEINFO FixedVersion() {
    VS_FIXEDFILEINFO info{};
    const HMODULE module = win32::ThisModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* bytes =
        static_cast<const uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (bytes == nullptr) {
        return info;
    }
    // The fixed part follows the block's header and key on a 4-byte boundary; its signature
    // finds it without walking the header.
    const DWORD size = SizeofResource(module, found);
    for (DWORD at = 0; at + sizeof info <= size; at += 4) {
        DWORD signature = 0;
        std::memcpy(&signature, bytes + at, sizeof signature);
        if (signature == 0xFEEF04BD) {
            std::memcpy(&info, bytes + at, sizeof info);
            break;
        }
    }
    return info;
}

const VS_FIXEDFILEINFO& Version() {
    static const VS_FIXEDFILEINFO info = FixedVersion();
    return info;
}

const std::string& ModuleFile() {
    static const std::string file = [] {
        std::string path(MAX_PATH, '\0');
        while (true) {
            const DWORD n = GetModuleFileNameA(win32::ThisModule(), path.data(),
                                               static_cast<DWORD>(path.size()));
            if (n == 0) {
                return std::string();
            }
            if (n < path.size()) {
                path.resize(n);
                return path;
            }
            path.resize(path.size() * 2);  // cut short: try a larger buffer
        }
    }();
    return file;
}

}  // namespace

int32_t AppMajor() {
    return static_cast<int32_t>(HIWORD(Version().dwFileVersionMS));
}

int32_t AppMinor() {
    return static_cast<int32_t>(LOWORD(Version().dwFileVersionMS));
}

int32_t AppRevision() {
    return static_cast<int32_t>(HIWORD(Version().dwFileVersionLS));
}

std::string AppPath() {
    const std::string& file = ModuleFile();
    const size_t cut = file.rfind('\\');
    return cut == std::string::npos ? std::string() : file.substr(0, cut);
}

std::string AppEXEName() {
    const std::string& file = ModuleFile();
    const size_t cut = file.rfind('\\');
    std::string name = cut == std::string::npos ? file : file.substr(cut + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string AppModuleFile() {
    return ModuleFile();
}

char AppPathSeparator() {
    return '\\';
}

}  // namespace arn
