#!/usr/bin/python3
"""Writes the hand-made scenes of this directory and their exact pictures.

Each scene is a few constant-coloured shapes under an orthographic camera
over -1..1, so what a renderer would show is known exactly: its picture
here is sampled once at each pixel centre, without antialiasing.  The
scenes ask for 3 by 3 samples a pixel, the middle one at the centre, so
that along a straight edge the preview covers more than half of a pixel
just where the centre is covered (with 2 by 2, half of the pixels along
an edge would be covered exactly half, a tie).  Run it
from anywhere; it rewrites the files beside it.  (csg_lit.rib is not made
here: its reference is the preview's own picture.)
"""
import math
import os
import struct
import zlib

SIZE = 64
HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(path, rows):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack('>IIBBBBB', SIZE, SIZE, 8, 6, 0, 0, 0)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) +
                  chunk(b'IEND', b''))


def level(c):
    return tuple(int(math.floor(v * 255 + 0.5)) for v in c) + (255,)


def picture(colour_at):
    """colour_at(x, y) gives an RGB triple or None, at a pixel centre."""
    rows = []
    for j in range(SIZE):
        row = []
        for i in range(SIZE):
            x, y = -1 + (i + 0.5) * 2 / SIZE, 1 - (j + 0.5) * 2 / SIZE
            c = colour_at(x, y)
            row.append((0, 0, 0, 0) if c is None else level(c))
        rows.append(row)
    return rows


def scene(name, world, colour_at):
    with open(os.path.join(HERE, name + '.rib'), 'w') as out:
        out.write('# Made by make_exact.py: constant shapes whose picture is known exactly.\n')
        out.write('Format %d %d 1\nPixelSamples 3 3\nWorldBegin\nSurface "constant"\n%sWorldEnd\n' % (SIZE, SIZE, world))
    write_png(os.path.join(HERE, name + '.png'), picture(colour_at))


def rib_colour(c):
    return 'Color [%g %g %g]\n' % c


# A disk facing the eye.
ORANGE = (1, 0.6, 0.2)
scene('disk', rib_colour(ORANGE) + 'Translate 0.1 -0.05 2\nDisk 0 0.7 360\n',
      lambda x, y: ORANGE if (x - 0.1) ** 2 + (y + 0.05) ** 2 < 0.49 else None)

# Two squares, the nearer drawn first: the depth test, not the order, decides.
RED, BLUE = (1, 0.2, 0.2), (0.2, 0.4, 1)


def square(x0, y0, x1, y1, z):
    return 'Polygon "P" [%g %g %g  %g %g %g  %g %g %g  %g %g %g]\n' % (x0, y0, z, x0, y1, z, x1, y1, z, x1, y0, z)


scene('squares', rib_colour(BLUE) + square(-0.3, -0.3, 0.7, 0.7, 2) + rib_colour(RED) + square(-0.7, -0.7, 0.3, 0.3, 3),
      lambda x, y: BLUE if -0.3 < x < 0.7 and -0.3 < y < 0.7 else RED if -0.7 < x < 0.3 and -0.7 < y < 0.3 else None)

# Two overlapping spheres: A red, at the left; B blue, up to the right and
# nearer.  Along the line of sight through (x, y) each is a depth interval.
A = ((-0.2, 0.0, 2.0), 0.6, RED)
B = ((0.25, 0.1, 1.7), 0.5, BLUE)


def interval(sphere, x, y):
    (cx, cy, cz), r, _ = sphere
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 >= r * r:
        return None
    h = math.sqrt(r * r - d2)
    return cz - h, cz + h


def sphere_rib(sphere):
    (cx, cy, cz), r, c = sphere
    return ('SolidBegin "primitive"\nAttributeBegin\n' + rib_colour(c) +
            'Translate %g %g %g\nSphere %g %g %g 360\nAttributeEnd\nSolidEnd\n' % (cx, cy, cz, r, -r, r))


def solid(operation):
    return 'SolidBegin "%s"\n' % operation + sphere_rib(A) + sphere_rib(B) + 'SolidEnd\n'


def intersection(x, y):
    a, b = interval(A, x, y), interval(B, x, y)
    if a is None or b is None or max(a[0], b[0]) >= min(a[1], b[1]):
        return None
    return A[2] if a[0] >= b[0] else B[2]  # whichever front begins the lens


def difference(x, y):
    a, b = interval(A, x, y), interval(B, x, y)
    if a is None:
        return None
    if b is None or b[0] > a[0] or b[1] <= a[0]:
        return A[2]  # A's front, not inside B
    return B[2] if b[1] < a[1] else None  # B's far wall, where it carves A


scene('csg_intersection', solid('intersection'), intersection)
scene('csg_difference', solid('difference'), difference)
