# Cross-compiling the 32-bit Windows program with mingw-w64. The -posix compilers: GoogleTest needs
# the std::mutex and std::thread that the -win32 ones lack.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(KEYLOOKUP_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KEYLOOKUP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KEYLOOKUP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KEYLOOKUP_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KEYLOOKUP_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the built .exe files under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
