# Cross build of KORVAL.EXE and its Win32 tests with MinGW-w64 (posix thread model,
# which GoogleTest needs for std::mutex). Everything is linked statically so each
# program is one self-contained file that Wine runs without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVAL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVAL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVAL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVAL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVAL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
