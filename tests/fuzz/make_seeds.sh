#!/bin/sh
# Writes the fuzzers' seed corpora into OUT/<fuzzer>/, from the catalogue files
# and animations in the tree (the fixtures and the demo medium) and the cases
# their tests name.
# Usage: make_seeds.sh ROOT OUT
set -e
root=$1
out=$2
rm -rf "$out"
for name in number entry catalogue_path loader numbered_keys folder date_key command_line flc encode viewer; do
    mkdir -p "$out/$name"
done

seed() {   # seed FUZZER TEXT: one seed file holding TEXT, named by its checksum
    name=$(printf '%s' "$2" | cksum | cut -d ' ' -f 1)
    printf '%s' "$2" > "$out/$1/$name"
}

for file in "$root"/tests/fixtures/*/*.INI "$root"/examples/*/*.INI; do
    [ -f "$file" ] || continue
    name=$(cksum < "$file" | cut -d ' ' -f 1)
    cp "$file" "$out/loader/$name"
    # The Animations keys as one section read gives them (first byte: whole).
    { printf '1'; tr -d '\r' < "$file" | grep -a -i '^animation[0-9]*=' || true; } > "$out/numbered_keys/$name"
    tr -d '\r' < "$file" | grep -a -i '^animation[0-9]*=' | sed 's/^[^=]*=//' | while IFS= read -r value; do
        seed entry "11$value"        # 50 authors and 49 keywords
        printf '%s\n' "$value" | tr ';,' '\n\n' | while IFS= read -r field; do
            [ -n "$field" ] && seed number "$field"
        done
        date=$(printf '%s' "$value" | cut -d ';' -f 5)
        [ -n "$date" ] && seed date_key "$date"
    done
    tr -d '\r' < "$file" | grep -a -i '^\(basepath\|programpath\)=' | sed 's/^[^=]*=//' | while IFS= read -r value; do
        seed folder "E:\\MEDIA\\DATA\\KORVAL.INI
$value"
    done
done

for number in 2147483647 2147483648 -2147483649 99999999999999999999 " +12k" "1.5" "x" "-0"; do
    seed number "$number"
done
for value in anim "anim\\" "\\anim" "\\" "..\\anim" "\\..\\anim" "..\\..\\..\\anim" "..\\" ".." \
             "anim\\..\\clips" "f:\\programme\\anim" "d:" "d:anim"; do
    seed folder "e:\\media\\data\\korval.ini
$value"
done
for date in 24.12.1999 1.1.2000 5.3.98 5.3.99 1999 12.1999 "" -5.-3.-99 999.999.99999; do
    seed date_key "$date"
done
for arguments in "" "E:\\KATALOG\\" "E:\\KATALOG" "E:\\" "\"E:\\KATALOG\"" "-x" "E:\\KATALOG\\\\"; do
    seed catalogue_path "C:\\KATALOG\\KORVAL.EXE
$arguments"
done
seed catalogue_path "C:\\MY.DIR\\KORVAL
"
seed catalogue_path "X.EXE
"
# The choice line: its first byte picks Play, Edit or Copy (code % 3) and
# whether the registered program exists (bit 8).
for choice in 0 1 2 8 9 :; do
    seed command_line "$choice
E:\\PROG\\VANSHOW.EXE %1
E:\\PROG\\
D:\\ANIM\\BALL.FLC"
done
seed command_line "9
\"E:\\PROG\\VANEDIT.EXE\" \"%1\"
PROGRAMM\\
D:\\BALL.FLC"
seed command_line "8
E:\\PROG\\VANSHOW.EXE

"
# A registered player whose command line ends just past the longest one the
# platform starts (32 766 characters): a shorter path makes it fit.
long=$(head -c 32740 /dev/zero | tr '\0' P)
seed command_line "8
E:\\$long\\VANSHOW.EXE %1
E:\\PROG\\
D:\\ANIM\\BALL.FLC"

