#!/usr/bin/env python3
"""Draws the program's icon: an 8 x 8 glyph of lit cells on a dotted grid, on a dark rounded tile.

Writes the scalable SVG and the 48 and 256 pixel PNGs from one description, so the three always
show the same picture. The pictures depend on nothing but this file (no rasteriser, no fonts).

Usage: make-icons.py DIR
         writes DIR/fontarel.svg, DIR/48x48/fontarel.png and DIR/256x256/fontarel.png
       make-icons.py --check DIR
         exits 1 unless those files hold exactly what this script draws: the SVG text and the
         PNGs' header and pixels (not their compressed bytes, which differ between zlib builds)
"""

import os
import struct
import sys
import zlib

# The glyph, row 0 on top; '#' is a lit cell. An "F" for the program's name, with a free ring of
# cells around it so the dotted grid shows on every side.
GLYPH = [
    "........",
    ".######.",
    ".##.....",
    ".#####..",
    ".##.....",
    ".##.....",
    ".##.....",
    "........",
]

TILE = (0x1E, 0x24, 0x33)  # the tile, a dark blue-grey like an old monitor's screen
EDGE = (0x3A, 0x44, 0x5E)  # a thin lighter rim that keeps the tile apart from dark panels
LIT = (0xFF, 0xC2, 0x3D)  # lit cells, amber
DOT = (0x7A, 0x86, 0xA3)  # the dots that mark unlit cells

SVG_SIZE = 256  # the SVG's own units; the 256 pixel PNG is this picture at one unit a pixel
SAMPLES = 8  # sub-samples a pixel edge when rasterising the PNGs, so 64 a pixel


