#!/bin/sh
# The Windows build with a second compiler: Debian's clang for
# x86_64-w64-mingw32 (cmake/clang-mingw-w64.cmake) builds the whole tree,
# programs and tests, with warnings as errors.
#   clang_build.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1
build=$2
if ! cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKORVAL_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/clang-mingw-w64.cmake" >"$build.configure.log" 2>&1; then
    cat "$build.configure.log"
    echo "FAILED: configuring the clang build"
    exit 1
fi
if ! cmake --build "$build" -j 2; then
    echo "FAILED: the clang build (warnings count as errors)"
    exit 1
fi
[ -f "$build/KORVAL.EXE" ] || { echo "FAILED: no KORVAL.EXE"; exit 1; }
echo "clang built the Windows tree without a warning"
