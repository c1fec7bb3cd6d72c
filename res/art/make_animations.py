#!/usr/bin/env python3
"""Draws the demo medium's animations and writes them as FLC files into
examples/medium/ANIM/, one for each title of examples/medium/KORVAL.INI:

    python3 res/art/make_animations.py
    python3 res/art/make_animations.py --bench FILE    # a 320 x 200 file for make bench

The encoder is written here by hand, with the Python standard library only:
frame 1 is a 256-level palette chunk and a byte run of the picture; each
later frame holds the word delta from the frame before (and a palette chunk
when the colours change); after the last frame comes the ring frame, the
delta back to frame 1, so that a player can loop without starting over.
"""

import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ANIM_DIR = os.path.join(ROOT, 'examples', 'medium', 'ANIM')

WIDTH, HEIGHT = 160, 120


# ------------------------------------------------------------------ palette
#
# 0-15 plain colours, then ramps: each ramp a run of indices from one colour
# to another.

BLACK, WHITE, RED, YELLOW, GREEN, BROWN, GREY, DARK, ORANGE, PINK, SKIN, BLUE, SILVER, DARKGREEN, NAVY, CREAM = range(16)
PLAIN = [(0, 0, 0), (255, 255, 255), (220, 40, 40), (250, 220, 60), (60, 170, 70), (120, 80, 40),
         (128, 128, 128), (60, 60, 60), (250, 140, 30), (240, 120, 170), (240, 200, 160), (40, 90, 220),
         (192, 192, 192), (20, 90, 40), (10, 20, 70), (250, 240, 210)]
RAMPS = {                      # name: (first index, length, from, to)
    'sky': (16, 32, (30, 60, 150), (170, 210, 250)),
    'sea': (48, 32, (10, 50, 110), (60, 150, 200)),
    'sand': (80, 16, (230, 200, 140), (200, 160, 100)),
    'night': (96, 32, (0, 0, 20), (30, 30, 90)),
    'grey': (128, 32, (40, 40, 40), (220, 220, 220)),
    'hue': (160, 96, None, None),
}


def base_palette():
    palette = list(PLAIN) + [(0, 0, 0)] * (256 - len(PLAIN))
    for name, (first, length, start, end) in RAMPS.items():
        for i in range(length):
            if name == 'hue':
                palette[first + i] = hue(i / length)
            else:
                t = i / (length - 1)
                palette[first + i] = tuple(round(a + (b - a) * t) for a, b in zip(start, end))
    return palette


def hue(t):
    h = (t % 1.0) * 6
    x = 1 - abs(h % 2 - 1)
    r, g, b = [(1, x, 0), (x, 1, 0), (0, 1, x), (0, x, 1), (x, 0, 1), (1, 0, x)][int(h) % 6]
    return (round(r * 255), round(g * 255), round(b * 255))


def ramp(name, t):
    first, length, _, _ = RAMPS[name]
    return first + max(0, min(length - 1, int(t * length)))


# ------------------------------------------------------------------ drawing