def layout(size):
    """The geometry at `size` pixels, snapped to whole pixels so that the cells of the small icon
    fall on the pixel grid and stay sharp. Lengths in pixels (in SVG units at SVG_SIZE)."""
    pitch = size * 5 // 48  # cell pitch: 5 at 48, 26 at 256
    gap = max(1, pitch // 12)  # space between lit cells: 1 at 48, 2 at 256
    grid = 8 * pitch
    origin = (size - grid + gap) // 2  # top-left of cell (0, 0); centres the lit cells
    margin = max(1, size // 48)  # tile inset from the picture's edge
    return {
        "pitch": pitch,
        "cell": pitch - gap,  # side of a lit cell
        "origin": origin,
        "margin": margin,
        "radius": size * 0.17,  # corner radius of the tile
        "rim": max(1.0, size / 128),  # width of the rim
        "dot": max(0.6, pitch * 0.11),  # radius of an unlit cell's dot
        "cell_radius": pitch * 0.12,  # corner radius of a lit cell
    }


def cells():
    """(column, row, lit) of each of the 64 cells."""
    for row, line in enumerate(GLYPH):
        for column, mark in enumerate(line):
            yield column, row, mark == "#"


# ---- Shapes as coverage tests, shared by the rasteriser; the SVG says the same in its own words.


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if x < left or x >= right or y < top or y >= bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def shapes(size):
    """The picture as a list of (test, colour), painted in order; a later shape covers an earlier."""
    g = layout(size)
    m, r, rim = g["margin"], g["radius"], g["rim"]
    out = [
        (lambda x, y: in_rounded_rect(x, y, m, m, size - m, size - m, r), EDGE),
        (
            lambda x, y: in_rounded_rect(
                x, y, m + rim, m + rim, size - m - rim, size - m - rim, r - rim
            ),
            TILE,
        ),
    ]
    for column, row, lit in cells():
        left = g["origin"] + column * g["pitch"]
        top = g["origin"] + row * g["pitch"]
        side = g["cell"]
        if lit:
            out.append(
                (
                    lambda x, y, l=left, t=top: in_rounded_rect(
                        x, y, l, t, l + side, t + side, g["cell_radius"]
                    ),
                    LIT,
                )
            )
        else:
            cx, cy, d = left + side / 2, top + side / 2, g["dot"]
            out.append(
                (lambda x, y, cx=cx, cy=cy: (x - cx) ** 2 + (y - cy) ** 2 <= d * d, DOT)
            )
    return out


def bounds(index, size):
    """Pixel columns x0..x1 and rows y0..y1 (ends excluded) that shape `index` can touch, so that a
    pixel is tested only against the shapes near it."""
    g = layout(size)
    if index < 2:
        return 0, size, 0, size
    column, row, _ = list(cells())[index - 2]
    left = g["origin"] + column * g["pitch"]
    top = g["origin"] + row * g["pitch"]
    return left, left + g["cell"] + 1, top, top + g["cell"] + 1


def rasterise(size):
    """RGBA rows of the picture at `size` pixels. A pixel is the average of SAMPLES x SAMPLES
    sub-samples, each taking the colour of the last shape that covers it; colours are averaged over
    the covered sub-samples only and alpha is the covered share, so edges fade into transparency
    without darkening."""
    n = SAMPLES * SAMPLES
    listed = shapes(size)
    near = [[[] for _ in range(size)] for _ in range(size)]
    for index in range(len(listed)):
        x0, x1, y0, y1 = bounds(index, size)
        for py in range(max(0, y0), min(size, y1)):
            for px in range(max(0, x0), min(size, x1)):
                near[py][px].append(listed[index])
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            candidates = near[py][px][::-1]  # topmost first
            # Most pixels lie wholly inside the tile with nothing on them; the tile is convex, so
            # its four corners inside means every sub-sample is. Same result, far fewer tests.
            tile = listed[1][0]
            if len(candidates) == 2 and all(
                tile(px + dx, py + dy) for dx in (0, 0.999) for dy in (0, 0.999)
            ):
                row += bytes(TILE) + b"\xff"
                continue
            r = g = b = covered = 0
            for sy in range(SAMPLES):
                y = py + (sy + 0.5) / SAMPLES
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    for test, colour in candidates:
                        if test(x, y):
                            r += colour[0]
                            g += colour[1]
                            b += colour[2]
                            covered += 1
                            break
            if covered == 0:
                row += bytes(4)
                continue
            half = covered // 2
            row += bytes(
                (
                    (r + half) // covered,
                    (g + half) // covered,
                    (b + half) // covered,
                    (255 * covered + n // 2) // n,
                )
            )
        rows.append(bytes(row))
    return rows


def png_bytes(rows, size):
    """A PNG file of 8-bit RGBA rows; no time stamp or other chunk that would change between runs."""

    def chunk(kind, data):
        return (
            struct.pack(">I", len(data))
            + kind
            + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
        )

    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on every row
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def hex_colour(colour):
    return "#%02x%02x%02x" % colour


def svg_text():
    size = SVG_SIZE
    g = layout(size)
    m, r, rim = g["margin"], g["radius"], g["rim"]
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        "<!-- The fontarel icon: an 8 x 8 glyph on a dotted grid. Made by tools/make-icons.py;"
        " edit that, not this. -->",
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}"'
        f' viewBox="0 0 {size} {size}">',
        f'  <rect x="{m}" y="{m}" width="{size - 2 * m}" height="{size - 2 * m}"'
        f' rx="{r:g}" fill="{hex_colour(EDGE)}"/>',
        f'  <rect x="{m + rim:g}" y="{m + rim:g}" width="{size - 2 * m - 2 * rim:g}"'
        f' height="{size - 2 * m - 2 * rim:g}" rx="{r - rim:g}" fill="{hex_colour(TILE)}"/>',
        f'  <g fill="{hex_colour(DOT)}">',
    ]
    lit = []
    for column, row, is_lit in cells():
        left = g["origin"] + column * g["pitch"]
        top = g["origin"] + row * g["pitch"]
        side = g["cell"]
        if is_lit:
            lit.append(
                f'    <rect x="{left}" y="{top}" width="{side}" height="{side}"'
                f' rx="{g["cell_radius"]:g}"/>'
            )
        else:
            lines.append(
                f'    <circle cx="{left + side / 2:g}" cy="{top + side / 2:g}" r="{g["dot"]:g}"/>'
            )
    lines.append("  </g>")
    lines.append(f'  <g fill="{hex_colour(LIT)}">')
    lines += lit
    lines.append("  </g>")
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def png_pixels(data):
    """The IHDR fields and the uncompressed rows of a PNG file, for comparing pictures."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    pos, header, idat = 8, None, b""
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos : pos + 8])
        body = data[pos + 8 : pos + 8 + length]
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    try:
        return header, zlib.decompress(idat)
    except zlib.error:
        return None


def outputs():
    """(path relative to the output folder, bytes) of every file the script writes."""
    yield "fontarel.svg", svg_text().encode("utf-8")
    for size in (48, 256):
        yield f"{size}x{size}/fontarel.png", png_bytes(rasterise(size), size)


def main():
    args = sys.argv[1:]
    check = args[:1] == ["--check"]
    if check:
        args = args[1:]
    if len(args) != 1:
        sys.exit("usage: make-icons.py [--check] DIR")
    out = args[0]
    differing = []
    for name, data in outputs():
        path = os.path.join(out, name)
        if check:
            try:
                with open(path, "rb") as f:
                    kept = f.read()
            except OSError:
                kept = b""
            same = png_pixels(kept) == png_pixels(data) if name.endswith(".png") else kept == data
            if not same:
                differing.append(path)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    for path in differing:
        print(f"{path} is not what tools/make-icons.py draws; run it again", file=sys.stderr)
    sys.exit(1 if differing else 0)


if __name__ == "__main__":
    main()
