#include "fakes/RunningProgram.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#endif

namespace arn::test {

ProgramFile RunningProgram() {
#ifdef _WIN32
    char buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    const std::string path(buffer, n);
    const size_t cut = path.rfind('\\');
    std::string name = path.substr(cut + 1);
    name = name.substr(0, name.rfind('.'));
    return ProgramFile{path.substr(0, cut), '\\', name};
#else
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    return ProgramFile{exe.parent_path().string(), '/', exe.stem().string()};
#endif
}

}  // namespace arn::test
