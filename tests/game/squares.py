#!/usr/bin/env python3
"""Prints the window pixel (from the top-left corner) of a square's centre as the game's
resting camera shows it in a 1024 x 768 window: squares.py <square> [white|black]."""
import math
import sys

square, view = sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else "white"
eye = (4, 10, -13) if view == "white" else (4, 10, 5)
point = (8.5 - (ord(square[0]) - ord("a") + 1), 0, int(square[1]) - 8.5)


def unit(v):
    return [c / math.hypot(*v) for c in v]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


# The camera looks from the eye at the board's centre (4, 0, -4) with y up, 45 degrees high.
f = unit([c - e for c, e in zip((4, 0, -4), eye)])
s = unit(cross(f, (0, 1, 0)))
u = cross(s, f)
d = [p - e for p, e in zip(point, eye)]
x, y, z = (sum(a * b for a, b in zip(axis, d)) for axis in (s, u, f))
focal = 1 / math.tan(math.radians(45) / 2)
print(round((focal * 0.75 * x / z + 1) * 512), round(768 - (focal * y / z + 1) * 384))
