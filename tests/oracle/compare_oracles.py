#!/usr/bin/python3
"""KORVAL's FLC/FLI reader against two independent decoders from Debian,
frame by frame: ffmpeg's FLIC decoder (`ffmpeg -f rawvideo -pix_fmt rgb24`)
and Pillow's (python3-pil). Every known deviation of an oracle is written
down below, where it is allowed for.

    compare_oracles.py FLC_FRAMES FOLDER...

FLC_FRAMES is the program that prints our frames (flc_frames.cpp). Every
*.flc/*.fli under the FOLDERs is compared; files under a folder named
`hostile` are broken on purpose: there the reader must stop, in time, with
"Damaged" or at the end.
"""

import io
import os
import struct
import subprocess
import sys

from PIL import Image

ours_program = sys.argv[1]
folders = sys.argv[2:]


def ours(path):
    run = subprocess.run([ours_program, path], capture_output=True, timeout=20, check=True)
    width, height, count, status = run.stderr.decode().split()
    size = int(width) * int(height) * 3
    frames = [run.stdout[i:i + size] for i in range(0, len(run.stdout), size)] if size else []
    assert len(frames) == int(count)
    return int(width), int(height), frames, status


def ffmpeg(path, size):
    run = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                         capture_output=True, timeout=60)
    return [run.stdout[i:i + size] for i in range(0, len(run.stdout), size)]


def pillow(path):
    frames = []
    with Image.open(path) as image:
        for index in range(image.n_frames):
            image.seek(index)
            frames.append(image.convert("RGB").tobytes())
    return frames


class Facts:
    """What the file holds that an oracle is known to get wrong."""

    def __init__(self, path):
        data = open(path, "rb").read()
        self.size_field_longer = struct.unpack_from("<I", data)[0] > len(data)
        self.declared_frames = struct.unpack_from("<H", data, 6)[0]
        self.width = struct.unpack_from("<H", data, 8)[0]
        self.prefix = False
        self.frame_chunks = 0
        self.word_delta = False
        self.palette64 = False
        self.palettes_after_first = False
        self.palette_wraps = False
        position = 128
        while position + 6 <= len(data):
            size, kind = struct.unpack_from("<IH", data, position)
            if size < 6:
                break
            if kind == 0xF100:
                self.prefix = True
            if kind == 0xF1FA and position + 8 <= len(data):
                self.frame_chunks += 1
                count = struct.unpack_from("<H", data, position + 6)[0]
                sub = position + 16
                for _ in range(count):
                    if sub + 6 > min(len(data), position + size):
                        break
                    sub_size, sub_kind = struct.unpack_from("<IH", data, sub)
                    if sub_kind == 7:
                        self.word_delta = True
                    if sub_kind == 11:
                        self.palette64 = True
                    if sub_kind in (4, 11) and self.frame_chunks > 1:
                        self.palettes_after_first = True
                    if sub_kind in (4, 11) and self.palette_runs_past_255(data, sub + 6, sub + sub_size):
                        self.palette_wraps = True
                    sub += max(sub_size, 6)
            position += size
        self.ring = self.frame_chunks > self.declared_frames

    @staticmethod
    def palette_runs_past_255(data, position, end):
        """Whether a palette chunk's colours go past index 255 (and on at 0)."""
        if position + 2 > min(end, len(data)):
            return False
        index = 0
        packets = struct.unpack_from("<H", data, position)[0]
        position += 2
        for _ in range(packets):
            if position + 2 > min(end, len(data)):
                break
            skip, count = data[position], data[position + 1] or 256
            index += skip
            if index + count > 256:
                return True
            index += count
            position += 2 + 3 * count
        return False


def without_last_column(frame, width):
    row = width * 3
    return b"".join(frame[i:i + row - 3] for i in range(0, len(frame), row))


def compare(name, ours_frames, theirs, width, facts, oracle):
    """Differences as text; empty when the oracle agrees."""
    problems = []
    expected = len(ours_frames)
    if oracle == "ffmpeg":
        # ffmpeg shows the ring frame as one more frame.
        if facts.ring:
            expected += 1
        # ffmpeg drops the last frame of a file that is shorter than its
        # header's size field says (GIMP's files end one byte short).
        if facts.size_field_longer:
            expected -= 1
    if len(theirs) != expected:
        problems.append("%s: %d frames, %s gives %d (%d expected of it)"
                        % (name, len(ours_frames), oracle, len(theirs), expected))
    for index, (mine, other) in enumerate(zip(ours_frames, theirs)):
        if oracle == "ffmpeg" and facts.word_delta and width % 2 == 1:
            # ffmpeg writes the word delta's last pixel of an odd-width line
            # into the padding beyond the picture: the last column is lost.
            mine, other = without_last_column(mine, width), without_last_column(other, width)
        if oracle == "Pillow" and facts.palette64:
            # Pillow widens a 64-level colour as c << 2 (63 gives 252), not
            # to the full 0..255 as (c << 2) | (c >> 4) does.
            mine = bytes(value & 0xFC for value in mine)
        if mine != other:
            problems.append("%s: frame %d differs from %s's" % (name, index + 1, oracle))
    return problems


def main():
    problems = []
    compared = 0
    for folder in folders:
        for root, _, files in sorted(os.walk(folder)):
            for file in sorted(files):
                if not file.lower().endswith((".flc", ".fli")):
                    continue
                path = os.path.join(root, file)
                name = os.path.relpath(path, folder)
                width, height, frames, status = ours(path)
                if os.path.basename(root) == "hostile":
                    print("%-40s %3d frames, then %s" % (name, len(frames), status))
                    if status not in ("Damaged", "End", "NotFlc", "TooLarge"):
                        problems.append("%s: stops with %s" % (name, status))
                    continue
                facts = Facts(path)
                if status != "End":
                    problems.append("%s: ours stops with %s after %d frames" % (name, status, len(frames)))
                size = width * height * 3
                found = compare(name, frames, ffmpeg(path, size), width, facts, "ffmpeg")
                # Pillow refuses FLC files with a prefix chunk and palettes
                # that run past index 255 (ffmpeg goes on at 0, as an 8-bit
                # index does), and keeps the first frame's palette for all
                # frames: such files are held against ffmpeg alone.
                skip = ("prefix chunk" if facts.prefix else "palette past index 255" if facts.palette_wraps
                        else "later palettes" if facts.palettes_after_first else None)
                if skip:
                    oracles = "ffmpeg (Pillow skipped: %s)" % skip
                else:
                    found += compare(name, frames, pillow(path), width, facts, "Pillow")
                    oracles = "ffmpeg and Pillow"
                print("%-40s %3d frames, %s: %s" % (name, len(frames), oracles, "differ" if found else "agree"))
                problems += found
                compared += 1
    for problem in problems:
        print("FAIL " + problem)
    if compared == 0:
        print("FAIL no files compared")
        return 1
    return 1 if problems else 0


sys.exit(main())
