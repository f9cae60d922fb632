#pragma once

#include <string>

namespace arn::test {

// The running test program's file as the system names it, found without the library's code:
// its folder (no trailing separator), the separator of the system's paths, and its file name
// without extension.
struct ProgramFile {
    std::string folder;
    char separator = '/';
    std::string stem;
};

ProgramFile RunningProgram();

}  // namespace arn::test
