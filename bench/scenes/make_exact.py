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
    return tuple(min(255, int(math.floor(v * 255 + 0.5))) for v in c) + (255,)


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


def scene(name, world, colour_at, surface='Surface "constant"\n'):
    with open(os.path.join(HERE, name + '.rib'), 'w') as out:
        out.write('# Made by make_exact.py: shapes whose picture is known exactly.\n')
        out.write('Format %d %d 1\nPixelSamples 3 3\nWorldBegin\n%s%sWorldEnd\n' % (SIZE, SIZE, surface, world))
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

# An object takes the colour set inside its definition, not the one where
# it is instanced.
TEAL = (0.1, 0.55, 0.55)
scene('object_colour',
      'ObjectBegin 1\n' + rib_colour(TEAL) + square(-0.5, -0.5, 0.5, 0.5, 0) + 'ObjectEnd\n' +
      'Color [1 1 1]\nTranslate 0 0 2\nObjectInstance 1\n',
      lambda x, y: TEAL if -0.5 < x < 0.5 and -0.5 < y < 0.5 else None)

# Two representations of one model: the detail bound covers about 1500
# pixels, so only the second range (from 20 up) holds it.
scene('detail_range',
      'AttributeBegin\nDetail [-0.6 0.6 -0.6 0.6 1.4 2.6]\n'
      'DetailRange [0 0 10 20]\n' + rib_colour(RED) + square(-0.9, -0.4, -0.1, 0.4, 2) +
      'DetailRange [10 20 1e30 1e30]\n' + rib_colour(BLUE) + 'AttributeBegin\nTranslate 0.5 0 2\nDisk 0 0.4 360\n'
      'AttributeEnd\nAttributeEnd\n',
      lambda x, y: BLUE if (x - 0.5) ** 2 + y ** 2 < 0.16 else None)

# One quad with "interpolateboundary": the square itself.
GREEN = (0.3, 0.8, 0.3)
scene('subdivision_quad',
      rib_colour(GREEN) + 'SubdivisionMesh "catmull-clark" [4] [0 1 2 3] ["interpolateboundary"] [0 0] [] []\n'
      '  "P" [-0.6 -0.6 2  -0.6 0.6 2  0.6 0.6 2  0.6 -0.6 2]\n',
      lambda x, y: GREEN if abs(x) < 0.6 and abs(y) < 0.6 else None)

# A cube with its twelve edges creased for good: a cube, seen face on.
CUBE_EDGES = [(0, 1), (1, 3), (3, 2), (2, 0), (4, 5), (5, 7), (7, 6), (6, 4), (0, 4), (1, 5), (2, 6), (3, 7)]
scene('creased_cube',
      rib_colour(GREEN) + 'Translate 0 0 2\nSubdivisionMesh "catmull-clark" [4 4 4 4 4 4]\n'
      '  [0 2 3 1  4 5 7 6  0 1 5 4  2 6 7 3  0 4 6 2  1 3 7 5]\n'
      '  [' + ' '.join(['"crease"'] * 12) + '] [' + ' '.join(['2 1'] * 12) + ']\n'
      '  [' + '  '.join('%d %d' % e for e in CUBE_EDGES) + '] [' + ' '.join(['10'] * 12) + ']\n'
      '  "P" [' + '  '.join('%g %g %g' % (0.7 if k & 1 else -0.7, 0.7 if k & 2 else -0.7, 0.7 if k & 4 else -0.7)
                            for k in range(8)) + ']\n',
      lambda x, y: GREEN if abs(x) < 0.7 and abs(y) < 0.7 else None)

# A blobby of one ellipsoid: the soft-object field is 0.5 at half the reach
# of its unit sphere, so a leaf scaled by 1.4 is a ball of radius 0.7.
scene('blobby_ball',
      rib_colour(ORANGE) + 'Blobby 1 [1001 0] [1.4 0 0 0  0 1.4 0 0  0 0 1.4 0  0.1 0 2 1] []\n',
      lambda x, y: ORANGE if (x - 0.1) ** 2 + y ** 2 < 0.49 else None)


# A plastic ball under a distant light from the eye: the diffuse term is
# the facing ratio and the highlight its power 8/roughness.
def plastic_ball(x, y):
    d2 = x * x + y * y
    if d2 >= 0.64:
        return None
    facing = math.sqrt(1 - d2 / 0.64)
    return tuple(0.5 * c * facing + 0.5 * facing ** 80 for c in RED)


scene('plastic_ball', rib_colour(RED) + 'Translate 0 0 2\nSphere 0.8 -0.8 0.8 360\n', plastic_ball,
      surface='LightSource "distantlight" 1 "from" [0 0 0] "to" [0 0 1]\n'
              'Surface "plastic" "Ka" 0 "Kd" 0.5 "Ks" 0.5 "roughness" 0.1\n')


# A floor facing the eye under a spotlight between them: the standard
# spotlight's cone, beam and falloff, on a matte floor.
def spot_floor(x, y):
    d = math.sqrt(x * x + y * y + 4)
    cosine = 2 / d
    outer, inner = math.cos(0.45), math.cos(0.45 - 0.1)
    t = min(1, max(0, (cosine - outer) / (inner - outer)))
    light = 5 * cosine ** 2 * t * t * (3 - 2 * t) / (d * d) * cosine
    return tuple(c * light for c in (1, 0.9, 0.7))


scene('spot_floor', 'Color [1 0.9 0.7]\n' + square(-1.5, -1.5, 1.5, 1.5, 3), spot_floor,
      surface='LightSource "spotlight" 1 "from" [0 0 1] "to" [0 0 3] "intensity" 5 "coneangle" 0.45\n'
              '  "conedeltaangle" 0.1 "beamdistribution" 2\nSurface "matte" "Ka" 0 "Kd" 1\n')
