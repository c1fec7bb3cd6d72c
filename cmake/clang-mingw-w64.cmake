# A second compiler for the Windows build: Debian's clang targeting
# x86_64-w64-mingw32, with the MinGW-w64 headers and libraries and the C++
# library of the posix GCC variant (clang does not find that one by itself).
# make test builds the tree this way, warnings as errors; the programs are not
# the ones shipped (those come from cmake/mingw-w64.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVAL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${KORVAL_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${KORVAL_MINGW_PREFIX})
set(CMAKE_RC_COMPILER ${KORVAL_MINGW_PREFIX}-windres)

file(GLOB KORVAL_GCC_DIRS /usr/lib/gcc/${KORVAL_MINGW_PREFIX}/*-posix)
list(SORT KORVAL_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET KORVAL_GCC_DIRS 0 KORVAL_GCC_DIR)
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${KORVAL_GCC_DIR}/include/c++ -isystem ${KORVAL_GCC_DIR}/include/c++/${KORVAL_MINGW_PREFIX}")

set(CMAKE_FIND_ROOT_PATH /usr/${KORVAL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static, as the shipped build: winpthread whole, because the runtime's unwinder
# (libgcc_eh) needs it after clang's own list of libraries, where no option of
# ours can go.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -L${KORVAL_GCC_DIR} -Wl,--whole-archive -lpthread -Wl,--no-whole-archive")
