#!/usr/bin/python3
"""KORVAL's GIF and PNG files read back by two independent decoders from
Debian: every frame that ffmpeg (`-f rawvideo -pix_fmt rgb24`) and Pillow
read from korval-convert's GIF, and Pillow's reading of its PNG of the first
and last frame, equals KORVAL's own decode (flc-frames) pixel for pixel. The
GIF loops forever and each frame's delay is the file's pace in hundredths,
rounded on the running time, never under 2.

    compare_encoded.py FLC_FRAMES KORVAL_CONVERT WORK_FOLDER FOLDER...

Files under a folder named `hostile` are broken on purpose: their GIF holds
the frames before the damage, or there is no GIF at all when not even the
first frame can be read.
"""

import os
import struct
import subprocess
import sys

from PIL import Image

frames_program, convert_program, work = sys.argv[1:4]
folders = sys.argv[4:]


def ours(path):
    run = subprocess.run([frames_program, path], capture_output=True, timeout=60, check=True)
    width, height, count, status = run.stderr.decode().split()
    size = int(width) * int(height) * 3
    frames = [run.stdout[i:i + size] for i in range(0, len(run.stdout), size)] if size else []
    assert len(frames) == int(count)
    return int(width), int(height), frames, status


def convert(path, out, frame=None):
    command = [convert_program] + (["--frame", str(frame)] if frame else []) + [path, out]
    return subprocess.run(command, capture_output=True, timeout=60).returncode


def ffmpeg(path, size):
    # Each frame once, whatever its delay: ffmpeg would repeat frames to a
    # constant rate otherwise.
    run = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-fps_mode", "passthrough", "-f", "rawvideo",
                          "-pix_fmt", "rgb24", "-"],
                         capture_output=True, timeout=60)
    return [run.stdout[i:i + size] for i in range(0, len(run.stdout), size)]


def pillow(path):
    frames, durations = [], []
    with Image.open(path) as image:
        loop = image.info.get("loop")
        for index in range(getattr(image, "n_frames", 1)):
            image.seek(index)
            frames.append(image.convert("RGB").tobytes())
            durations.append(image.info.get("duration"))
    return frames, durations, loop


def expected_delays(path, count):
    """Milliseconds as Pillow reports them: hundredths times ten."""
    data = open(path, "rb").read(20)
    fli = struct.unpack_from("<H", data, 4)[0] == 0xAF11
    micro = (struct.unpack_from("<H", data, 16)[0] * 1000000 + 35) // 70 if fli else struct.unpack_from("<I", data, 16)[0] * 1000
    if micro < 20000:
        return [20] * count
    starts = [(i * micro + 5000) // 10000 for i in range(count + 1)]
    return [min(b - a, 65535) * 10 for a, b in zip(starts, starts[1:])]


def main():
    problems = []
    compared = 0
    os.makedirs(work, exist_ok=True)
    for folder in folders:
        for root, _, files in sorted(os.walk(folder)):
            for file in sorted(files):
                if not file.lower().endswith((".flc", ".fli")):
                    continue
                path = os.path.join(root, file)
                name = os.path.relpath(path, folder)
                gif = os.path.join(work, name.replace(os.sep, "_") + ".gif")
                if os.path.exists(gif):
                    os.remove(gif)
                width, height, frames, status = ours(path)
                code = convert(path, gif)
                if not frames:
                    if code != 2 or os.path.exists(gif):
                        problems.append("%s: no frame to convert, yet exit %d and %s" % (name, code, "a GIF" if os.path.exists(gif) else "no GIF"))
                    print("%-40s no frame: exit %d, no GIF" % (name, code))
                    continue
                if code != (0 if status == "End" else 1):
                    problems.append("%s: exit %d after %s" % (name, code, status))
                size = width * height * 3
                found = []
                theirs_pillow, durations, loop = pillow(gif)
                for oracle, theirs in (("ffmpeg", ffmpeg(gif, size)), ("Pillow", theirs_pillow)):
                    if len(theirs) != len(frames):
                        found.append("%s: %d frames, %s reads %d from the GIF" % (name, len(frames), oracle, len(theirs)))
                    for index, (mine, other) in enumerate(zip(frames, theirs)):
                        if mine != other:
                            found.append("%s: frame %d of the GIF differs as %s reads it" % (name, index + 1, oracle))
                if loop != 0:
                    found.append("%s: the GIF's loop count is %r, not 0 (forever)" % (name, loop))
                if durations != expected_delays(path, len(frames)):
                    found.append("%s: delays %s, expected %s" % (name, durations[:6], expected_delays(path, len(frames))[:6]))
                for frame in sorted({1, len(frames)}):
                    png = os.path.join(work, name.replace(os.sep, "_") + "-%d.png" % frame)
                    if convert(path, png, frame) != 0:
                        found.append("%s: no PNG of frame %d" % (name, frame))
                        continue
                    with Image.open(png) as image:
                        if image.mode != "P" or image.convert("RGB").tobytes() != frames[frame - 1]:
                            found.append("%s: the PNG of frame %d differs as Pillow reads it" % (name, frame))
                print("%-40s %3d frames%s, GIF and PNG by ffmpeg and Pillow: %s"
                      % (name, len(frames), "" if status == "End" else " (then " + status + ")", "differ" if found else "agree"))
                problems += found
                compared += 1
    for problem in problems:
        print("FAIL " + problem)
    if compared == 0:
        print("FAIL no files compared")
        return 1
    return 1 if problems else 0


sys.exit(main())