class Canvas:
    def __init__(self, width, height, colour=0):
        self.width, self.height = width, height
        self.pixels = bytearray([colour]) * (width * height)

    def set(self, x, y, colour):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        x0, x1 = max(0, int(x0)), min(self.width, int(x1))
        for y in range(max(0, int(y0)), min(self.height, int(y1))):
            self.pixels[y * self.width + x0:y * self.width + x1] = bytes([colour]) * max(0, x1 - x0)

    def ellipse(self, cx, cy, rx, ry, colour):
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            dy = (y - cy) / ry if ry else 0
            if abs(dy) <= 1:
                half = rx * math.sqrt(1 - dy * dy)
                self.rect(round(cx - half), y, round(cx + half) + 1, y + 1, colour)

    def circle(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def line(self, x0, y0, x1, y1, colour, thickness=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            if thickness == 1:
                self.set(x, y, colour)
            else:
                self.rect(x - thickness // 2, y - thickness // 2, x - thickness // 2 + thickness,
                          y - thickness // 2 + thickness, colour)

    def triangle(self, points, colour):
        (ax, ay), (bx, by), (cx, cy) = points
        for y in range(int(min(ay, by, cy)), int(max(ay, by, cy)) + 1):
            xs = []
            for (x0, y0), (x1, y1) in (((ax, ay), (bx, by)), ((bx, by), (cx, cy)), ((cx, cy), (ax, ay))):
                if y0 != y1 and min(y0, y1) <= y <= max(y0, y1):
                    xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            if len(xs) >= 2:
                self.rect(round(min(xs)), y, round(max(xs)) + 1, y + 1, colour)

    def gradient(self, y0, y1, name):
        for y in range(y0, y1):
            self.rect(0, y, self.width, y + 1, ramp(name, (y - y0) / max(1, y1 - y0)))


def stars(canvas, count, seed, bottom):
    state = seed
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        x = state % canvas.width
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        canvas.set(x, state % bottom, WHITE if state % 3 else SILVER)


# ------------------------------------------------------------------ the animations
#
# Each takes the frame number and the count and draws one picture; a few
# also change the palette.

def ball(i, n):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(0, 100, 'sky')
    c.rect(0, 100, WIDTH, HEIGHT, GREEN)
    t = i / n
    x = 20 + 120 * (0.5 - 0.5 * math.cos(2 * math.pi * t))
    bounce = abs(math.sin(2 * math.pi * t * 2))
    y = 90 - 70 * bounce
    squash = 1.0 if bounce > 0.1 else 0.7
    c.ellipse(x, 103, 10 * (1.2 - bounce * 0.5), 2, DARKGREEN)
    c.ellipse(x, y + (10 - 10 * squash), 10 / squash ** 0.5, 10 * squash, RED)
    c.circle(x - 3, y - 3, 3, PINK)
    return c


def waves(i, n):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(0, 50, 'sky')
    c.circle(130, 18, 9, YELLOW)
    phase = 2 * math.pi * i / n
    for x in range(WIDTH):
        top = 50 + 3 * math.sin(x / 12 + phase)
        shore = 92 + 6 * math.sin(phase + x / 40)
        for y in range(int(top), HEIGHT):
            if y < top + 2:
                colour = WHITE if y < top + 1 else ramp('sea', 0.9)
            elif y < shore:
                colour = ramp('sea', 1 - (y - 50) / 45)
            elif y < shore + 2:
                colour = WHITE
            else:
                colour = ramp('sand', (y - shore) / 30)
            c.set(x, y, colour)
    return c


def rocket(i, n):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(0, 105, 'night')
    stars(c, 40, 7, 100)
    c.rect(0, 105, WIDTH, HEIGHT, DARK)
    c.rect(100, 55, 104, 105, GREY)           # the tower
    lift = max(0, i - 4) ** 2 * 0.35
    y = 60 - lift
    c.triangle([(80, y - 12), (72, y), (88, y)], RED)
    c.rect(72, y, 89, y + 36, SILVER)
    c.rect(77, y + 10, 84, y + 16, BLUE)
    c.triangle([(72, y + 26), (64, y + 38), (72, y + 38)], RED)
    c.triangle([(88, y + 26), (96, y + 38), (88, y + 38)], RED)
    if i >= 2:
        flame = 10 + (i * 7) % 9
        c.triangle([(74, y + 36), (87, y + 36), (80.5, y + 36 + flame)], ORANGE)
        c.triangle([(77, y + 36), (84, y + 36), (80.5, y + 36 + flame * 0.6)], YELLOW)
    if lift < 20:
        for k in range(6):
            c.circle(60 + k * 8 + (i % 3), 104 - (k % 2) * 3, 5, GREY)
    return c


def planets(i, n):
    c = Canvas(WIDTH, HEIGHT)
    stars(c, 50, 3, HEIGHT)
    cx, cy = 80, 60
    for radius, colour, speed, size in ((22, BLUE, 3, 3), (38, RED, 2, 4), (54, ORANGE, 1, 5)):
        for k in range(120):
            a = 2 * math.pi * k / 120
            c.set(cx + radius * math.cos(a), cy + radius * 0.75 * math.sin(a), DARK)
    c.circle(cx, cy, 9, YELLOW)
    for radius, colour, speed, size in ((22, BLUE, 3, 3), (38, RED, 2, 4), (54, ORANGE, 1, 5)):
        a = 2 * math.pi * speed * i / n
        c.circle(cx + radius * math.cos(a), cy + radius * 0.75 * math.sin(a), size, colour)
    return c


def fish(i, n):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(0, HEIGHT, 'sea')
    for k in range(0, WIDTH, 23):
        c.rect(k, 110 - (k % 3) * 4, k + 3, HEIGHT, DARKGREEN)
    t = i / n
    x = -20 + 200 * t
    y = 55 + 12 * math.sin(2 * math.pi * t * 2)
    wag = 4 * math.sin(2 * math.pi * t * 6)
    c.triangle([(x - 14, y), (x - 26, y - 9 + wag), (x - 26, y + 9 + wag)], ORANGE)
    c.ellipse(x, y, 16, 9, ORANGE)
    c.ellipse(x + 2, y + 2, 10, 4, YELLOW)
    c.circle(x + 9, y - 3, 2, BLACK)
    for k in range(4):
        by = (100 - (i * 4 + k * 25) % 100)
        c.circle(x + 20 + k * 6 - 200 * t + 100, by, 2 - k % 2, WHITE)
    return c


def notes(i, n):
    c = Canvas(WIDTH, HEIGHT, CREAM)
    for k in range(5):
        c.rect(8, 40 + k * 10, 152, 41 + k * 10, BLACK)
    for k in range(5):
        phase = 2 * math.pi * (i / n + k / 5)
        x = 25 + k * 27
        y = 70 - 18 * math.sin(phase)
        tilt = 3 * math.cos(phase)
        c.ellipse(x, y, 6, 4, BLACK)
        c.line(x + 5, y, x + 5 + tilt, y - 25, BLACK, 2)
        if k % 2:
            c.line(x + 5 + tilt, y - 25, x + 12 + tilt, y - 17, BLACK, 2)
    return c


def horse(i, n):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(0, 95, 'sky')
    c.rect(0, 95, WIDTH, HEIGHT, GREEN)
    shift = (i * 10) % 40
    for k in range(-1, 5):
        c.rect(k * 40 - shift + 20, 100, k * 40 - shift + 30, 103, DARKGREEN)    # grass passing by
    phase = 2 * math.pi * i / n * 3
    y = 55 + 3 * math.sin(phase * 2)
    c.ellipse(80, y, 26, 11, BROWN)                                  # body
    c.line(100, y - 4, 112, y - 22, BROWN, 6)                        # neck
    c.ellipse(117, y - 23, 9, 5, BROWN)                              # head
    c.line(58, y - 5, 46, y + 8 + 4 * math.sin(phase), DARK, 3)      # tail
    for hip, offset in ((64, 0), (70, math.pi), (92, math.pi / 2), (98, 3 * math.pi / 2)):
        swing = 10 * math.sin(phase + offset)
        knee = (hip + swing * 0.6, y + 22)
        c.line(hip, y + 6, knee[0], knee[1], BROWN, 3)
        c.line(knee[0], knee[1], knee[0] + swing * 0.4, y + 36, BROWN, 3)
    return c


def spiral(i, n):
    c = Canvas(WIDTH, HEIGHT)
    first, length, _, _ = RAMPS['hue']
    for y in range(HEIGHT):
        for x in range(WIDTH):
            dx, dy = x - 80, y - 60
            r = math.hypot(dx, dy)
            a = math.atan2(dy, dx) / (2 * math.pi)
            c.pixels[y * WIDTH + x] = first + int((a * 2 + r / 24) * length) % length
    return c


def spiral_palette(i, n):
    """The colours turn: the picture stays, the palette runs round."""
    palette = base_palette()
    first, length, _, _ = RAMPS['hue']
    step = i * length // n
    for k in range(length):
        palette[first + k] = hue(((k + step) % length) / length)
    return palette


def gears(i, n):
    c = Canvas(WIDTH, HEIGHT, CREAM)
    for cx, cy, teeth, radius, colour, turn in ((60, 60, 12, 34, GREY, 1), (113, 60, 8, 22, BLUE, -1.5)):
        angle = turn * 2 * math.pi * i / n / teeth * 2
        for y in range(int(cy - radius - 5), int(cy + radius + 6)):
            for x in range(int(cx - radius - 5), int(cx + radius + 6)):
                r = math.hypot(x - cx, y - cy)
                a = math.atan2(y - cy, x - cx) - angle
                tooth = math.cos(a * teeth) > 0.2
                if r < 5:
                    continue
                if r < radius or (r < radius + 5 and tooth):
                    c.set(x, y, DARK if r < radius * 0.45 and r > radius * 0.35 else colour)
    return c


MOON_WIDTH, MOON_HEIGHT = 161, 121   # odd: the word delta gives each line's last pixel alone


def moon(i, n):
    c = Canvas(MOON_WIDTH, MOON_HEIGHT)
    stars(c, 45, 11, 90)
    c.circle(130, 22, 10, BLUE)
    c.circle(127, 19, 4, GREEN)
    for x in range(MOON_WIDTH):
        top = 95 + 3 * math.sin(x / 15)
        c.rect(x, top, x + 1, MOON_HEIGHT, ramp('grey', 0.6 - (x % 37) / 200))
    for cx, cy, r in ((30, 105, 6), (95, 110, 4), (140, 102, 5)):
        c.ellipse(cx, cy, r, r / 3, ramp('grey', 0.2))
    y = min(78, 10 + i * 3)
    c.rect(72, y, 90, y + 10, SILVER)
    c.rect(76, y - 6, 86, y, YELLOW)
    c.line(72, y + 10, 66, y + 17, SILVER, 2)
    c.line(90, y + 10, 96, y + 17, SILVER, 2)
    if y < 78:
        c.triangle([(76, y + 10), (86, y + 10), (81, y + 16 + i % 4)], ORANGE)
    else:
        c.set(MOON_WIDTH - 1, 0, WHITE if i % 2 else BLACK)    # a star in the corner blinks
    return c


def juggler(i, n):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(0, 105, 'night')
    c.rect(0, 105, WIDTH, HEIGHT, BROWN)
    c.circle(80, 45, 7, SKIN)                          # head
    c.rect(74, 53, 87, 80, RED)                        # body
    c.line(76, 80, 70, 104, NAVY, 4)
    c.line(85, 80, 91, 104, NAVY, 4)
    hand_phase = 2 * math.pi * i / n * 3
    left = (62, 72 + 4 * math.sin(hand_phase))
    right = (98, 72 + 4 * math.sin(hand_phase + math.pi))
    c.line(75, 57, left[0], left[1], SKIN, 3)
    c.line(86, 57, right[0], right[1], SKIN, 3)
    for k, colour in enumerate((YELLOW, GREEN, PINK)):
        t = (i / n * 3 + k / 3) % 1
        x = 62 + 36 * t if int((i / n * 3 + k / 3)) % 2 == 0 else 98 - 36 * t
        y = 70 - 50 * math.sin(math.pi * t)
        c.circle(x, y, 4, colour)
    return c


def snow(i, n):
    c = Canvas(WIDTH, HEIGHT)
    c.gradient(0, HEIGHT, 'night')
    c.rect(0, 108 - i // 4, WIDTH, HEIGHT, WHITE)
    c.triangle([(30, 60), (15, 108 - i // 4), (45, 108 - i // 4)], DARKGREEN)
    c.triangle([(125, 50), (105, 108 - i // 4), (145, 108 - i // 4)], DARKGREEN)
    for k in range(30):
        x = (k * 37) % WIDTH + 4 * math.sin(2 * math.pi * (i / n + k / 7))
        y = ((k * 53) % HEIGHT + i * (2 + k % 3)) % HEIGHT
        c.set(x, y, WHITE)
        if k % 3 == 0:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.set(x + dx, y + dy, SILVER)
    return c


# Two animations larger than the preview's box (320 x 240), for the viewer:
# few frames, large still areas, so the word deltas stay small.

BALLOON_WIDTH, BALLOON_HEIGHT = 640, 480


def balloon(i, n):
    """A hot-air balloon rising over hills; its shadow follows below."""
    c = Canvas(BALLOON_WIDTH, BALLOON_HEIGHT)
    c.gradient(0, 330, 'sky')
    c.circle(540, 70, 30, YELLOW)
    c.ellipse(160, 360, 260, 70, GREEN)
    c.ellipse(500, 380, 240, 60, DARKGREEN)
    c.rect(0, 380, BALLOON_WIDTH, BALLOON_HEIGHT, GREEN)
    for k in range(8):
        c.rect(40 + k * 75, 400 + (k % 3) * 20, 70 + k * 75, 404 + (k % 3) * 20, DARKGREEN)    # hedges
    t = i / n
    x = 200 + 160 * t
    y = 300 - 220 * t
    c.ellipse(x + 40, 440, 30 - 15 * t, 5, DARKGREEN)                   # the shadow
    c.ellipse(x, y, 48, 56, RED)
    for k in (-24, 0, 24):
        c.rect(x + k - 4, y - 54 + abs(k) // 3, x + k + 4, y + 54 - abs(k) // 3, YELLOW)    # stripes
    c.line(x - 30, y + 40, x - 12, y + 78, BROWN, 2)
    c.line(x + 30, y + 40, x + 12, y + 78, BROWN, 2)
    c.rect(x - 14, y + 78, x + 15, y + 98, BROWN)                        # the basket
    return c


MILL_WIDTH, MILL_HEIGHT = 800, 600


def windmill(i, n):
    """A windmill whose sails turn a quarter round and so loop without a jump."""
    c = Canvas(MILL_WIDTH, MILL_HEIGHT)
    c.gradient(0, 420, 'sky')
    c.rect(0, 420, MILL_WIDTH, MILL_HEIGHT, GREEN)
    for k in range(10):
        c.rect(0, 440 + k * 16, MILL_WIDTH, 446 + k * 16, DARKGREEN if k % 2 else BROWN)    # the field's rows
    c.ellipse(150, 120, 70, 22, WHITE)
    c.ellipse(620, 90, 90, 26, WHITE)
    cx, cy = 400, 250
    c.triangle([(cx, cy - 40), (cx - 70, cy + 190), (cx + 70, cy + 190)], GREY)    # the tower
    c.rect(cx - 16, cy + 140, cx + 16, cy + 190, DARK)                              # the door
    angle = (math.pi / 2) * i / n
    for k in range(4):
        a = angle + k * math.pi / 2
        ex, ey = cx + 200 * math.cos(a), cy + 200 * math.sin(a)
        c.line(cx, cy, ex, ey, BROWN, 5)
        # the sail: a frame beside the arm's outer part
        px, py = -math.sin(a) * 36, math.cos(a) * 36
        sx, sy = cx + 60 * math.cos(a), cy + 60 * math.sin(a)
        c.triangle([(sx, sy), (ex, ey), (ex + px, ey + py)], CREAM)
        c.triangle([(sx, sy), (sx + px, sy + py), (ex + px, ey + py)], CREAM)
    c.circle(cx, cy, 12, DARK)
    return c


# name, frames, delay in ms, drawing, palette (None: the base one), size
ANIMATIONS = [
    ('BALL.FLC', 32, 60, ball, None, (WIDTH, HEIGHT)),
    ('NATUR/WELLEN.FLC', 24, 100, waves, None, (WIDTH, HEIGHT)),
    ('TECHNIK/RAKETE.FLC', 30, 70, rocket, None, (WIDTH, HEIGHT)),
    ('WELTALL/PLANETEN.FLC', 36, 80, planets, None, (WIDTH, HEIGHT)),
    ('NATUR/FISCH.FLC', 32, 80, fish, None, (WIDTH, HEIGHT)),
    ('NOTEN.FLC', 24, 80, notes, None, (WIDTH, HEIGHT)),
    ('TIERE/PFERD.FLC', 24, 70, horse, None, (WIDTH, HEIGHT)),
    ('SPIRALE.FLC', 32, 60, spiral, spiral_palette, (WIDTH, HEIGHT)),
    ('TECHNIK/ZAHNRAD.FLC', 24, 80, gears, None, (WIDTH, HEIGHT)),
    ('WELTALL/MOND.FLC', 30, 90, moon, None, (MOON_WIDTH, MOON_HEIGHT)),
    ('JONGLEUR.FLC', 36, 70, juggler, None, (WIDTH, HEIGHT)),
    ('NATUR/SCHNEE.FLC', 32, 90, snow, None, (WIDTH, HEIGHT)),
    ('TECHNIK/BALLON.FLC', 12, 120, balloon, None, (BALLOON_WIDTH, BALLOON_HEIGHT)),
    ('NATUR/MUEHLE.FLC', 8, 125, windmill, None, (MILL_WIDTH, MILL_HEIGHT)),
]


# ------------------------------------------------------------------ the encoder

def chunk(kind, payload):
    return struct.pack('<IH', len(payload) + 6, kind) + payload


def palette_chunk(palette):
    """Chunk 4: one packet of all 256 colours (a count of 0 means 256)."""
    return chunk(4, struct.pack('<HBB', 1, 0, 0) + bytes(v for colour in palette for v in colour))


def byte_run_chunk(pixels, width, height):
    """Chunk 15: per line a packet count, then runs (a positive count
    repeats the next byte) and copies (a negative count copies that many)."""
    out = bytearray()
    for y in range(height):
        row = pixels[y * width:(y + 1) * width]
        packets = bytearray()
        count = 0
        x = 0
        while x < width:
            run = 1
            while x + run < width and run < 127 and row[x + run] == row[x]:
                run += 1
            if run >= 3:
                packets += struct.pack('<bB', run, row[x])
                x += run
            else:
                start = x
                while x < width and x - start < 128:
                    if x + 2 < width and row[x] == row[x + 1] == row[x + 2]:
                        break
                    x += 1
                packets += struct.pack('<b', -(x - start)) + row[start:x]
            count += 1
        out += bytes([min(count, 255)]) + packets
    return chunk(15, bytes(out))


def word_delta_chunk(before, after, width, height):
    """Chunk 7: the lines that differ, as packets of words; skipped lines as
    an opcode, an odd width's last pixel as an opcode of its own. None when
    nothing differs."""
    out = bytearray()
    lines = 0
    skip = 0
    words = width // 2
    for y in range(height):
        old = before[y * width:(y + 1) * width]
        new = after[y * width:(y + 1) * width]
        if old == new:
            skip += 1
            continue
        if skip:
            out += struct.pack('<H', 0x10000 - skip)
            skip = 0
        if width % 2 and old[-1] != new[-1]:
            out += struct.pack('<H', 0x8000 | new[-1])
        packets = bytearray()
        count = 0
        column = 0                       # where the last packet ended, in pixels
        w = 0
        while w < words:
            if old[2 * w:2 * w + 2] == new[2 * w:2 * w + 2]:
                w += 1
                continue
            gap = 2 * w - column
            while gap > 254:            # a skip is one byte: empty packets carry the rest
                packets += struct.pack('<Bb', 254, 0)
                count += 1
                gap -= 254
            pair = new[2 * w:2 * w + 2]
            run = 1
            while w + run < words and run < 127 and new[2 * (w + run):2 * (w + run) + 2] == pair:
                run += 1
            if run >= 2:
                packets += struct.pack('<Bb', gap, -run) + pair
                w += run
            else:
                start = w
                while (w < words and w - start < 127 and old[2 * w:2 * w + 2] != new[2 * w:2 * w + 2]
                       and not (w + 1 < words and new[2 * w:2 * w + 2] == new[2 * w + 2:2 * w + 4])):
                    w += 1
                if w == start:
                    w += 1
                packets += struct.pack('<Bb', gap, w - start) + new[2 * start:2 * w]
            count += 1
            column = 2 * w
        out += struct.pack('<H', count) + packets
        lines += 1
    if lines == 0 and not skip:
        return None
    if lines == 0:
        return None
    return chunk(7, struct.pack('<H', lines) + bytes(out))


def frame_chunk(chunks):
    body = b''.join(chunks)
    return struct.pack('<IHHHHHH', len(body) + 16, 0xF1FA, len(chunks), 0, 0, 0, 0) + body


def encode(pictures, palettes, width, height, delay):
    frames = []
    for k, (picture, palette) in enumerate(zip(pictures, palettes)):
        if k == 0:
            chunks = [palette_chunk(palette), byte_run_chunk(picture, width, height)]
        else:
            chunks = [palette_chunk(palette)] if palette != palettes[k - 1] else []
            delta = word_delta_chunk(pictures[k - 1], picture, width, height)
            if delta:
                chunks.append(delta)
        frames.append(frame_chunk(chunks))
    # The ring frame: from the last picture back to the first.
    ring = [palette_chunk(palettes[0])] if palettes[-1] != palettes[0] else []
    delta = word_delta_chunk(pictures[-1], pictures[0], width, height)
    if delta:
        ring.append(delta)
    frames.append(frame_chunk(ring))

    first = 128
    second = first + len(frames[0])
    size = first + sum(len(f) for f in frames)
    header = struct.pack('<IHHHHHHI', size, 0xAF12, len(pictures), width, height, 8, 3, delay)
    header += bytes(80 - len(header)) + struct.pack('<II', first, second)
    header += bytes(128 - len(header))
    return header + b''.join(frames)


def write_bench_file(path):
    """A 320 x 200 animation for make bench: the waves, every frame changing
    a band across the whole width."""
    global WIDTH, HEIGHT
    WIDTH, HEIGHT = 320, 200
    pictures = [bytes(waves(i, 24).pixels) for i in range(24)]
    with open(path, 'wb') as out:
        out.write(encode(pictures, [base_palette()] * 24, WIDTH, HEIGHT, 100))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--bench':
        write_bench_file(sys.argv[2])
        return
    for name, count, delay, draw, palette_of, (width, height) in ANIMATIONS:
        pictures = [bytes(draw(i, count).pixels) for i in range(count)]
        palettes = [palette_of(i, count) if palette_of else base_palette() for i in range(count)]
        data = encode(pictures, palettes, width, height, delay)
        path = os.path.join(ANIM_DIR, *name.split('/'))
        with open(path, 'wb') as out:
            out.write(data)
        print('%-24s %3d x %3d, %2d frames, %6d bytes' % (name, width, height, count, len(data)))


if __name__ == '__main__':
    main()
