#!/usr/bin/env python3
"""Draws KORVAL's program icon, the catalogue row icons and the toolbar
button bitmaps, and writes them into res/.

Every picture is ASCII art below, one character per pixel.  Edit a picture
and rerun this script (from any directory) to redraw the files:

    python3 res/art/make_art.py

Only the Python standard library is used; the ICO and BMP bytes are built
by hand with struct.
"""

import os
import struct
import zlib

RES_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The Windows 16-colour palette, in its usual index order.
VGA16 = [
    (0, 0, 0),        # 0  black
    (128, 0, 0),      # 1  dark red
    (0, 128, 0),      # 2  dark green
    (128, 128, 0),    # 3  olive
    (0, 0, 128),      # 4  navy
    (128, 0, 128),    # 5  purple
    (0, 128, 128),    # 6  teal
    (192, 192, 192),  # 7  silver
    (128, 128, 128),  # 8  gray
    (255, 0, 0),      # 9  red
    (0, 255, 0),      # 10 green
    (255, 255, 0),    # 11 yellow
    (0, 0, 255),      # 12 blue
    (255, 0, 255),    # 13 magenta
    (0, 255, 255),    # 14 cyan
    (255, 255, 255),  # 15 white
]

# Character -> palette index.  '.' is transparent in icons and the button
# face colour (silver, 192/192/192) in toolbar bitmaps.
COLOURS = {
    'K': 0, 'r': 1, 'g': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6, 's': 7,
    'd': 8, 'R': 9, 'G': 10, 'Y': 11, 'B': 12, 'M': 13, 'C': 14, 'W': 15,
}
CLEAR = '.'
FACE = 7  # silver, the toolbar button face


# ---------------------------------------------------------------- pictures
#
# K black  r dark red  g dark green  o olive  n navy  p purple  t teal
# s silver d gray  R red  G green  Y yellow  B blue  M magenta  C cyan
# W white  . transparent / button face

# Program icon: a film strip whose middle frame shows a play triangle.
KORVAL_32 = [
    "................................",
    "................................",
    ".dddddddddddddddddddddddddddddd.",
    "dKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKd",
    "dKKWWKKWWKKWWKKWWKKWWKKWWKKWWKKd",
    "dKKWWKKWWKKWWKKWWKKWWKKWWKKWWKKd",
    "dKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKd",
    "dKKttttKKBBBBBBBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBBBBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBBBBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBYBBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBYYBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBYYYYBBBBBBKKttttKKd",
    "dKKttttKKBBBBYYYYYBBBBBKKttttKKd",
    "dKKttttKKBBBBYYYYYYYBBBKKttttKKd",
    "dKKttttKKBBBBYYYYYYYYBBKKttttKKd",
    "dKKttttKKBBBBYYYYYYYYBBKKttttKKd",
    "dKKttttKKBBBBYYYYYYYBBBKKttttKKd",
    "dKKttttKKBBBBYYYYYBBBBBKKttttKKd",
    "dKKttttKKBBBBYYYYBBBBBBKKttttKKd",
    "dKKttttKKBBBBYYBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBYBBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBBBBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBBBBBBBBBBBKKttttKKd",
    "dKKttttKKBBBBBBBBBBBBBBKKttttKKd",
    "dKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKd",
    "dKKWWKKWWKKWWKKWWKKWWKKWWKKWWKKd",
    "dKKWWKKWWKKWWKKWWKKWWKKWWKKWWKKd",
    "dKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKd",
    ".dddddddddddddddddddddddddddddd.",
    "................................",
    "................................",
]

# The same at 16x16.
KORVAL_16 = [
    ".dddddddddddddd.",
    "dKKKKKKKKKKKKKKd",
    "dKKWKKWKKWKKWKKd",
    "dKKKKKKKKKKKKKKd",
    "dKtKBBBBBBBBKtKd",
    "dKtKBBBYBBBBKtKd",
    "dKtKBBBYYBBBKtKd",
    "dKtKBBBYYYBBKtKd",
    "dKtKBBBYYYBBKtKd",
    "dKtKBBBYYBBBKtKd",
    "dKtKBBBYBBBBKtKd",
    "dKtKBBBBBBBBKtKd",
    "dKKKKKKKKKKKKKKd",
    "dKKWKKWKKWKKWKKd",
    "dKKKKKKKKKKKKKKd",
    ".dddddddddddddd.",
]

