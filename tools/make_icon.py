#!/usr/bin/env python3
"""Renders the application icon's SVG artwork into a Windows .ico file.

Usage: make_icon.py ARTWORK.svg OUT.ico

The .ico holds, in this order: 32x32 16 colours, 64x64 256 colours, 32x32 256 colours,
48x48 256 colours, 16x16 256 colours, 16x16 16 colours, 32x32 monochrome. Each image is a
real palette bitmap (4, 8 or 1 bit per pixel) with its AND mask.

Only what the artwork uses of SVG is read: <path> elements with a fill colour and absolute
M, L, C, Q and Z commands. Shapes are drawn in order with 4x4 supersampling, and the
whole silhouette gets a one-pixel outline in the root's data-outline colour.
"""
import re
import struct
import sys
import xml.etree.ElementTree as ET

IMAGES = [(32, 4), (64, 8), (32, 8), (48, 8), (16, 8), (16, 4), (32, 1)]
SUPERSAMPLE = 4

# The standard 16-colour Windows palette.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette_256():
    """The 16 standard colours, a 6x6x6 colour cube, and a ramp of reds and greys."""
    colours = list(VGA16)
    levels = [0, 51, 102, 153, 204, 255]
    colours += [(r, g, b) for r in levels for g in levels for b in levels]
    colours += [(96 + 4 * i, 8, 8) for i in range(24)]
    while len(colours) < 256:
        colours.append((0, 0, 0))
    return colours


def parse_colour(text):
    text = text.strip().lstrip("#")
    if len(text) == 3:
        text = "".join(c * 2 for c in text)
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def flatten_path(d, steps=16):
    """Turns an SVG path's d attribute into closed polygons of (x, y) points."""
    tokens = re.findall(r"[MLCQZmlcqz]|-?\d*\.?\d+(?:e-?\d+)?", d)
    polygons, current, pos, i = [], [], (0.0, 0.0), 0
    command = None

    def numbers(n):
        nonlocal i
        values = [float(t) for t in tokens[i:i + n]]
        i += n
        return values

    while i < len(tokens):
        if re.fullmatch(r"[A-Za-z]", tokens[i]):
            command = tokens[i]
            i += 1
            if command in "Zz":
                if current:
                    polygons.append(current)
                current = []
                continue
        if command is None or command.islower():
            raise ValueError("only absolute M, L, C, Q, Z are read: %r" % command)
        if command == "M":
            if current:
                polygons.append(current)
            pos = tuple(numbers(2))
            current = [pos]
            command = "L"
        elif command == "L":
            pos = tuple(numbers(2))
            current.append(pos)
        elif command in "CQ":
            n = 6 if command == "C" else 4
            pts = [pos] + [tuple(p) for p in zip(*[iter(numbers(n))] * 2)]
            for s in range(1, steps + 1):
                t = s / steps
                current.append(bezier(pts, t))
            pos = pts[-1]
    if current:
        polygons.append(current)
    return polygons


def bezier(points, t):
    while len(points) > 1:
        points = [((1 - t) * a[0] + t * b[0], (1 - t) * a[1] + t * b[1]) for a, b in zip(points, points[1:])]
    return points[0]


def inside(polygon, x, y):
    result = False
    n = len(polygon)
    for k in range(n):
        (x1, y1), (x2, y2) = polygon[k], polygon[(k + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def render(shapes, view, outline, size):
    """RGBA rows of size x size pixels."""
    scale = size / view
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            samples = []
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) / scale
                    y = (py + (sy + 0.5) / SUPERSAMPLE) / scale
                    colour = None
                    for fill, polygons in shapes:
                        if any(inside(p, x, y) for p in polygons):
                            colour = fill
                    samples.append(colour)
            covered = [c for c in samples if c is not None]
            if len(covered) * 2 < len(samples):
                row.append(None)
            else:
                row.append(tuple(sum(c[k] for c in covered) // len(covered) for k in range(3)))
        pixels.append(row)
    # The outline: every opaque pixel next to a transparent one, or at the image's edge.
    result = [list(r) for r in pixels]
    for y in range(size):
        for x in range(size):
            if pixels[y][x] is None:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < size and 0 <= ny < size) or pixels[ny][nx] is None:
                    result[y][x] = outline
                    break
    return result


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda k: sum((palette[k][c] - colour[c]) ** 2 for c in range(3)))


def pack_rows(rows, bits):
    """Bottom-up rows of palette indexes, each padded to a multiple of 4 bytes."""
    data = b""
    for row in reversed(rows):
        value, nbits, out = 0, 0, bytearray()
        for index in row:
            value = (value << bits) | index
            nbits += bits
            if nbits == 8:
                out.append(value)
                value, nbits = 0, 0
        if nbits:
            out.append(value << (8 - nbits))
        while len(out) % 4:
            out.append(0)
        data += bytes(out)
    return data


def icon_image(pixels, bits):
    size = len(pixels)
    if bits == 1:
        palette = [(0, 0, 0), (255, 255, 255)]
        def index(c):
            return 1 if (c[0] * 3 + c[1] * 6 + c[2]) > 1100 else 0
    else:
        palette = VGA16 if bits == 4 else palette_256()
        cache = {}
        def index(c):
            if c not in cache:
                cache[c] = nearest(palette, c)
            return cache[c]
    # Transparent pixels: colour 0 (black) under a set AND bit, so the screen shows through.
    xor_rows = [[0 if c is None else index(c) for c in row] for row in pixels]
    and_rows = [[1 if c is None else 0 for c in row] for row in pixels]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         len(palette) if bits < 8 else 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + pack_rows(xor_rows, bits) + pack_rows(and_rows, 1)


def main():
    artwork, output = sys.argv[1], sys.argv[2]
    root = ET.parse(artwork).getroot()
    view = float(root.get("viewBox", "0 0 64 64").split()[2])
    outline = parse_colour(root.get("data-outline", "#000000"))
    shapes = []
    for element in root.iter():
        if element.tag.endswith("path"):
            shapes.append((parse_colour(element.get("fill", "#000000")), flatten_path(element.get("d"))))

    rendered = {}
    images = []
    for size, bits in IMAGES:
        if size not in rendered:
            rendered[size] = render(shapes, view, outline, size)
        images.append((size, bits, icon_image(rendered[size], bits)))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, bits, blob in images:
        colour_count = 1 << bits if bits < 8 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(output, "wb") as f:
        f.write(directory + entries + blobs)


if __name__ == "__main__":
    main()
