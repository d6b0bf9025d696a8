"""Draws Tolmar's menu icon into desktop/icons/: a blue tile holding two check boxes, one ticked,
each with a line of text beside it, at the sizes of the hicolor theme that menus use."""
import os
import struct
import zlib

ICONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop", "icons")
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SAMPLES = 4  # per pixel side, for smooth edges

TILE_TOP = (96, 140, 220)
TILE_BOTTOM = (36, 66, 140)
TILE_EDGE = (24, 44, 100)
BOX_EDGE = (30, 50, 90)
TICK = (20, 130, 40)
TEXT = (236, 241, 250)


def write_png(path, size, rgba):
    rows = b"".join(b"\0" + bytes(rgba[y * size * 4:(y + 1) * size * 4]) for y in range(size))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def inside_rounded(u, v, left, top, right, bottom, radius):
    cx = min(max(u, left + radius), right - radius)
    cy = min(max(v, top + radius), bottom - radius)
    return (u - cx) ** 2 + (v - cy) ** 2 <= radius ** 2 and left <= u <= right and top <= v <= bottom


def near_segment(u, v, a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
    return (u - ax - t * dx) ** 2 + (v - ay - t * dy) ** 2 <= width ** 2


def colour(u, v):
    """The icon at a point of the unit square, or None outside it."""
    if not inside_rounded(u, v, 0.04, 0.04, 0.96, 0.96, 0.18):
        return None
    if not inside_rounded(u, v, 0.08, 0.08, 0.92, 0.92, 0.15):
        return TILE_EDGE
    for top, ticked in ((0.20, True), (0.56, False)):
        box = (0.16, top, 0.42, top + 0.26)
        if inside_rounded(u, v, *box, 0.03):
            if not inside_rounded(u, v, box[0] + 0.03, box[1] + 0.03, box[2] - 0.03, box[3] - 0.03,
                                  0.01):
                return BOX_EDGE
            if ticked and (near_segment(u, v, (0.21, top + 0.13), (0.28, top + 0.20), 0.035)
                           or near_segment(u, v, (0.28, top + 0.20), (0.39, top + 0.05), 0.035)):
                return TICK
            return (255, 255, 255)
        if inside_rounded(u, v, 0.50, top + 0.09, 0.84, top + 0.17, 0.04):
            return TEXT
    t = v
    return tuple(int(TILE_TOP[i] + (TILE_BOTTOM[i] - TILE_TOP[i]) * t) for i in range(3))


def draw(size):
    rgba = bytearray()
    for y in range(size):
        for x in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour((x + (sx + 0.5) / SAMPLES) / size, (y + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        total[0] += c[0]
                        total[1] += c[1]
                        total[2] += c[2]
                        total[3] += 1
            covered = total[3]
            if covered:
                rgba += bytes((total[0] // covered, total[1] // covered, total[2] // covered,
                               covered * 255 // (SAMPLES * SAMPLES)))
            else:
                rgba += bytes(4)
    return rgba


def main(program_root):
    for size in SIZES:
        write_png(os.path.join(ICONS, f"{size}x{size}", "tolmar.png"), size, draw(size))
    # The same picture is the window's icon, found beside the program like its other pictures.
    write_png(os.path.join(program_root, "data", "gfx", "Tolmar.png"), 32, draw(32))


if __name__ == "__main__":
    main(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "program"))
