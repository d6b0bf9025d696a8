"""The picture strip along the left edge of the animated wallpaper wizard.

A 148 x 289 band: a night-blue gradient, a film strip running down its left side and a
monitor whose screen shows a wave, the movie becoming the desktop.
"""
import math
import os

WIDTH, HEIGHT = 148, 289
TOP = (0, 0, 96)
BOTTOM = (0, 120, 168)
FILM = (24, 24, 24)
HOLE = (220, 220, 220)
CASE = (192, 192, 192)
CASE_LIGHT = (255, 255, 255)
CASE_SHADOW = (96, 96, 96)
SCREEN = (0, 128, 128)
WAVE = (255, 224, 64)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def pixel(x, y):
    # the film strip with its sprocket holes
    if 8 <= x < 30:
        if (x < 13 or x >= 25) and y % 14 in range(4, 10):
            return HOLE
        if 15 <= x < 23 and y % 42 in (0, 1):
            return HOLE
        return FILM
    # the monitor: case, screen and stand
    if 44 <= x < 136 and 96 <= y < 170:
        if x in (44, 45) or y in (96, 97):
            return CASE_LIGHT
        if x in (134, 135) or y in (168, 169):
            return CASE_SHADOW
        if 52 <= x < 128 and 104 <= y < 160:
            wave = 132 + 14 * math.sin((x - 52) / 76 * 2 * math.pi)
            if abs(y - wave) < 2.2:
                return WAVE
            return mix(SCREEN, (0, 64, 96), (y - 104) / 56)
        return CASE
    if 80 <= x < 100 and 170 <= y < 180:
        return CASE_SHADOW
    if 64 <= x < 116 and 180 <= y < 186:
        return CASE
    return mix(TOP, BOTTOM, y / (HEIGHT - 1))


def main(root, write_bmp):
    path = os.path.join(root, "data", "gfx", "bmp", "Kreator.bmp")
    write_bmp(path, WIDTH, HEIGHT, pixel)
