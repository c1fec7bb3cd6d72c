#!/usr/bin/python3
"""Sizes of what korval-convert keeps beside what the public lossless
optimizers make of the same files: each animation's GIF beside
`gifsicle -O3` of it, its first frame's PNG beside `optipng -o5` of it.
Prints a markdown table with totals and the worst ratios.

    sizes.py KORVAL_CONVERT WORK_FOLDER FILE_OR_FOLDER...
"""

import os
import subprocess
import sys

convert, work = sys.argv[1:3]
inputs = sys.argv[3:]


def animations():
    for item in inputs:
        if os.path.isdir(item):
            for root, folders, files in sorted(os.walk(item)):
                folders[:] = sorted(f for f in folders if f != "hostile")
                for name in sorted(files):
                    if name.lower().endswith((".flc", ".fli")):
                        yield os.path.join(root, name)
        else:
            yield item


def size(path):
    return os.path.getsize(path) if os.path.exists(path) else 0


def main():
    os.makedirs(work, exist_ok=True)
    rows = []
    for path in animations():
        stem = os.path.join(work, path.strip("/").replace("/", "_"))
        gif, png = stem + ".gif", stem + ".png"
        small_gif, small_png = stem + ".O3.gif", stem + ".o5.png"
        for f in (gif, png, small_gif, small_png):
            if os.path.exists(f):
                os.remove(f)
        subprocess.run([convert, path, gif], capture_output=True, timeout=120)
        subprocess.run([convert, "--frame", "1", path, png], capture_output=True, timeout=120)
        if not os.path.exists(gif):
            continue
        subprocess.run(["gifsicle", "-O3", gif, "-o", small_gif], capture_output=True, timeout=300, check=True)
        if os.path.exists(png):
            subprocess.run(["optipng", "-o5", "-quiet", "-out", small_png, png], capture_output=True, timeout=300)
        # optipng writes nothing when it cannot do better than its input.
        rows.append((os.path.relpath(path), size(gif), size(small_gif), size(png), size(small_png) or size(png)))
    print("| File | our GIF | gifsicle -O3 | ratio | our PNG | optipng -o5 | ratio |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    for name, g, go, p, po in rows:
        print("| %s | %d | %d | %.3f | %d | %d | %.3f |" % (name, g, go, g / go, p, po, p / po if po else 0))
    if not rows:
        print("no animation converted")
        return 1
    tg, tgo = sum(r[1] for r in rows), sum(r[2] for r in rows)
    tp, tpo = sum(r[3] for r in rows), sum(r[4] for r in rows)
    print("| **all %d together** | %d | %d | %.3f | %d | %d | %.3f |" % (len(rows), tg, tgo, tg / tgo, tp, tpo, tp / tpo))
    worst_gif = max(rows, key=lambda r: r[1] / r[2])
    worst_png = max(rows, key=lambda r: r[3] / r[4] if r[4] else 0)
    print()
    print("Worst GIF: %s, %.3f x gifsicle -O3; worst PNG: %s, %.3f x optipng -o5"
          % (worst_gif[0], worst_gif[1] / worst_gif[2], worst_png[0], worst_png[3] / worst_png[4]))
    return 0


sys.exit(main())
