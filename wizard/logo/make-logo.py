#!/usr/bin/env python3
"""Draws the installer's side banner and writes it as an XPM 3 image.

The banner is 100 by 236 pixels: a deep blue-to-violet gradient with soft
light bands, the Zorvane emblem (an amber disc holding a white play mark and
circled by a sound ring), the product name "Z8" in stroked letters and a
waveform near the foot.  The picture is rendered in full colour with 4x4
supersampling, then reduced by median cut to exactly 255 colours written with
2 characters per pixel, so the values line reads "100 236 255 2".

    usage: make-logo.py > wizard/logo/logo.xpm
"""
import math
import sys

WIDTH, HEIGHT, COLOURS, SAMPLES = 100, 236, 255, 4
# Characters allowed in XPM pixel codes (no quote, no backslash).
CODE_CHARS = ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
              "0123456789.+@#$%&*=-;:>,<'`)!~^/(_[]{}|")


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smooth(edge0, edge1, x):
    t = min(1.0, max(0.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(1.0, max(0.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def inside_triangle(px, py, pts):
    sign = None
    for i in range(3):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % 3]
        cross = (bx - ax) * (py - ay) - (by - ay) * (px - ax)
        if sign is None:
            sign = cross > 0
        elif (cross > 0) != sign:
            return False
    return True


def background(x, y):
    top, middle, bottom = (16, 24, 78), (52, 40, 128), (12, 92, 132)
    t = y / HEIGHT
    colour = mix(top, middle, t / 0.55) if t < 0.55 else mix(middle, bottom, (t - 0.55) / 0.45)
    band = 0.5 + 0.5 * math.sin((x * 0.6 + y) / 23.0)
    return mix(colour, (255, 255, 255), 0.06 * band * band)


EMBLEM_X, EMBLEM_Y, DISC_R = 50.0, 68.0, 27.0
PLAY_MARK = ((41.0, 53.0), (41.0, 83.0), (66.0, 68.0))
Z_STROKES = ((24, 136, 44, 136), (44, 136, 24, 166), (24, 166, 44, 166))
EIGHT_RINGS = ((64.0, 143.5, 7.5), (64.0, 159.0, 8.5))


def emblem(x, y, colour):
    d = math.hypot(x - EMBLEM_X, y - EMBLEM_Y)
    glow = math.exp(-max(0.0, d - DISC_R) / 9.0) * 0.35
    colour = mix(colour, (255, 190, 90), glow)
    if abs(d - (DISC_R + 7)) < 1.2:
        colour = mix(colour, (255, 236, 200), 0.8)
    if d < DISC_R:
        shade = (y - (EMBLEM_Y - DISC_R)) / (2 * DISC_R)
        colour = mix((255, 200, 70), (236, 96, 24), shade)
        if inside_triangle(x, y, PLAY_MARK):
            colour = (255, 255, 255)
    return colour


def lettering(x, y, colour):
    stroke = min(segment_distance(x, y, *s) for s in Z_STROKES)
    for cx, cy, r in EIGHT_RINGS:
        stroke = min(stroke, abs(math.hypot(x - cx, y - cy) - r))
    if stroke < 2.6:
        return (250, 250, 255)
    return colour


def waveform(x, y, colour):
    envelope = math.sin(math.pi * x / WIDTH)
    wave = 200 + 9 * envelope * math.sin(x / 3.1) * math.cos(x / 11.0)
    if abs(y - wave) < 1.1:
        return mix(colour, (120, 230, 255), 0.9 * envelope + 0.1)
    return colour


def pixel(px, py):
    total = [0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            colour = waveform(x, y, lettering(x, y, emblem(x, y, background(x, y))))
            for i in range(3):
                total[i] += colour[i]
    return tuple(min(255, int(round(c / (SAMPLES * SAMPLES)))) for c in total)


def median_cut(pixels, count):
    boxes = [list(set(pixels))]
    while len(boxes) < count:
        boxes.sort(key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b) for i in range(3))
                   if len(b) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            raise SystemExit("make-logo: the picture has too few distinct colours")
        axis = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return boxes


def build_palette(pixels):
    palette, lookup = [], {}
    for box in median_cut(pixels, COLOURS):
        mean = tuple(sum(c[i] for c in box) // len(box) for i in range(3))
        while mean in palette:  # keep every entry distinct
            mean = (mean[0], mean[1], (mean[2] + 1) % 256)
        for c in box:
            lookup[c] = len(palette)
        palette.append(mean)
    return palette, lookup


def code(index):
    base = len(CODE_CHARS)
    return CODE_CHARS[index // base] + CODE_CHARS[index % base]


def main():
    image = [[pixel(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]
    palette, lookup = build_palette([c for row in image for c in row])
    out = sys.stdout
    out.write("/* XPM */\nstatic const char *logo_xpm[] = {\n")
    out.write('"%d %d %d 2",\n' % (WIDTH, HEIGHT, COLOURS))
    for i, (r, g, b) in enumerate(palette):
        out.write('"%s c #%02X%02X%02X",\n' % (code(i), r, g, b))
    rows = ['"' + "".join(code(lookup[c]) for c in row) + '"' for row in image]
    out.write(",\n".join(rows) + "\n};\n")


main()