# Row icon 0 (16 colours): a vertical film strip, three frames of a
# bouncing ball.
ROW0 = [
    "......dKKKKKKKKKKKKKKKKKKd......",
    "......dKWWKKKKKKKKKKKKWWKd......",
    "......dKWWKCCRRCCCCCCKWWKd......",
    "......dKKKKCRWRRCCCCCKKKKd......",
    "......dKKKKCRRRrCCCCCKKKKd......",
    "......dKWWKCCrrCCCCCCKWWKd......",
    "......dKWWKCCCCCCCCCCKWWKd......",
    "......dKKKKCCCCCCCCCCKKKKd......",
    "......dKKKKCCCCCCCCCCKKKKd......",
    "......dKWWKGGGGGGGGGGKWWKd......",
    "......dKWWKKKKKKKKKKKKWWKd......",
    "......dKKKKKKKKKKKKKKKKKKd......",
    "......dKKKKCCCCCCCCCCKKKKd......",
    "......dKWWKCCCCCCCCCCKWWKd......",
    "......dKWWKCCCCRRCCCCKWWKd......",
    "......dKKKKCCCRWRRCCCKKKKd......",
    "......dKKKKCCCRRRrCCCKKKKd......",
    "......dKWWKCCCCrrCCCCKWWKd......",
    "......dKWWKCCCCCCCCCCKWWKd......",
    "......dKKKKGGGGGGGGGGKKKKd......",
    "......dKKKKKKKKKKKKKKKKKKd......",
    "......dKWWKKKKKKKKKKKKWWKd......",
    "......dKWWKCCCCCCCCCCKWWKd......",
    "......dKKKKCCCCCCCCCCKKKKd......",
    "......dKKKKCCCCCCCCCCKKKKd......",
    "......dKWWKCCCCCCCRRCKWWKd......",
    "......dKWWKCCCCCCRWRRKWWKd......",
    "......dKKKKCCCCCCRRRrKKKKd......",
    "......dKKKKCCCCCCCrrCKKKKd......",
    "......dKWWKGGGGGGGGGGKWWKd......",
    "......dKWWKKKKKKKKKKKKWWKd......",
    "......dKKKKKKKKKKKKKKKKKKd......",
]

# Row icon 1 (256 colours): a stack of three film frames, an image
# sequence of the same bouncing ball.  The frames further back are faded.
# Digits are gradient colours: each digit gets a vertical ramp that starts
# at the topmost row where the digit occurs (1-3 sky, 4-6 ground, front to
# back).  u-w and x-z are the faded balls.
ROW1 = [
    "................................",
    "................................",
    "................................",
    ".KKKKKKKKKKKKKKKKKKKK...........",
    ".KKWKKWKKWKKWKKWKKWKK...........",
    ".KKKKKKKKKKKKKKKKKKKK...........",
    ".K3uu333333333333333K...........",
    ".Kuwuu33333333333333K...........",
    ".KuuuvKKKKKKKKKKKKKKKKKKKK......",
    ".K3vv3KKWKKWKKWKKWKKWKKWKK......",
    ".K3333KKKKKKKKKKKKKKKKKKKK......",
    ".K3333K222222222222222222K......",
    ".K3333K2xx222222222222222K......",
    ".K3333KxzxxKKKKKKKKKKKKKKKKKKKK.",
    ".K6666KxxxyKKWKKWKKWKKWKKWKKWKK.",
    ".K6666K2yy2KKKKKKKKKKKKKKKKKKKK.",
    ".KKKKKK2222K111111111111111111K.",
    ".KKWKKK2222K111111111111111111K.",
    ".KKKKKK2222K111111111111111111K.",
    "......K5555K111111111111111111K.",
    "......K5555K11111111111RR11111K.",
    "......KKKKKK1111111111RWRR1111K.",
    "......KKWKKK1111111111RRRr1111K.",
    "......KKKKKK11111111111rr11111K.",
    "...........K444444444444444444K.",
    "...........K444444444444444444K.",
    "...........KKKKKKKKKKKKKKKKKKKK.",
    "...........KKWKKWKKWKKWKKWKKWKK.",
    "...........KKKKKKKKKKKKKKKKKKKK.",
    "................................",
    "................................",
    "................................",
]

# Toolbar buttons, 24x24 on the silver button face.

