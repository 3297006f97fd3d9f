#!/usr/bin/env python3
"""Prints the window pixel (from the top-left corner) of a square's centre as the game's
resting camera shows it: squares.py <square> [white|black] [width height]."""
import math
import sys


def look_at(eye, centre, up):
    f = [c - e for c, e in zip(centre, eye)]
    n = math.sqrt(sum(v * v for v in f))
    f = [v / n for v in f]
    s = [f[1] * up[2] - f[2] * up[1], f[2] * up[0] - f[0] * up[2], f[0] * up[1] - f[1] * up[0]]
    n = math.sqrt(sum(v * v for v in s))
    s = [v / n for v in s]
    u = [s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]]
    return s, u, f


def project(point, eye, width, height):
    s, u, f = look_at(eye, (4, 0, -4), (0, 1, 0))
    d = [p - e for p, e in zip(point, eye)]
    x, y, z = (sum(a * b for a, b in zip(s, d)), sum(a * b for a, b in zip(u, d)),
               -sum(a * b for a, b in zip(f, d)))
    focal = 1 / math.tan(math.radians(45) / 2)
    ndc_x = focal / (width / height) * x / -z
    ndc_y = focal * y / -z
    return (ndc_x + 1) / 2 * width, height - (ndc_y + 1) / 2 * height


def main():
    square = sys.argv[1]
    view = sys.argv[2] if len(sys.argv) > 2 else "white"
    width, height = (int(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 else (1024, 768)
    file, rank = ord(square[0]) - ord("a") + 1, int(square[1])
    eye = (4, 10, -13) if view == "white" else (4, 10, 5)
    x, y = project((8.5 - file, 0, rank - 8.5), eye, width, height)
    print(int(round(x)), int(round(y)))


main()
