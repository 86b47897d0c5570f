#!/usr/bin/env python3
"""Writes the three glossy button pictures (src/controls/button/styles/GlossyPictures.cpp).

Each picture is a centre colour, 35 side columns, 23 end rows and four corner patches. The edge
colours are fixed; the corner colours are made here. Each corner is a quarter ellipse: a pixel's
colour follows the side profile where the arc runs vertically and the end profile where it runs
horizontally, blended by the angle, with both profiles stretched so that their outer edge and
their outline meet on the same arcs. Every pixel is the mean of 8 x 8 samples, so the outline is
anti-aliased against white. Only the pixels of the fixed outline runs are kept, the row 0
values given for the rest and hot pictures replace the computed ones, and the rest picture's
right patches keep the centre colour where they overlap the centre fill.

    scripts/make-glossy-corners.py            write the source file
    scripts/make-glossy-corners.py --png DIR  also write a preview of each picture at 140 x 41
"""
import argparse
import math
import pathlib
import shutil
import struct
import subprocess
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "src" / "controls" / "button" / "styles" / "GlossyPictures.cpp"

PICTURES = {
    "Rest": {
        "centre": (232, 231, 234),
        # x = 0 .. 17, then x = W - 17 .. W - 1.
        "left": [(247, 247, 247), (160, 160, 160), (153, 153, 153), (195, 195, 195),
                 (201, 201, 201), (213, 213, 213), (215, 215, 215), (223, 223, 223),
                 (224, 224, 224), (224, 224, 224), (228, 228, 228), (230, 232, 230),
                 (231, 231, 232), (232, 231, 234), (232, 231, 234), (232, 231, 234),
                 (232, 231, 234), (232, 231, 234)],
        "right": [(232, 231, 234), (232, 231, 234), (232, 231, 234), (232, 231, 234),
                  (231, 231, 231), (230, 230, 230), (228, 228, 228), (224, 224, 224),
                  (224, 224, 224), (222, 222, 222), (217, 217, 217), (211, 211, 211),
                  (204, 204, 204), (195, 195, 195), (163, 163, 163), (156, 156, 156),
                  (246, 246, 246)],
        # y = 0 .. 11, then y = H - 11 .. H - 1.
        "top": [(106, 105, 103), (246, 244, 245), (244, 242, 243), (238, 238, 238),
                (235, 235, 235), (234, 232, 235), (234, 232, 235), (234, 234, 234),
                (225, 225, 225), (227, 226, 229), (232, 231, 234), (233, 235, 232)],
        "bottom": [(233, 235, 232), (239, 241, 238), (242, 242, 242), (245, 245, 245),
                   (254, 254, 255), (255, 255, 255), (253, 253, 253), (254, 254, 254),
                   (251, 251, 251), (84, 84, 84), (197, 197, 197)],
        "row0": [(254, 254, 254), (230, 230, 230), (172, 172, 172), (122, 122, 122),
                 (108, 108, 108), (107, 107, 107), (111, 111, 111), (111, 111, 113),
                 (112, 112, 114), (102, 104, 103), (107, 109, 108), (106, 105, 103)],
        "extraTop": 2,
        "extraBottom": 0,
        "keepCentre": True,
    },
    "Hot": {
        "centre": (106, 166, 226),
        "left": [(247, 247, 247), (158, 160, 176), (19, 46, 113), (20, 95, 189),
                 (39, 115, 209), (49, 127, 212), (61, 140, 217), (75, 148, 217),
                 (79, 148, 215), (85, 156, 220), (87, 155, 220), (98, 163, 227),
                 (101, 162, 227), (103, 163, 226), (101, 161, 224), (106, 166, 227),
                 (106, 166, 227), (106, 166, 226)],
        "right": [(106, 166, 226), (106, 166, 226), (100, 164, 225), (99, 163, 224),
                  (99, 163, 224), (97, 161, 225), (91, 159, 224), (85, 152, 222),
                  (82, 151, 220), (75, 147, 219), (57, 141, 214), (45, 127, 209),
                  (38, 116, 214), (19, 93, 192), (20, 53, 124), (152, 155, 171),
                  (246, 246, 246)],
        "top": [(8, 6, 69), (201, 212, 241), (189, 200, 229), (161, 192, 232),
                (152, 184, 224), (142, 180, 227), (139, 177, 224), (127, 180, 233),
                (99, 153, 206), (100, 160, 221), (106, 166, 226), (118, 172, 230)],
        "bottom": [(118, 172, 230), (129, 182, 241), (138, 189, 243), (146, 197, 252),
                   (151, 206, 248), (158, 213, 254), (163, 221, 247), (173, 230, 255),
                   (197, 226, 233), (64, 93, 99), (197, 197, 197)],
        "row0": [(254, 254, 254), (229, 229, 230), (165, 165, 169), (94, 94, 108),
                 (41, 39, 72), (12, 13, 55), (6, 7, 55), (5, 6, 54), (6, 6, 58), (7, 8, 65),
                 (7, 7, 69), (8, 6, 69)],
        "extraTop": 0,
        "extraBottom": 2,
        "keepCentre": False,
    },
    "Pressed": {
        "centre": (106, 155, 204),
        "left": [(247, 247, 247), (155, 157, 169), (23, 45, 99), (29, 90, 166),
                 (46, 108, 185), (56, 119, 188), (66, 130, 193), (78, 137, 194),
                 (82, 138, 193), (87, 145, 197), (89, 145, 197), (99, 152, 204),
                 (101, 150, 204), (103, 151, 203), (101, 149, 201), (106, 154, 204),
                 (106, 154, 204), (106, 155, 204)],
        "right": [(106, 155, 204), (106, 155, 204), (100, 152, 202), (99, 151, 201),
                  (99, 151, 201), (98, 149, 202), (93, 148, 201), (87, 142, 198),
                  (85, 140, 196), (78, 136, 195), (62, 130, 190), (52, 118, 185),
                  (45, 109, 189), (28, 88, 168), (25, 51, 109), (148, 151, 164),
                  (246, 246, 246)],
        "top": [(10, 9, 60), (190, 199, 222), (178, 188, 211), (154, 179, 212),
                (146, 172, 204), (138, 168, 207), (135, 165, 204), (125, 167, 210),
                (98, 142, 185), (100, 148, 198), (106, 155, 204), (117, 161, 208)],
        "bottom": [(117, 161, 208), (127, 170, 218), (135, 176, 220), (142, 184, 228),
                   (147, 191, 225), (153, 198, 231), (157, 204, 226), (166, 213, 233),
                   (186, 210, 215), (62, 86, 90), (197, 197, 197)],
        "row0": None,
        "extraTop": 0,
        "extraBottom": 2,
        "keepCentre": False,
    },
}

