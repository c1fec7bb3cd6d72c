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


# ---------------------------------------------------------------- encoding

def _size(pic):
    h = len(pic)
    w = len(pic[0])
    assert all(len(row) == w for row in pic), 'ragged picture'
    return w, h


def _palette16(pic, clear_index):
    """Picture -> (palette, rows of indices) with the fixed 16 colours."""
    rows = []
    for row in pic:
        out = []
        for ch in row:
            if ch == CLEAR:
                out.append(clear_index)
            elif ch in COLOURS:
                out.append(COLOURS[ch])
            else:
                raise ValueError('unknown colour character %r' % ch)
        rows.append(out)
    return VGA16, rows


def _palette256(pic, ramps, extra):
    """Picture -> (256-entry palette, rows of indices).  The first 16 entries
    are the standard colours; ramp and extra colours follow as they occur."""
    palette = list(VGA16)
    first_row = {}
    for y, row in enumerate(pic):
        for ch in row:
            first_row.setdefault(ch, y)

    def index_of(rgb):
        if rgb not in palette:
            palette.append(rgb)
        return palette.index(rgb)

    rows = []
    for y, row in enumerate(pic):
        out = []
        for ch in row:
            if ch == CLEAR:
                out.append(0)
            elif ch in COLOURS:
                out.append(COLOURS[ch])
            elif ch in ramps:
                ramp = ramps[ch]
                out.append(index_of(ramp[min(y - first_row[ch], len(ramp) - 1)]))
            elif ch in extra:
                out.append(index_of(extra[ch]))
            else:
                raise ValueError('unknown colour character %r' % ch)
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


def _icon_image(pic, bpp, ramps=None, extra=None):
    """One icon image: BITMAPINFOHEADER, palette, XOR bits, AND mask.
    biHeight counts both halves, so it is twice the image height."""
    w, h = _size(pic)
    if bpp == 4:
        palette, rows = _palette16(pic, 0)
    else:
        palette, rows = _palette256(pic, ramps or {}, extra or {})
    xor = _pack(rows, bpp)
    mask = _pack([[1 if ch == CLEAR else 0 for ch in row] for row in pic], 1)
    return (_info_header(w, 2 * h, bpp, len(xor) + len(mask), 0)
            + _rgbquads(palette) + xor + mask)


def write_ico(name, images):
    """images: list of (picture, bpp, ramps, extra)."""
    blobs = [(_size(pic), bpp, _icon_image(pic, bpp, ramps, extra))
             for pic, bpp, ramps, extra in images]
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


def write_bmp(name, pic):
    """16-colour bottom-up BMP; '.' becomes the button face colour."""
    w, h = _size(pic)
    # Silver is reserved for the background, so that code keying on the
    # face colour never punches holes into the pictogram.
    assert not any('s' in row for row in pic), 'silver inside a button picture'
    palette, rows = _palette16(pic, FACE)
    bits = _pack(rows, 4)
    offset = 14 + 40 + 4 * 16
    data = (struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
            + _info_header(w, h, 4, len(bits), 16) + _rgbquads(palette) + bits)
    _write(name, data)


def _write(name, data):
    path = os.path.join(RES_DIR, name)
    with open(path, 'wb') as f:
        f.write(data)
    print('%-12s %5d bytes' % (name, len(data)))


def main():
    for pic, size in ((KORVAL_32, 32), (KORVAL_16, 16), (ROW0, 32), (ROW1, 32),
                      (PLAY, 24), (EDIT, 24), (COPY, 24)):
        assert _size(pic) == (size, size), 'picture has the wrong size'
    write_ico('korval.ico', [(KORVAL_32, 4, None, None), (KORVAL_16, 4, None, None)])
    write_ico('row0.ico', [(ROW0, 4, None, None)])
    write_ico('row1.ico', [(ROW1, 8, ROW1_RAMPS, ROW1_EXTRA)])
    write_bmp('play.bmp', PLAY)
    write_bmp('edit.bmp', EDIT)
    write_bmp('copy.bmp', COPY)


if __name__ == '__main__':
    main()
