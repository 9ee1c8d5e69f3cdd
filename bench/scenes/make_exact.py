#!/usr/bin/python3
"""Writes the hand-made scenes of this directory and their exact pictures.

Each scene is a few shapes under a camera whose picture is known exactly:
constant-coloured or simply lit, orthographic over -1..1 (or in
perspective), so that its picture here is sampled once at each pixel
centre, without antialiasing (or, where colours meet inside a shape, as
the mean of the 3 by 3 samples of each pixel).  The
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


def picture(colour_at, samples=1):
    """colour_at(x, y) gives an RGB triple or None, at a pixel centre, or
    with `samples` > 1 at each of samples × samples points spread evenly
    over the pixel (as the scenes' PixelSamples place them), averaged."""
    rows = []
    for j in range(SIZE):
        row = []
        for i in range(SIZE):
            found = []
            for sj in range(samples):
                for si in range(samples):
                    x = -1 + (i + (si + 0.5) / samples) * 2 / SIZE
                    y = 1 - (j + (sj + 0.5) / samples) * 2 / SIZE
                    found.append(colour_at(x, y))
            hits = [c for c in found if c is not None]
            if not hits:
                row.append((0, 0, 0, 0))
                continue
            mean = tuple(sum(c[k] for c in hits) / len(hits) for k in range(3))
            alpha = len(hits) / len(found)
            row.append(level(mean)[:3] + (min(255, int(math.floor(alpha * 255 + 0.5))),))
        rows.append(row)
    return rows


def scene(name, world, colour_at, surface='Surface "constant"\n', camera='', samples=1):
    with open(os.path.join(HERE, name + '.rib'), 'w') as out:
        out.write('# Made by make_exact.py: shapes whose picture is known exactly.\n')
        out.write('Format %d %d 1\nPixelSamples 3 3\n%sWorldBegin\n%s%sWorldEnd\n' % (SIZE, SIZE, camera, surface, world))
    write_png(os.path.join(HERE, name + '.png'), picture(colour_at, samples))


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


# Small vector helpers for the scenes below.
def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def scale(a, s):
    return tuple(x * s for x in a)


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def normalize(a):
    return scale(a, 1 / math.sqrt(dot(a, a)))


def rotate(p, degrees, axis):
    """Rotate's turn of a point: the usual right-handed rotation of a column
    vector, as RenderMan's row vectors take its transpose."""
    ax, ay, az = normalize(axis)
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    t = 1 - c
    m = ((t * ax * ax + c, t * ax * ay - s * az, t * ax * az + s * ay),
         (t * ax * ay + s * az, t * ay * ay + c, t * ay * az - s * ax),
         (t * ax * az - s * ay, t * ay * az + s * ax, t * az * az + c))
    return tuple(dot(row, p) for row in m)


# A one-sided plastic ball under a camera that mirrors x, as exporters from
# right-handed programs write: its outside faces the eye all the same, lit
# from the upper left by the light given before the mirror (in camera
# space, from (-1, 1, -1) toward its default "to", (0, 0, 1)).
# Perspective with a field of view of 30 degrees.
TAN = math.tan(math.radians(15))
TO_LIGHT = normalize((-1, 1, -2))


def mirrored_ball(x, y):
    d = normalize((x * TAN, y * TAN, 1))
    b = dot(d, (0, 0, 5))
    h = b * b - 24
    if h <= 0:
        return None
    p = scale(d, b - math.sqrt(h))
    n = sub(p, (0, 0, 5))
    cosine = dot(n, TO_LIGHT)
    if cosine <= 0:
        return (0, 0, 0)
    half = dot(n, normalize(add(TO_LIGHT, normalize(scale(p, -1)))))
    return tuple(0.5 * c * cosine + 0.5 * max(half, 0) ** 80 for c in ORANGE)


scene('mirrored_camera', rib_colour(ORANGE) + 'Sphere 1 -1 1 360\n', mirrored_ball,
      surface='Surface "plastic" "Ka" 0 "Kd" 0.5 "Ks" 0.5 "roughness" 0.1\n',
      camera='Sides 1\nProjection "perspective" "fov" 30\nLightSource "distantlight" 1 "from" [-1 1 -1]\n'
             'Scale -1 1 1\nTranslate 0 0 5\n')


# Light of current RIB, each light in a block of its own as such streams
# write them: a dome (ambient) of 0.8 lights the whole world, a Bxdf floor
# and a ball on it.
FLOOR, BALL = (0.9, 0.6, 0.3), (0.3, 0.5, 0.9)


def dome_lit(x, y):
    if (x - 0.2) ** 2 + (y - 0.1) ** 2 < 0.16:
        return scale(BALL, 0.8)
    return scale(FLOOR, 0.8) if abs(x) < 0.8 and -0.8 < y < 0.6 else None


scene('light_in_its_block',
      'AttributeBegin\nLight "PxrDomeLight" "sky" "float intensity" [0.8]\nAttributeEnd\n'
      'AttributeBegin\nBxdf "PxrDiffuse" "floor" "color diffuseColor" [%g %g %g]\n' % FLOOR +
      square(-0.8, -0.8, 0.8, 0.6, 3) + 'AttributeEnd\n'
      'Bxdf "PxrDiffuse" "ball" "color diffuseColor" [%g %g %g]\n' % BALL +
      'Translate 0.2 0.1 2\nSphere 0.4 -0.4 0.4 360\n',
      dome_lit, surface='')


# A cube less three bores: the cube and a ball intersected, less three
# cylinders along the axes, each closed by two disks that face the same
# way (one into its cylinder), turned to show all three bores.  Inside and
# outside are told by counting crossings.  Its colours meet inside the
# outline, so its picture is the mean of the 3 × 3 samples of each pixel,
# as the preview's are.
CUBE_HALF, BALL_RADIUS, BORE_RADIUS, BORE_HALF = 0.6, 0.78, 0.3, 1.0
RED2, BLUE2, GREEN2 = (0.9, 0.25, 0.2), (0.25, 0.4, 0.9), (0.3, 0.8, 0.3)
TURN = ((-30, (1, 0, 0)), (40, (0, 1, 0)))  # applied last first, as RIB does
PLACE = (0, 0, 3)


def to_object(p):
    p = sub(p, PLACE)
    for degrees, axis in reversed(TURN):
        p = rotate(p, -degrees, axis)
    return p


def slab(o, d, lo, hi, axis):
    """The parameter interval where o + t d lies between lo and hi on axis."""
    if abs(d[axis]) < 1e-12:
        return (-math.inf, math.inf) if lo < o[axis] < hi else None
    a, b = (lo - o[axis]) / d[axis], (hi - o[axis]) / d[axis]
    return (min(a, b), max(a, b))


def clip(interval, other):
    if interval is None or other is None:
        return None
    lo, hi = max(interval[0], other[0]), min(interval[1], other[1])
    return (lo, hi) if lo < hi else None


def cube_span(o, d):
    span = (-math.inf, math.inf)
    for axis in range(3):
        span = clip(span, slab(o, d, -CUBE_HALF, CUBE_HALF, axis))
    return span


def ball_span(o, d):
    b, c = dot(o, d), dot(o, o) - BALL_RADIUS ** 2
    h = b * b - c * dot(d, d)
    if h <= 0:
        return None
    r = math.sqrt(h)
    return ((-b - r) / dot(d, d), (-b + r) / dot(d, d))


def bore_span(o, d, axis):
    u, v = [k for k in range(3) if k != axis]
    a = d[u] ** 2 + d[v] ** 2
    b = o[u] * d[u] + o[v] * d[v]
    c = o[u] ** 2 + o[v] ** 2 - BORE_RADIUS ** 2
    if a < 1e-12:
        side = (-math.inf, math.inf) if c < 0 else None
    else:
        h = b * b - a * c
        side = ((-b - math.sqrt(h)) / a, (-b + math.sqrt(h)) / a) if h > 0 else None
    return clip(side, slab(o, d, -BORE_HALF, BORE_HALF, axis))


def bored_cube(x, y):
    o, e = to_object((x, y, 0)), to_object((x, y, 1))
    d = sub(e, o)
    spans = [(cube_span(o, d), RED2), (ball_span(o, d), BLUE2)] + [(bore_span(o, d, k), GREEN2) for k in range(3)]

    def inside(t):
        def within(span):
            return span is not None and span[0] < t < span[1]
        return (within(spans[0][0]) and within(spans[1][0]) and
                not any(within(span) for span, _ in spans[2:]))

    ends = sorted((t, colour) for span, colour in spans if span is not None for t in span if t > 0)
    for k, (t, colour) in enumerate(ends):
        following = ends[k + 1][0] if k + 1 < len(ends) else t + 1
        if not inside(t - 1e-9) and inside((t + following) / 2):
            return colour
    return None


def bore(axis_turn):
    return ('SolidBegin "primitive"\nAttributeBegin\n' + rib_colour(GREEN2) + axis_turn +
            'Cylinder %g %g %g 360\nDisk %g %g 360\nDisk %g %g 360\nAttributeEnd\nSolidEnd\n'
            % (BORE_RADIUS, -BORE_HALF, BORE_HALF, -BORE_HALF, BORE_RADIUS, BORE_HALF, BORE_RADIUS))


CUBE_FACES = [(0, 2, 3, 1), (4, 5, 7, 6), (0, 1, 5, 4), (2, 6, 7, 3), (0, 4, 6, 2), (1, 3, 7, 5)]


def cube_points(half):
    return '  '.join('%g %g %g' % (half if k & 1 else -half, half if k & 2 else -half, half if k & 4 else -half)
                     for k in range(8))


scene('csg_bored_cube',
      'Translate %g %g %g\n' % PLACE + ''.join('Rotate %g %g %g %g\n' % ((degrees,) + axis)
                                                for degrees, axis in reversed(TURN)) +
      'SolidBegin "difference"\nSolidBegin "intersection"\n'
      'SolidBegin "primitive"\nAttributeBegin\n' + rib_colour(RED2) +
      'PointsPolygons [4 4 4 4 4 4] [' + '  '.join(' '.join(str(v) for v in f) for f in CUBE_FACES) + ']\n'
      '  "P" [' + cube_points(CUBE_HALF) + ']\nAttributeEnd\nSolidEnd\n'
      'SolidBegin "primitive"\nAttributeBegin\n' + rib_colour(BLUE2) +
      'Sphere %g %g %g 360\nAttributeEnd\nSolidEnd\nSolidEnd\n' % (BALL_RADIUS, -BALL_RADIUS, BALL_RADIUS) +
      bore('') + bore('Rotate 90 0 1 0\n') + bore('Rotate 90 1 0 0\n') + 'SolidEnd\n',
      bored_cube, samples=3)


# A cube whose twelve edges are creased with sharpness 1.5, turned: its
# limit surface's outline, found by subdividing it six times by the rules
# of semi-sharp creases (a crease's sharpness wears off by one a level; a
# vertex moves by the rule its sharp edges give, blended with the next
# level's rule by the sharpness of the edges that wear out) and drawing
# the faces.
SEMI_SHARP = 1.5
SEMI_TURN = ((-25, (1, 0, 0)), (35, (0, 1, 0)))
SEMI_PLACE = (0, 0, 3)


def catmull_clark(points, faces, sharpness):
    """One level; `sharpness` maps an edge (a sorted pair) to its sharpness."""
    def edge(a, b):
        return (a, b) if a < b else (b, a)

    def mean(ps):
        return scale(tuple(map(sum, zip(*ps))), 1 / len(ps))

    face_points = [mean([points[v] for v in f]) for f in faces]
    edge_faces, vertex_faces, vertex_edges = {}, [[] for _ in points], [set() for _ in points]
    for fi, f in enumerate(faces):
        for k, v in enumerate(f):
            e = edge(v, f[(k + 1) % len(f)])
            edge_faces.setdefault(e, []).append(fi)
            vertex_faces[v].append(fi)
            vertex_edges[v].add(e)
            vertex_edges[f[(k + 1) % len(f)]].add(e)

    def wear(s):
        return 0 if s <= 1 else s - 1

    edge_points = {}
    for e, fs in edge_faces.items():
        a, b = points[e[0]], points[e[1]]
        middle = mean([a, b])
        smooth = mean([a, b, face_points[fs[0]], face_points[fs[1]]])
        s = min(sharpness.get(e, 0), 1)
        edge_points[e] = add(scale(middle, s), scale(smooth, 1 - s))

    def rule(sharp_edges):
        return 'corner' if len(sharp_edges) > 2 else 'crease' if len(sharp_edges) == 2 else 'smooth'

    def apply(kind, v, sharp_edges):
        p = points[v]
        if kind == 'corner':
            return p
        if kind == 'crease':
            ends = [points[e[0] if e[1] == v else e[1]] for e in sharp_edges]
            return scale(add(scale(p, 6), add(ends[0], ends[1])), 1 / 8)
        n = len(vertex_edges[v])
        q = mean([face_points[f] for f in vertex_faces[v]])
        r = mean([mean([points[e[0]], points[e[1]]]) for e in vertex_edges[v]])
        return scale(add(add(q, scale(r, 2)), scale(p, n - 3)), 1 / n)

    new_points = []
    for v in range(len(points)):
        now = [e for e in vertex_edges[v] if sharpness.get(e, 0) > 0]
        later = [e for e in now if wear(sharpness[e]) > 0]
        here = apply(rule(now), v, now)
        if rule(now) != rule(later):
            worn = [sharpness[e] for e in now if wear(sharpness[e]) <= 0]
            w = min(1, sum(worn) / len(worn))
            here = add(scale(here, w), scale(apply(rule(later), v, later), 1 - w))
        new_points.append(here)
    edge_index, face_index = {}, {}
    for e in edge_faces:
        edge_index[e] = len(new_points)
        new_points.append(edge_points[e])
    for fi in range(len(faces)):
        face_index[fi] = len(new_points)
        new_points.append(face_points[fi])
    new_faces, new_sharpness = [], {}
    for fi, f in enumerate(faces):
        n = len(f)
        for k in range(n):
            new_faces.append((f[k], edge_index[edge(f[k], f[(k + 1) % n])], face_index[fi],
                              edge_index[edge(f[(k - 1) % n], f[k])]))
    for e, s in sharpness.items():
        if wear(s) > 0:
            new_sharpness[edge(e[0], edge_index[e])] = wear(s)
            new_sharpness[edge(e[1], edge_index[e])] = wear(s)
    return new_points, new_faces, new_sharpness


def semi_sharp_outline():
    points = [(CUBE_HALF if k & 1 else -CUBE_HALF, CUBE_HALF if k & 2 else -CUBE_HALF,
               CUBE_HALF if k & 4 else -CUBE_HALF) for k in range(8)]
    faces = CUBE_FACES
    sharpness = {tuple(sorted(e)): SEMI_SHARP for e in CUBE_EDGES}
    for _ in range(6):
        points, faces, sharpness = catmull_clark(points, faces, sharpness)
    placed = []
    for p in points:
        for degrees, axis in SEMI_TURN:
            p = rotate(p, degrees, axis)
        placed.append(add(p, SEMI_PLACE))
    # Which pixel centres each face's two triangles cover, seen along z.
    covered = set()
    step = 2 / SIZE
    for f in faces:
        for tri in ((f[0], f[1], f[2]), (f[0], f[2], f[3])):
            (ax, ay, _), (bx, by, _), (cx, cy, _) = (placed[v] for v in tri)
            area = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay)
            if area == 0:
                continue
            i0, i1 = int((min(ax, bx, cx) + 1) / step), int((max(ax, bx, cx) + 1) / step) + 1
            j0, j1 = int((1 - max(ay, by, cy)) / step), int((1 - min(ay, by, cy)) / step) + 1
            for j in range(max(j0, 0), min(j1, SIZE)):
                for i in range(max(i0, 0), min(i1, SIZE)):
                    x, y = -1 + (i + 0.5) * step, 1 - (j + 0.5) * step
                    w0 = ((bx - x) * (cy - y) - (cx - x) * (by - y)) / area
                    w1 = ((cx - x) * (ay - y) - (ax - x) * (cy - y)) / area
                    if w0 >= 0 and w1 >= 0 and w0 + w1 <= 1:
                        covered.add((i, j))
    return covered


SEMI_COVERED = semi_sharp_outline()
scene('semi_sharp_cube',
      rib_colour(GREEN) + 'Translate %g %g %g\n' % SEMI_PLACE +
      ''.join('Rotate %g %g %g %g\n' % ((degrees,) + axis) for degrees, axis in reversed(SEMI_TURN)) +
      'SubdivisionMesh "catmull-clark" [4 4 4 4 4 4]\n'
      '  [' + '  '.join(' '.join(str(v) for v in f) for f in CUBE_FACES) + ']\n'
      '  [' + ' '.join(['"crease"'] * 12) + '] [' + ' '.join(['2 1'] * 12) + ']\n'
      '  [' + '  '.join('%d %d' % e for e in CUBE_EDGES) + '] [' + ' '.join(['%g' % SEMI_SHARP] * 12) + ']\n'
      '  "P" [' + cube_points(CUBE_HALF) + ']\n',
      lambda x, y: GREEN if (int((x + 1) * SIZE / 2), int((1 - y) * SIZE / 2)) in SEMI_COVERED else None)