# First painted column (counted in from the side) of each corner row (counted in from the end).
RUNS = {
    "topLeft": [6, 5, 3, 3, 2, 1, 1, 1, 0, 0, 0],
    "topRight": [7, 5, 4, 3, 2, 1, 1, 1, 0, 0, 0],
    "bottomLeft": [5, 3, 2, 2, 1, 1, 0, 0, 0, 0],
    "bottomRight": [5, 4, 3, 2, 1, 1, 1, 0, 0, 0],
}
PATCH_WIDTH = {"topLeft": 18, "topRight": 17, "bottomLeft": 18, "bottomRight": 17}

# The ellipse of each corner: centre (columns in, rows in) of the outline's arc, fitted to the
# given row 0 and to the runs above.
ARC_CENTRE = {
    "topLeft": (12.75, 12.25),
    "topRight": (13.25, 12.25),
    "bottomLeft": (11.0, 11.0),
    "bottomRight": (11.0, 11.0),
}
# Where the outline lies across each profile, in pixels from the outer edge.
SIDE_OUTLINE = 2.3
TOP_OUTLINE = 0.5
BOTTOM_OUTLINE = 1.5
EXTERIOR = (255, 255, 255)
SAMPLES = 8


def profiles(picture, corner):
    """Side and end profile of a corner, each indexed from the outer edge inwards."""
    side = picture["left"] if corner.endswith("Left") else list(reversed(picture["right"]))
    if corner.startswith("top"):
        return side, picture["top"], TOP_OUTLINE
    return side, list(reversed(picture["bottom"])), BOTTOM_OUTLINE


