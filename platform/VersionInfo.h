#pragma once

#include <cstdint>
#include <string>

namespace arn {

// The library's own version numbers (major.minor.revision of the project version; on Windows
// read from the module's version resource).
int32_t AppMajor();
int32_t AppMinor();
int32_t AppRevision();

// Where the code of this library was loaded from, found at run time from the loaded object
// that holds it: the shared object or DLL when loaded as a component, the program when linked
// in.
// AppPath is the absolute folder without a trailing separator; AppEXEName is the file name
// without its extension ("ArnAbsPosn" for ArnAbsPosn.so and ArnAbsPosn.dll).
std::string AppPath();
std::string AppEXEName();
// The full path of that loaded object.
std::string AppModuleFile();
// What separates folder names in these paths: '\\' on Windows, '/' on Linux.
char AppPathSeparator();

}  // namespace arn
