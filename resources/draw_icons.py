#!/usr/bin/env python3
"""Draws the plug-in's icons and writes them as .ico files (PNG-coded images, 16 and 32 pixels).

Run from this folder after changing a drawing: python3 draw_icons.py. The .ico files are kept in the
repository so that a build needs no Python. Shapes are sampled 4 x 4 per pixel for smooth edges.
"""
import math
import struct
import zlib

SUPERSAMPLE = 4


def rainbow(t):
    """Blue through cyan, green and yellow to red, the look of a thermal image."""
    stops = [(0.0, (0, 0, 160)), (0.25, (0, 160, 255)), (0.5, (0, 200, 0)), (0.75, (255, 220, 0)),
             (1.0, (220, 0, 0))]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            f = (t - t0) / (t1 - t0)
            return tuple(round(a + (b - a) * f) for a, b in zip(c0, c1))
    return stops[-1][1]


def thermometer(x, y):
    """Unit square coordinates (0..1, y down) to an RGBA colour or None."""
    bulb = math.hypot(x - 0.5, y - 0.78) < 0.17
    tube = abs(x - 0.5) < 0.09 and 0.1 < y < 0.78
    cap = math.hypot(x - 0.5, y - 0.1) < 0.09
    if bulb or (tube and y > 0.45):
        return (220, 0, 0, 255)
    if tube or cap:
        return (235, 235, 235, 255)
    outline = math.hypot(x - 0.5, y - 0.78) < 0.22 or (abs(x - 0.5) < 0.14 and 0.1 < y < 0.78) or \
        math.hypot(x - 0.5, y - 0.1) < 0.14
    return (40, 40, 40, 255) if outline else None


def pseudo_color(x, y):
    """A grey wedge above its pseudo-colour rendering."""
    if not (0.06 < x < 0.94 and 0.1 < y < 0.9):
        return None
    if x < 0.1 or x > 0.9 or y < 0.14 or y > 0.86 or 0.46 < y < 0.54:
        return (40, 40, 40, 255)
    t = (x - 0.1) / 0.8
    if y < 0.5:
        g = round(t * 255)
        return (g, g, g, 255)
    return rainbow(t) + (255,)


def temperature_scale(x, y):
    """A vertical colour bar, hot at the top, with tick marks to its right."""
    if 0.2 < x < 0.5 and 0.06 < y < 0.94:
        if x < 0.24 or x > 0.46 or y < 0.1 or y > 0.9:
            return (40, 40, 40, 255)
        return rainbow(1.0 - (y - 0.1) / 0.8) + (255,)
    for tick in (0.1, 0.3, 0.5, 0.7, 0.9):
        if 0.55 < x < 0.82 and abs(y - tick) < 0.035:
            return (40, 40, 40, 255)
    return None


def epsilon_equals(x, y):
    """The characters epsilon and '=' that stand in front of the emissivity field."""
    ink = (0, 0, 0, 255)
    # Epsilon: two open bowls stacked, opening to the right, and the short middle bar.
    for cy, r in ((0.36, 0.13), (0.62, 0.15)):
        d = math.hypot(x - 0.3, y - cy)
        if abs(d - r) < 0.045 and (x < 0.36 or abs(y - cy) > 0.09):
            return ink
    if 0.2 < x < 0.36 and abs(y - 0.49) < 0.035:
        return ink
    if 0.58 < x < 0.9 and (abs(y - 0.41) < 0.04 or abs(y - 0.59) < 0.04):
        return ink
    return None


def render(shape, size):
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    c = shape((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c:
                        for i in range(3):
                            acc[i] += c[i] * c[3]
                        acc[3] += c[3]
            alpha = acc[3] / (n * n)
            if acc[3]:
                row += bytes(round(acc[i] / acc[3]) for i in range(3)) + bytes([round(alpha)])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(rows, size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
    raw = b"".join(b"\0" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs += data
    return header + entries + blobs


ICONS = {
    "thermometer.ico": thermometer,
    "pseudo_color.ico": pseudo_color,
    "temperature_scale.ico": temperature_scale,
    "epsilon_equals.ico": epsilon_equals,
}

if __name__ == "__main__":
    for name, shape in ICONS.items():
        with open("icons/" + name, "wb") as f:
            f.write(ico([(s, png(render(shape, s), s)) for s in (16, 32)]))