def lookup(profile, position):
    if position < 0:
        return EXTERIOR
    return profile[min(int(position), len(profile) - 1)]


def warp(rho, outer_rho, centre, radius, outline):
    """Position across a profile for the normalised radius rho: linear from the arc's centre
    to the outline (rho 1), then linear again from the outline to the outer edge."""
    if rho <= 1.0:
        return centre - rho * radius
    return outline * (outer_rho - rho) / (outer_rho - 1.0)


def sample(side, end, end_outline, cu, cv, u, v):
    ru = cu - SIDE_OUTLINE
    rv = cv - end_outline
    if u >= cu and v >= cv:
        return lookup(side, u) if u < v else lookup(end, v)
    if u >= cu:
        return lookup(end, v)
    if v >= cv:
        return lookup(side, u)
    du = (cu - u) / ru
    dv = (cv - v) / rv
    rho = math.hypot(du, dv)
    weight = math.atan2(dv, du) / (math.pi / 2)
    outer_side = cu / ru
    outer_end = cv / rv
    outer = outer_side + (outer_end - outer_side) * weight
    if rho >= outer:
        return EXTERIOR
    s = lookup(side, warp(rho, outer, cu, ru, SIDE_OUTLINE))
    e = lookup(end, warp(rho, outer, cv, rv, end_outline))
    return tuple(a + (b - a) * weight for a, b in zip(s, e))


def covers_centre(corner, dx, dy):
    """Whether a patch pixel lies on the centre fill (x = W - 17, y >= 11 or y <= H - 9). The
    rest picture keeps the centre colour there; the blue pictures continue their end rows, where
    the darker centre would show as a notch."""
    if corner.endswith("Left") or dx != PATCH_WIDTH[corner] - 1:
        return False
    return dy >= 11 if corner.startswith("top") else dy >= 8


def corner_pixels(picture, corner):
    side, end, end_outline = profiles(picture, corner)
    cu, cv = ARC_CENTRE[corner]
    runs = list(RUNS[corner])
    extra = picture["extraTop"] if corner.startswith("top") else picture["extraBottom"]
    runs += [0] * extra
    pixels = []
    for dy, first in enumerate(runs):
        for dx in range(first, PATCH_WIDTH[corner]):
            total = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = sample(side, end, end_outline, cu, cv, dx + (sx + 0.5) / SAMPLES,
                               dy + (sy + 0.5) / SAMPLES)
                    for i in range(3):
                        total[i] += c[i]
            colour = tuple(int(round(t / SAMPLES ** 2)) for t in total)
            if picture["keepCentre"] and covers_centre(corner, dx, dy):
                colour = picture["centre"]
            pixels.append((dx, dy, colour))
    if corner == "topLeft" and picture["row0"]:
        given = dict(zip(range(6, 18), picture["row0"]))
        pixels = [(dx, dy, given[dx] if dy == 0 else c) for dx, dy, c in pixels]
    return pixels


def rgb(c):
    return "makeRgb({}, {}, {})".format(*c)


def rgb_list(colours, indent):
    lines, line = [], indent
    for i, c in enumerate(colours):
        item = rgb(c) + (", " if i + 1 < len(colours) else "")
        if len(line) + len(item.rstrip()) > 100:
            lines.append(line.rstrip())
            line = indent
        line += item
    lines.append(line.rstrip())
    return "\n".join(lines)