# The animations: the decoder's fixtures and the demo medium's files.
find "$root/tests/fixtures/anim" "$root/examples/medium/ANIM" -type f \( -iname '*.flc' -o -iname '*.fli' \) 2>/dev/null |
while IFS= read -r file; do
    cp "$file" "$out/flc/$(cksum < "$file" | cut -d ' ' -f 1)"
    # The encoder writes every frame twice over: its seeds stay small (not the
    # medium's 640 x 480 and 800 x 600 files), so a smoke run gets past them.
    if [ "$(wc -c < "$file")" -lt 50000 ]; then
        cp "$file" "$out/encode/$(cksum < "$file" | cut -d ' ' -f 1)"
        cp "$file" "$out/viewer/$(cksum < "$file" | cut -d ' ' -f 1)"
    fi
done
# A 64 x 64 frame of 40 black chunks: each draws the whole picture, and the
# frame passes the work a frame may do.
python3 -c '
import struct, sys
black = struct.pack("<IH", 6, 13)
frame = struct.pack("<IH5H", 16 + 40 * 6, 0xF1FA, 40, 0, 0, 0, 0) + black * 40
header = struct.pack("<IHHHHHHI", 128 + len(frame), 0xAF12, 1, 64, 64, 8, 0, 50).ljust(128, b"\0")
sys.stdout.buffer.write(header + frame)' > "$out/flc/many-black-chunks"
# Small animations for the encoder, within the pictures it is fed (256
# pixels, 4 frames), whose frames are stored whole, so that a mutation
# changes pixels and colours: a few colours moving over noise, few colours
# on their own, a new palette in frame 2 (more than 256 colours in all).
# And one of the large pictures it lets through on one input in 64 (by a
# checksum): two frames of 128 x 64 noise, enough to fill the LZW code table.
python3 -c '
import random, struct, sys, zlib
def chunk(kind, body):
    return struct.pack("<IH", 6 + len(body), kind) + body
def palette(shift):
    return chunk(4, struct.pack("<HBB", 1, 0, 0) + bytes((i * 7 + shift + c * 85) % 256 for i in range(256) for c in range(3)))
def flc(frames, width=16, height=16):
    body = b"".join(struct.pack("<IH5H", 16 + sum(map(len, f)), 0xF1FA, len(f), 0, 0, 0, 0) + b"".join(f) for f in frames)
    return struct.pack("<IHHHHHHI", 128 + len(body), 0xAF12, len(frames), width, height, 8, 0, 40).ljust(128, b"\0") + body
random.seed(7)
noise = bytes(random.randrange(256) for _ in range(256))
def moved(step):
    p = bytearray(noise)
    for y in range(6):
        for x in range(6):
            if (x + y) % 3:
                p[(4 + y) * 16 + 2 + 3 * step + x] = (x * y + step) % 4
    return bytes(p)
few = lambda step: bytes(((i // 16 + i % 16 + step) // 4) % 3 for i in range(256))
large = bytes(random.randrange(256) for _ in range(128 * 64))
changed = bytearray(large)
for i in range(40 * 128, 60 * 128):
    changed[i] = random.randrange(256)
# With a chunk the decoder passes over, whose bytes bring the checksum to
# what the fuzzer takes for a large picture.
for tag in range(1 << 16):
    frames = [[palette(0), chunk(16, large)], [chunk(16, bytes(changed)), chunk(18, struct.pack("<H", tag))]]
    if zlib.crc32(flc(frames, 128, 64)) % 64 == 0:
        break
seeds = {
    "sprite-over-noise": flc([[palette(0), chunk(16, noise)]] + [[chunk(16, moved(s))] for s in range(3)]),
    "three-colours": flc([[palette(1), chunk(16, few(0))]] + [[chunk(16, few(s))] for s in (1, 2, 3)]),
    "new-palette": flc([[palette(0), chunk(16, noise)], [palette(128)], [chunk(16, moved(1))], [palette(0)]]),
    "full-code-table": flc(frames, 128, 64),
}
for name, data in seeds.items():
    open(sys.argv[1] + "/encode/" + name, "wb").write(data)' "$out"
