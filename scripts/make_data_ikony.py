"""The pictures of the Icons page: the shortcut icon without and with its arrow, the glyphs of
the five desktop icons, the colour-depth and the bitmap-preview pictures.

All are 24-bit BMPs drawn here; pure green is drawn transparent by the program.
"""
import math
import os

from make_data import GREEN, mix, write_bmp

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
NAVY = (0, 0, 128)
TEAL = (0, 128, 128)
YELLOW = (255, 255, 0)


def inside(x, y, left, top, right, bottom):
    return left <= x <= right and top <= y <= bottom


def edge(x, y, left, top, right, bottom):
    return inside(x, y, left, top, right, bottom) and x in (left, right) or \
        inside(x, y, left, top, right, bottom) and y in (top, bottom)


def document(x, y):
    """A page with a folded corner and a few lines of text, or None outside it."""
    if not inside(x, y, 7, 2, 25, 29):
        return None
    fold = x - 19 > y - 2
    if fold:
        return None
    if x - 19 == y - 2 or edge(x, y, 7, 2, 25, 29) or (x == 19 and y <= 8) or (y == 8 and x >= 19):
        return BLACK
    if y in (12, 15, 18, 21, 24) and 10 <= x <= 22:
        return NAVY
    return WHITE


def arrow(x, y):
    """The shortcut arrow in a white box in the lower left corner, or None outside it."""
    if not inside(x, y, 0, 20, 11, 31):
        return None
    if edge(x, y, 0, 20, 11, 31):
        return BLACK
    shaft = 3 <= x <= 8 and (x - 3) - (28 - y) in (0, 1)
    head = (y == 23 and 5 <= x <= 8) or (x == 8 and 23 <= y <= 26)
    return BLACK if shaft or head else WHITE


def shortcut(with_arrow):
    def pixel(x, y):
        if with_arrow:
            shown = arrow(x, y)
            if shown is not None:
                return shown
        shown = document(x, y)
        return GREEN if shown is None else shown

    return pixel


def computer(x, y):
    if edge(x, y, 4, 2, 27, 20):
        return BLACK
    if inside(x, y, 7, 5, 24, 17):
        return mix(TEAL, (0, 170, 170), (y - 5) / 12)
    if inside(x, y, 5, 3, 26, 19):
        return SILVER
    if inside(x, y, 12, 21, 19, 23):
        return GREY
    if edge(x, y, 2, 24, 29, 29):
        return BLACK
    if inside(x, y, 3, 25, 28, 28):
        return SILVER if (x, y) != (24, 26) else (0, 200, 0)
    return GREEN


def folder(x, y, face=YELLOW):
    if edge(x, y, 3, 6, 13, 9) and y < 9:
        return BLACK
    if inside(x, y, 4, 7, 12, 8):
        return face
    if edge(x, y, 2, 9, 29, 27):
        return BLACK
    if inside(x, y, 3, 10, 28, 26):
        return mix(face, (180, 150, 0), (y - 10) / 16)
    return GREEN


def documents(x, y):
    paper = document(x + 2, y + 4) if y < 16 else None
    if paper is not None and y < 14:
        return paper
    return folder(x, y)


def globe(x, y):
    cx, cy, r = 15.5, 15.5, 13
    d = math.hypot(x - cx, y - cy)
    if d > r + 0.5:
        return GREEN
    if d > r - 0.7:
        return NAVY
    land = math.sin(x * 0.55) + math.cos(y * 0.45 + x * 0.2) > 0.6
    if land:
        return (0, 150, 60)
    return mix((60, 120, 230), (170, 210, 255), max(0.0, 1 - d / r))


def bin_(x, y):
    if edge(x, y, 8, 3, 23, 6):
        return BLACK
    if inside(x, y, 9, 4, 22, 5):
        return SILVER
    left = 7 + (y - 7) // 8
    right = 24 - (y - 7) // 8
    if y < 7 or y > 29 or x < left or x > right:
        return GREEN
    if x in (left, right) or y in (7, 29):
        return BLACK
    if (x - left) % 4 == 2:
        return GREY
    return mix(SILVER, WHITE, (x - left) / max(1, right - left))


def network(x, y):
    def small_computer(ox, oy):
        if edge(x, y, ox, oy, ox + 11, oy + 8):
            return BLACK
        if inside(x, y, ox + 2, oy + 2, ox + 9, oy + 6):
            return TEAL
        if inside(x, y, ox + 1, oy + 1, ox + 10, oy + 7):
            return SILVER
        if inside(x, y, ox + 3, oy + 9, ox + 8, oy + 10):
            return GREY
        return None

    for ox, oy in ((10, 1), (1, 19), (19, 19)):
        shown = small_computer(ox, oy)
        if shown is not None:
            return shown
    if (x == 15 and 12 <= y <= 16) or (y == 16 and 6 <= x <= 25) or \
            (x in (6, 25) and 16 <= y <= 18):
        return BLACK
    return GREEN


def colour_depth(x, y):
    """A spectrum, coarse on the left half (few colours), smooth on the right half."""
    t = x / 63
    if x < 32:
        t = round(x / 31 * 5) / 5 * 0.5
    hue = t * 5.5
    r = max(0.0, min(1.0, abs(hue - 3) - 1))
    g = max(0.0, min(1.0, 2 - abs(hue - 2)))
    b = max(0.0, min(1.0, 2 - abs(hue - 4)))
    light = 1 - y / 40
    colour = tuple(int(255 * (c * light + (1 - light) * 0.15)) for c in (r, g, b))
    if x == 32:
        return BLACK
    return colour


def preview(x, y):
    """A bitmap file's icon showing its own picture: a landscape on a page."""
    if not inside(x, y, 3, 3, 28, 28):
        return GREEN
    if edge(x, y, 3, 3, 28, 28):
        return BLACK
    if math.hypot(x - 21, y - 9) < 3.2:
        return YELLOW
    hill = 20 + 4 * math.sin(x / 4)
    if y > hill:
        return mix((40, 160, 40), (0, 90, 0), min(1.0, (y - hill) / 8))
    return mix((120, 180, 255), (220, 235, 255), min(1.0, (y - 4) / 20))


def main(root):
    bmp = os.path.join(root, "data", "gfx", "bmp")
    write_bmp(os.path.join(bmp, "Sob1.bmp"), 32, 32, shortcut(False))
    write_bmp(os.path.join(bmp, "Sob2.bmp"), 32, 32, shortcut(True))
    ikony = os.path.join(bmp, "ikony")
    write_bmp(os.path.join(ikony, "MojKomputer.bmp"), 32, 32, computer)
    write_bmp(os.path.join(ikony, "MojeDokumenty.bmp"), 32, 32, documents)
    write_bmp(os.path.join(ikony, "InternetExplorer.bmp"), 32, 32, globe)
    write_bmp(os.path.join(ikony, "Kosz.bmp"), 32, 32, bin_)
    write_bmp(os.path.join(ikony, "OtoczenieSieciowe.bmp"), 32, 32, network)
    write_bmp(os.path.join(ikony, "Glebia.bmp"), 64, 32, colour_depth)
    write_bmp(os.path.join(ikony, "Podglad.bmp"), 32, 32, preview)