def pixel_list(pixels, indent):
    lines, line = [], indent
    for dx, dy, c in pixels:
        item = "{{{}, {}, {}, {}, {}}}, ".format(dx, dy, *c)
        if len(line) + len(item.rstrip()) > 100:
            lines.append(line.rstrip())
            line = indent
        line += item
    lines.append(line.rstrip())
    return "\n".join(lines)


CORNERS = ["topLeft", "topRight", "bottomLeft", "bottomRight"]


def source():
    out = ["// Written by scripts/make-glossy-corners.py; edit the script, not this file.",
           "",
           '#include "controls/button/styles/GlossyPictures.h"',
           "",
           "namespace clipnab {",
           "",
           "namespace {",
           ""]
    for name, picture in PICTURES.items():
        for corner in CORNERS:
            pixels = corner_pixels(picture, corner)
            out.append("constexpr GlossyCornerPixel k{}{}{}[] = {{".format(
                name, corner[0].upper(), corner[1:]))
            out.append(pixel_list(pixels, "    "))
            out.append("};")
            out.append("")
    for name, picture in PICTURES.items():
        out.append("constexpr GlossyPicture k{}{{".format(name))
        out.append("    {},".format(rgb(picture["centre"])))
        for key in ("left", "right", "top", "bottom"):
            out.append("    {{")
            out.append(rgb_list(picture[key], "        "))
            out.append("    }},")
        corners = ", ".join("k{}{}{}".format(name, c[0].upper(), c[1:]) for c in CORNERS)
        out.append("    {{" + corners + "}},")
        out.append("};")
        out.append("")
    out += ["} // namespace",
            "",
            "const GlossyPicture &glossyPicture(GlossyPictureKind kind)",
            "{",
            "    switch (kind) {",
            "    case GlossyPictureKind::Hot:",
            "        return kHot;",
            "    case GlossyPictureKind::Pressed:",
            "        return kPressed;",
            "    default:",
            "        return kRest;",
            "    }",
            "}",
            "",
            "} // namespace clipnab",
            ""]
    return "\n".join(out)


def preview(picture, w, h):
    """The picture drawn the way the button paints it, on a white surface."""
    img = [[(255, 255, 255)] * w for _ in range(h)]
    for y in range(11, h - 8):
        for x in range(18, w - 16):
            img[y][x] = picture["centre"]
    for corner in CORNERS:
        for dx, dy, c in corner_pixels(picture, corner):
            x = dx if corner.endswith("Left") else w - 1 - dx
            y = dy if corner.startswith("top") else h - 1 - dy
            if 0 <= x < w and 0 <= y < h:
                img[y][x] = c
    columns = list(range(0, 18)) + list(range(w - 17, w))
    for x, c in zip(columns, picture["left"] + picture["right"]):
        for y in range(11, h - 10):
            img[y][x] = c
    rows = list(range(0, 12)) + list(range(h - 11, h))
    for y, c in zip(rows, picture["top"] + picture["bottom"]):
        for x in range(17, w - 17):
            img[y][x] = c
    return img


def write_png(path, img, scale):
    h, w = len(img), len(img[0])
    raw = b""
    for row in img:
        line = b"".join(bytes(c) * scale for c in row)
        raw += (b"\0" + line) * scale

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", w * scale, h * scale, 8, 2, 0, 0, 0)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                     chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--png", type=pathlib.Path)
    args = parser.parse_args()
    OUT.write_text(source())
    # The project's formatting, so that a rerun reproduces the file as committed.
    if shutil.which("clang-format"):
        subprocess.run(["clang-format", "-i", str(OUT)], check=True)
    print("wrote", OUT.relative_to(ROOT))
    if args.png:
        args.png.mkdir(parents=True, exist_ok=True)
        for name, picture in PICTURES.items():
            path = args.png / "glossy-{}.png".format(name.lower())
            write_png(path, preview(picture, 140, 41), 6)
            print("wrote", path)


if __name__ == "__main__":
    main()