# Play: a green triangle.
PLAY = [
    "........................",
    "........................",
    "........................",
    "......g.................",
    "......gg................",
    "......gGgg..............",
    "......gGGGg.............",
    "......gGGGGgg...........",
    "......gGGGGGGg..........",
    "......gGGGGGGGgg........",
    "......gGGGGGGGGGg.......",
    "......gGGGGGGGGGGgg.....",
    "......gGGGGGGGGGg.......",
    "......gGGGGGGGgg........",
    "......gGGGGGGg..........",
    "......gGGGGgg...........",
    "......gGGGg.............",
    "......gGgg..............",
    "......gg................",
    "......g.................",
    "........................",
    "........................",
    "........................",
    "........................",
]

# Edit: a pencil, eraser top right, point bottom left.
EDIT = [
    "........................",
    "........................",
    "..................KK....",
    ".................KRRK...",
    "................KRRRRK..",
    "...............KRRRRrK..",
    "..............KWWRRrK...",
    ".............KWWddrK....",
    "............KWWdddK.....",
    "...........KWYYddK......",
    "..........KWYYYoK.......",
    ".........KWYYYoK........",
    "........KWYYYoK.........",
    ".......KWYYYoK..........",
    "......KWYYYoK...........",
    ".....KWYYYoK............",
    ".....KWWYoK.............",
    "....KWWooK..............",
    "....KWoKK...............",
    "....KKK.................",
    "...K....................",
    "........................",
    "........................",
    "........................",
]

# Copy: two overlapping sheets.
COPY = [
    "........................",
    "........................",
    "...KKKKKKKKK............",
    "...KWWWWWWWKK...........",
    "...KWddddWWKWK..........",
    "...KWWWWWWWKKKK.........",
    "...KWddddddddWK.........",
    "...KWWWWWKKKKKKKKK......",
    "...KWddddKWWWWWWWKK.....",
    "...KWWWWWKWddddWWKWK....",
    "...KWddddKWWWWWWWKKKK...",
    "...KWWWWWKWddddddddWK...",
    "...KWddddKWWWWWWWWWWK...",
    "...KWWWWWKWddddddddWK...",
    "...KWddddKWWWWWWWWWWK...",
    "...KWWWWWKWddddddddWK...",
    "...KKKKKKKWWWWWWWWWWK...",
    ".........KWddddddddWK...",
    ".........KWWWWWWWWWWK...",
    ".........KWdddddWWWWK...",
    ".........KWWWWWWWWWWK...",
    ".........KKKKKKKKKKKK...",
    "........................",
    "........................",
]


def _fade(rgb, amount, towards=(176, 176, 176)):
    return tuple(round(c + (t - c) * amount) for c, t in zip(rgb, towards))


def _ramp(top, bottom, steps):
    return [tuple(round(a + (b - a) * i / (steps - 1)) for a, b in zip(top, bottom))
            for i in range(steps)]


SKY = _ramp((16, 56, 184), (176, 228, 255), 8)
GROUND = [(64, 200, 64), (24, 136, 24)]
BALL = {'a': (255, 0, 0), 'b': (128, 0, 0), 'c': (255, 255, 255)}

ROW1_RAMPS = {
    '1': SKY, '2': [_fade(c, 0.3) for c in SKY], '3': [_fade(c, 0.55) for c in SKY],
    '4': GROUND, '5': [_fade(c, 0.3) for c in GROUND], '6': [_fade(c, 0.55) for c in GROUND],
}
ROW1_EXTRA = {
    'x': _fade(BALL['a'], 0.3), 'y': _fade(BALL['b'], 0.3), 'z': _fade(BALL['c'], 0.3),
    'u': _fade(BALL['a'], 0.55), 'v': _fade(BALL['b'], 0.55), 'w': _fade(BALL['c'], 0.55),
}


# ---------------------------------------------------------------- scaling
#
# A picture is drawn once, at its smallest size; the larger sizes that high-DPI
# screens ask for are made from it here, pixel art to pixel art, so that every
# size stays sharp: 200 % with Scale2x (edges and diagonals stay crisp instead of
# turning into steps), 150 % with Scale3x and every second pixel of that, 125 %
# by repeating every fourth row and column.  Scaling works on colours (or None
# for clear), after the picture's characters have been turned into colours.


