# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, so that
# std::thread and std::mutex work) and Wine to run what it builds:
#   cmake --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ARN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ARN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ARN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ARN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ARN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian keeps the 64-bit loader out of PATH.
find_program(ARN_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ARN_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ARN_WINE64})
endif()

# The library and programs carry their C++ runtime and thread library, so that they run
# without any MinGW DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
