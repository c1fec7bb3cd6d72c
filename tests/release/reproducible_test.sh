#!/bin/sh
# The shipped KORVAL.EXE: two clean builds of the tree in folders of different
# names give the same bytes, and the same as this build's own; it holds no
# debug information, no link time stamp and no build folder, is at most 320 KB,
# reserves at most 1 MB of zeroed data, imports system DLLs only, and its
# version resource tells the version in VERSION.
#   reproducible_test.sh SOURCE_DIR THIS_BUILD_DIR WORK_DIR
set -u
source_dir=$1
this_build=$2
work=$3
toolchain=cmake/mingw-w64.cmake
objdump=x86_64-w64-mingw32-objdump
failures=0

fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# A copy of the tree (without builds and history), configured and built from
# scratch for KORVAL.EXE alone.
clean_build() {
    folder=$1
    rm -rf "$folder"
    mkdir -p "$folder/src"
    (cd "$source_dir" && tar -cf - --exclude=./build --exclude='./build-*' --exclude=./.git .) \
        | (cd "$folder/src" && tar -xf -)
    if ! { cmake -S "$folder/src" -B "$folder/out" -DCMAKE_BUILD_TYPE=Release -DKORVAL_TESTS=OFF \
               -DCMAKE_TOOLCHAIN_FILE="$folder/src/$toolchain" &&
           cmake --build "$folder/out" --target korval -j 2; } >"$folder/build.log" 2>&1; then
        cat "$folder/build.log"
        echo "FAILED: the build in $folder"
        exit 1
    fi
}

clean_build "$work/first"
clean_build "$work/second-build-elsewhere"
first=$work/first/out/KORVAL.EXE
second=$work/second-build-elsewhere/out/KORVAL.EXE
shipped=$this_build/KORVAL.EXE

for exe in "$second" "$shipped"; do
    cmp "$first" "$exe" >/dev/null || fail "$exe differs from $first"
done
sha256sum "$first" "$second" "$shipped"

for exe in "$first" "$shipped"; do
    size=$(wc -c <"$exe")
    [ "$size" -le 327680 ] || fail "$exe has $size bytes, more than 320 KB"

    sections=$($objdump -h "$exe" | awk '$2 ~ /^\./ {print $2}')
    case $sections in *.debug*) fail "$exe carries debug information: $(echo $sections)" ;; esac

    # Zeroed static data is writable memory the program holds from its load
    # on (on Windows it counts against the commit charge): at most 1 MB.
    bss=$($objdump -h "$exe" | awk '$2 == ".bss" {print $3}')
    [ -n "$bss" ] || bss=0
    [ $((0x$bss)) -le 1048576 ] || fail "$exe reserves $((0x$bss)) bytes of zeroed data (.bss), more than 1 MB"

    # The PE header's link time stamp: 4 bytes at 8 past the header, whose
    # place is at 0x3c.
    header=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
    stamp=$(od -An -tu4 -j$((header + 8)) -N4 "$exe" | tr -d ' ')
    [ "$stamp" = 0 ] || fail "$exe has the link time stamp $stamp"

    for folder in "$source_dir" "$this_build" "$work"; do
        if grep -qaF "$folder" "$exe"; then fail "$exe holds the folder $folder"; fi
    done

    dlls=$($objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}')
    [ -n "$dlls" ] || fail "$exe imports no DLL at all (objdump?)"
    for dll in $dlls; do
        case $dll in
        kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|msvcrt.dll|shell32.dll|comctl32.dll|comdlg32.dll|ole32.dll|oleaut32.dll|oleacc.dll|version.dll|shlwapi.dll) ;;
        *) fail "$exe imports $dll, which is not part of Windows" ;;
        esac
    done
done

version=$(head -n 1 "$source_dir/VERSION")
strings -el "$shipped" | grep -qx "$version" || fail "the version resource does not tell $version"
strings -el "$shipped" | grep -qx "FileVersion" || fail "no FileVersion in the version resource"

echo "KORVAL.EXE: $(wc -c <"$shipped") bytes; imports: $(echo $dlls)"
[ "$failures" -eq 0 ] && echo "reproducible and self-contained" && exit 0
exit 1