def _scale2x(grid):
    h, w = len(grid), len(grid[0])
    out = [[None] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            e = grid[y][x]
            b = grid[y - 1][x] if y > 0 else e
            h_ = grid[y + 1][x] if y < h - 1 else e
            d = grid[y][x - 1] if x > 0 else e
            f = grid[y][x + 1] if x < w - 1 else e
            if b != h_ and d != f:
                e0 = d if d == b else e
                e1 = f if b == f else e
                e2 = d if d == h_ else e
                e3 = f if h_ == f else e
            else:
                e0 = e1 = e2 = e3 = e
            out[2 * y][2 * x], out[2 * y][2 * x + 1] = e0, e1
            out[2 * y + 1][2 * x], out[2 * y + 1][2 * x + 1] = e2, e3
    return out


def _scale3x(grid):
    h, w = len(grid), len(grid[0])
    out = [[None] * (3 * w) for _ in range(3 * h)]

    def at(y, x):
        return grid[min(max(y, 0), h - 1)][min(max(x, 0), w - 1)]

    for y in range(h):
        for x in range(w):
            a, b, c = at(y - 1, x - 1), at(y - 1, x), at(y - 1, x + 1)
            d, e, f = at(y, x - 1), at(y, x), at(y, x + 1)
            g, h_, i = at(y + 1, x - 1), at(y + 1, x), at(y + 1, x + 1)
            block = [e] * 9
            if b != h_ and d != f:
                block[0] = d if d == b else e
                block[1] = b if (d == b and e != c) or (b == f and e != a) else e
                block[2] = f if b == f else e
                block[3] = d if (d == b and e != g) or (d == h_ and e != a) else e
                block[5] = f if (b == f and e != i) or (h_ == f and e != c) else e
                block[6] = d if d == h_ else e
                block[7] = h_ if (d == h_ and e != i) or (h_ == f and e != g) else e
                block[8] = f if h_ == f else e
            for n, v in enumerate(block):
                out[3 * y + n // 3][3 * x + n % 3] = v
    return out


def _repeat_every_fourth(grid):
    def stretch(line):
        out = []
        for n, v in enumerate(line):
            out.append(v)
            if n % 4 == 3:
                out.append(v)
        return out
    return [stretch(row) for row in stretch(grid)]


def scaled(grid, percent):
    if percent == 100:
        return [list(row) for row in grid]
    if percent == 200:
        return _scale2x(grid)
    if percent == 150:
        big = _scale3x(grid)
        return [row[::2] for row in big[::2]]
    if percent == 125:
        return _repeat_every_fourth(grid)
    raise ValueError('no scaling for %d %%' % percent)


# ---------------------------------------------------------------- encoding

def _size(pic):
    h = len(pic)
    w = len(pic[0])
    assert all(len(row) == w for row in pic), 'ragged picture'
    return w, h


def colours16(pic):
    """Picture -> rows of palette indices of the 16 colours, None for clear."""
    rows = []
    for row in pic:
        out = []
        for ch in row:
            if ch == CLEAR:
                out.append(None)
            elif ch in COLOURS:
                out.append(COLOURS[ch])
            else:
                raise ValueError('unknown colour character %r' % ch)
        rows.append(out)
    return rows


def colours_rgb(pic, ramps, extra):
    """Picture -> rows of RGB colours, None for clear.  A ramp character's
    colour follows its row, counted from the topmost row where it occurs."""
    first_row = {}
    for y, row in enumerate(pic):
        for ch in row:
            first_row.setdefault(ch, y)
    rows = []
    for y, row in enumerate(pic):
        out = []
        for ch in row:
            if ch == CLEAR:
                out.append(None)
            elif ch in COLOURS:
                out.append(VGA16[COLOURS[ch]])
            elif ch in ramps:
                ramp = ramps[ch]
                out.append(ramp[min(y - first_row[ch], len(ramp) - 1)])
            elif ch in extra:
                out.append(extra[ch])
            else:
                raise ValueError('unknown colour character %r' % ch)
        rows.append(out)
    return rows


def _palette256(grid):
    """RGB rows -> (256-entry palette, rows of indices).  The first 16 entries
    are the standard colours; other colours follow as they occur."""
    palette = list(VGA16)
    rows = []
    for row in grid:
        out = []
        for rgb in row:
            if rgb is None:
                out.append(0)
                continue
            if rgb not in palette:
                palette.append(rgb)
            out.append(palette.index(rgb))
        rows.append(out)
    assert len(palette) <= 256, 'too many colours'
    return palette + [(0, 0, 0)] * (256 - len(palette)), rows


def _stride(width, bpp):
    return (width * bpp + 31) // 32 * 4


def _pack(rows, bpp):
    """Rows of palette indices -> bottom-up DIB bits, rows padded to 32 bits."""
    width = len(rows[0])
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(_stride(width, bpp))
        for x, v in enumerate(row):
            assert 0 <= v < (1 << bpp)
            bit = x * bpp
            line[bit // 8] |= v << (8 - bpp - bit % 8)
        out += line
    return bytes(out)


def _rgbquads(palette):
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)


def _info_header(width, height, bpp, image_size, colours_used):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0,
                       image_size, 2835, 2835, colours_used, 0)


def _icon_image(grid, bpp):
    """One icon image: BITMAPINFOHEADER, palette, XOR bits, AND mask.
    biHeight counts both halves, so it is twice the image height."""
    w, h = _size(grid)
    if bpp == 4:
        palette, rows = VGA16, [[0 if v is None else v for v in row] for row in grid]
    else:
        palette, rows = _palette256(grid)
    xor = _pack(rows, bpp)
    mask = _pack([[1 if v is None else 0 for v in row] for row in grid], 1)
    return (_info_header(w, 2 * h, bpp, len(xor) + len(mask), 0)
            + _rgbquads(palette) + xor + mask)


def write_ico(name, images):
    """images: list of (colour rows, bpp), in the order they are stored."""
    blobs = [(_size(grid), bpp, _icon_image(grid, bpp)) for grid, bpp in images]
    data = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for (w, h), bpp, blob in blobs:
        colour_count = 16 if bpp == 4 else 0
        data += struct.pack('<BBBBHHII', w % 256, h % 256, colour_count, 0,
                            1, bpp, len(blob), offset)
        offset += len(blob)
    for _, _, blob in blobs:
        data += blob
    _write(name, data)


def write_bmp(name, grid):
    """16-colour bottom-up BMP; clear becomes the button face colour."""
    w, h = _size(grid)
    rows = [[FACE if v is None else v for v in row] for row in grid]
    bits = _pack(rows, 4)
    offset = 14 + 40 + 4 * 16
    data = (struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
            + _info_header(w, h, 4, len(bits), 16) + _rgbquads(VGA16) + bits)
    _write(name, data)


def _png_chunk(kind, body):
    return (struct.pack('>I', len(body)) + kind + body
            + struct.pack('>I', zlib.crc32(kind + body) & 0xffffffff))


def write_png(name, grid):
    """RGB rows, None for clear -> an RGBA PNG (the row icons of the web page)."""
    w, h = _size(grid)
    raw = bytearray()
    for row in grid:
        raw.append(0)
        for rgb in row:
            raw += bytes((0, 0, 0, 0)) if rgb is None else bytes(rgb) + b'\xff'
    data = (b'\x89PNG\r\n\x1a\n'
            + _png_chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
            + _png_chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + _png_chunk(b'IEND', b''))
    _write(name, data)


def _write(name, data):
    path = os.path.join(RES_DIR, name)
    with open(path, 'wb') as f:
        f.write(data)
    print('%-14s %5d bytes' % (name, len(data)))


# The sizes each picture comes in, as percentages of the size drawn above.
ICON_SCALES = (100, 125, 150, 200)          # 32 -> 32, 40, 48, 64
PROGRAM_SMALL_SCALES = (100, 125, 150)      # 16 -> 16, 20, 24
PICTURE_SCALES = ((100, ''), (150, '_150'), (200, '_200'))   # 24 -> 24, 36, 48


def main():
    for pic, size in ((KORVAL_32, 32), (KORVAL_16, 16), (ROW0, 32), (ROW1, 32),
                      (PLAY, 24), (EDIT, 24), (COPY, 24)):
        assert _size(pic) == (size, size), 'picture has the wrong size'
    for pic in (PLAY, EDIT, COPY):
        # Silver is reserved for the background, so that code keying on the
        # face colour never punches holes into the pictogram.
        assert not any('s' in row for row in pic), 'silver inside a button picture'

    big, small = colours16(KORVAL_32), colours16(KORVAL_16)
    write_ico('korval.ico', [(scaled(big, p), 4) for p in ICON_SCALES]
              + [(scaled(small, p), 4) for p in PROGRAM_SMALL_SCALES])
    write_ico('row0.ico', [(scaled(colours16(ROW0), p), 4) for p in ICON_SCALES])
    row1 = colours_rgb(ROW1, ROW1_RAMPS, ROW1_EXTRA)
    write_ico('row1.ico', [(scaled(row1, p), 8) for p in ICON_SCALES])
    write_png('row0.png', [[None if v is None else VGA16[v] for v in row] for row in colours16(ROW0)])
    write_png('row1.png', row1)
    for pic, name in ((PLAY, 'play'), (EDIT, 'edit'), (COPY, 'copy')):
        for percent, suffix in PICTURE_SCALES:
            write_bmp(name + suffix + '.bmp', scaled(colours16(pic), percent))


if __name__ == '__main__':
    main()
