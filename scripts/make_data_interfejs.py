"""The Start menu picture of the User interface page.

Nine entries of a Start menu, each 201 pixels wide, stacked on the page as one menu: the
banner on the left runs through all of them, the first carries the menu's top edge and the
last its bottom edge. The Programs entry comes twice: with its submenu arrow (soft.bmp) and
without it (bpp.bmp), shown when the Start menu's subfolders are hidden.
"""
import os

WIDTH = 201
FACE = (192, 192, 192)
LIGHT = (255, 255, 255)
SHADOW = (128, 128, 128)
DARK = (0, 0, 0)
BANNER_TOP = (0, 0, 0)
BANNER_BOTTOM = (0, 0, 168)
FOLDER = (240, 200, 80)
FOLDER_EDGE = (128, 96, 0)

# A small pixel font: each glyph is its rows from the top of the capitals (row 0) down to the
# descenders (rows 7 and 8); lower-case letters start at row 2.
GLYPHS = {
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "W": ["#.....#", "#.....#", "#..#..#", "#..#..#", "#..#..#", "#.#.#.#", ".#...#."],
    "a": ["....", "....", ".##.", "...#", ".###", "#..#", ".###"],
    "b": ["#...", "#...", "###.", "#..#", "#..#", "#..#", "###."],
    "c": ["...", "...", ".##", "#..", "#..", "#..", ".##"],
    "d": ["...#", "...#", ".###", "#..#", "#..#", "#..#", ".###"],
    "e": ["....", "....", ".##.", "#..#", "####", "#...", ".##."],
    "g": ["....", "....", ".###", "#..#", "#..#", "#..#", ".###", "...#", ".##."],
    "h": ["#...", "#...", "###.", "#..#", "#..#", "#..#", "#..#"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "j": [".#", "..", ".#", ".#", ".#", ".#", ".#", ".#", "#."],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    "l": ["#", "#", "#", "#", "#", "#", "#"],
    "m": [".....", ".....", "####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "n": ["....", "....", "###.", "#..#", "#..#", "#..#", "#..#"],
    "o": ["....", "....", ".##.", "#..#", "#..#", "#..#", ".##."],
    "r": ["...", "...", "#.#", "##.", "#..", "#..", "#.."],
    "s": ["....", "....", ".###", "#...", ".##.", "...#", "###."],
    "t": ["...", ".#.", "###", ".#.", ".#.", ".#.", "..#"],
    "u": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###"],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    "y": ["....", "....", "#..#", "#..#", "#..#", "#..#", ".###", "...#", ".##."],
    "z": ["....", "....", "####", "...#", ".##.", "#...", "####"],
    "ź": ["..#.", ".#..", "####", "...#", ".##.", "#...", "####"],
    ".": [".", ".", ".", ".", ".", ".", "#"],
    " ": ["..", "..", "..", "..", "..", "..", ".."],
}


def text_pixels(text, left, top):
    """The set of (x, y) a text covers, one blank column between letters."""
    pixels = set()
    x = left
    for ch in text:
        glyph = GLYPHS[ch]
        for row, line in enumerate(glyph):
            for col, mark in enumerate(line):
                if mark == "#":
                    pixels.add((x + col, top + row))
        x += len(glyph[0]) + 1
    return pixels


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


# Icons, 24 x 24, as functions of (x, y) inside their square; None lets the face show.
def folder(x, y, inner=None):
    if 3 <= y <= 5 and 1 <= x <= 10:
        return FOLDER_EDGE if y == 3 or x in (1, 10) else FOLDER
    if 6 <= y <= 21 and 1 <= x <= 22:
        if y in (6, 21) or x in (1, 22):
            return FOLDER_EDGE
        if inner:
            mark = inner(x, y)
            if mark:
                return mark
        return FOLDER
    return None


def programs_icon(x, y):
    def window(px, py):
        if 6 <= px <= 17 and 9 <= py <= 18:
            if py <= 10:
                return (0, 0, 128)
            return LIGHT if 7 <= px <= 16 and py <= 17 else SHADOW
        return None
    return folder(x, y, window)


def control_panel_icon(x, y):
    def tools(px, py):
        if 5 <= px <= 10 and 10 <= py <= 16:
            return (200, 40, 40)
        if 13 <= px <= 18 and 10 <= py <= 16:
            return (40, 140, 40)
        return None
    return folder(x, y, tools)


def favourites_icon(x, y):
    def star(px, py):
        dx, dy = abs(px - 12), py - 13
        peak = -5 <= dy <= 3 and dx <= (dy + 5) // 2
        arms = dy in (-1, 0) and dx <= 6
        if peak or arms:
            return (220, 200, 0)
        return None
    return folder(x, y, star)


def documents_icon(x, y):
    if 5 <= x <= 18 and 1 <= y <= 22:
        if x in (5, 18) or y in (1, 22):
            return DARK
        if y % 3 == 0 and 7 <= x <= 16 and 4 <= y <= 19:
            return (0, 0, 128)
        return LIGHT
    return None


def settings_icon(x, y):
    if 2 <= x <= 21 and 3 <= y <= 20:
        if x in (2, 21) or y in (3, 20):
            return DARK
        for col in (7, 12, 17):
            if x == col and 6 <= y <= 17:
                return SHADOW
        if (x, y) in {(c + d, r) for c, r in ((7, 9), (12, 14), (17, 7)) for d in (-1, 0, 1)}:
            return (0, 0, 160)
        return (220, 220, 220)
    return None


def find_icon(x, y):
    if 3 <= x <= 15 and 1 <= y <= 19:
        if x in (3, 15) or y in (1, 19):
            return DARK
        paper = LIGHT
    else:
        paper = None
    cx, cy = 14, 12
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 <= 16:
        return (170, 220, 255)
    if d2 <= 30:
        return DARK
    if x - cx == y - cy and 4 <= x - cx <= 8:
        return (128, 64, 0)
    if x - cx == y - cy + 1 and 4 <= x - cx <= 8:
        return (128, 64, 0)
    return paper


def run_icon(x, y):
    if 2 <= x <= 21 and 4 <= y <= 19:
        if x in (2, 21) or y in (4, 19):
            return DARK
        if y <= 7:
            return (0, 0, 128)
        if 6 <= x <= 12 and 11 <= y <= 15 and x - 6 >= abs(y - 13) * 2:
            return DARK
        return LIGHT
    return None


def log_off_icon(x, y):
    # a key
    cx, cy = 8, 11
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 <= 4:
        return FACE
    if d2 <= 20:
        return (200, 160, 0)
    if 12 <= x <= 21 and 10 <= y <= 12:
        return (200, 160, 0)
    if x in (17, 20) and 13 <= y <= 15:
        return (200, 160, 0)
    return None


def shut_down_icon(x, y):
    # a monitor on its stand
    if 2 <= x <= 21 and 2 <= y <= 16:
        if x in (2, 21) or y in (2, 16):
            return DARK
        if 4 <= x <= 19 and 4 <= y <= 14:
            return (0, 128, 128)
        return FACE
    if 9 <= x <= 14 and 17 <= y <= 18:
        return SHADOW
    if 5 <= x <= 18 and 19 <= y <= 20:
        return DARK if y == 20 else SHADOW
    return None


# (file, label, icon, submenu arrow, height, separator above)
ENTRIES = [
    ("panel.bmp", "Panel Sterowania", control_panel_icon, True, 33, False),
    ("soft.bmp", "Programy", programs_icon, True, 33, False),
    ("ulubione.bmp", "Ulubione", favourites_icon, True, 33, False),
    ("dokumenty.bmp", "Dokumenty", documents_icon, True, 33, False),
    ("ustawienia.bmp", "Ustawienia", settings_icon, True, 33, False),
    ("znajdz.bmp", "Znajdź", find_icon, True, 33, False),
    ("uruchom.bmp", "Uruchom...", run_icon, False, 33, False),
    ("wyloguj.bmp", "Wyloguj...", log_off_icon, False, 33, True),
    ("zamknij.bmp", "Zamknij system...", shut_down_icon, False, 37, False),
]
MENU_HEIGHT = sum(entry[4] for entry in ENTRIES)


def entry(label, icon, arrow, height, top, separator, first, last):
    """pixel(x, y) of one entry whose top lies `top` pixels below the menu's top."""
    text_top = (height - 7) // 2 - 1
    letters = text_pixels(label, 62, text_top)
    icon_top = (height - 24) // 2
    arrow_mid = height // 2

    def pixel(x, y):
        # the menu's raised edge
        if x == WIDTH - 1 or (last and y == height - 1):
            return DARK
        if x == WIDTH - 2 or (last and y == height - 2):
            return SHADOW
        if x == 0 or (first and y == 0):
            return FACE
        if x == 1 or (first and y == 1):
            return LIGHT
        if x <= 22:
            return mix(BANNER_TOP, BANNER_BOTTOM, (top + y) / MENU_HEIGHT)
        if separator and y in (0, 1) and 26 <= x <= WIDTH - 6:
            return SHADOW if y == 0 else LIGHT
        if (x, y) in letters:
            return DARK
        if arrow and 186 <= x <= 189 and abs(y - arrow_mid) <= 189 - x:
            return DARK
        if 28 <= x < 52 and icon_top <= y < icon_top + 24:
            colour = icon(x - 28, y - icon_top)
            if colour:
                return colour
        return FACE

    return pixel


def main(root, write_bmp):
    menu = os.path.join(root, "data", "gfx", "bmp", "menu")
    top = 0
    for index, (name, label, icon, arrow, height, separator) in enumerate(ENTRIES):
        first, last = index == 0, index == len(ENTRIES) - 1
        write_bmp(os.path.join(menu, name), WIDTH, height,
                  entry(label, icon, arrow, height, top, separator, first, last))
        if name == "soft.bmp":
            write_bmp(os.path.join(menu, "bpp.bmp"), WIDTH, height,
                      entry(label, icon, False, height, top, separator, first, last))
        top += height
