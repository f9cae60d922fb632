#include "platform/VersionInfo.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>
#include <system_error>

#ifndef ARN_VERSION_MAJOR
#error "ARN_VERSION_MAJOR, ARN_VERSION_MINOR and ARN_VERSION_PATCH come from the build"
#endif

namespace arn {

namespace {

// Absolute path of the loaded object that contains this function.
std::filesystem::path LoadedObjectPath() {
    namespace fs = std::filesystem;
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(reinterpret_cast<void*>(&LoadedObjectPath), &info, reinterpret_cast<void**>(&map),
                RTLD_DL_LINKMAP) == 0) {
        return {};
    }
    std::error_code ec;
    // The program's own entry carries the name it was started by, which may be relative to a
    // folder that is no longer current; the kernel knows its real path.
    if (map != nullptr && map->l_prev == nullptr) {
        fs::path exe = fs::read_symlink("/proc/self/exe", ec);
        if (!ec) {
            return exe;
        }
    }
    if (info.dli_fname == nullptr || *info.dli_fname == '\0') {
        return {};
    }
    // The folder as the loader named it, symbolic links kept.
    fs::path path = fs::absolute(info.dli_fname, ec);
    return ec ? fs::path(info.dli_fname) : path.lexically_normal();
}

const std::filesystem::path& LoadedObject() {
    static const std::filesystem::path path = LoadedObjectPath();
    return path;
}

}  // namespace

int32_t AppMajor() {
    return ARN_VERSION_MAJOR;
}

int32_t AppMinor() {
    return ARN_VERSION_MINOR;
}

int32_t AppRevision() {
    return ARN_VERSION_PATCH;
}

std::string AppPath() {
    return LoadedObject().parent_path().string();
}

std::string AppEXEName() {
    return LoadedObject().stem().string();
}

std::string AppModuleFile() {
    return LoadedObject().string();
}

char AppPathSeparator() {
    return '/';
}

}  // namespace arn
