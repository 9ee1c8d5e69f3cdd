#!/usr/bin/env python3
"""An exporter's pattern in Python: a scene written as one RIB archive per
object by a pool of threads, each object a vellum.Ri of its own, and a
master file that reads them.  vellum.Ri lets go of the interpreter lock
while it writes, so the threads write side by side.

    archives_in_threads.py [OBJECTS [THREADS]]

writes object0.rib ... and scene.rib in the current directory; `qview -o
scene.png scene.rib` draws it."""
import math
import sys
from concurrent.futures import ThreadPoolExecutor

import numpy as np

import vellum


def write_object(k):
    """Object k: a ring of bumps, a mesh of triangles with a colour per vertex."""
    around, across = 64, 16
    angle = np.linspace(0, 2 * np.pi, around, endpoint=False, dtype=np.float32)
    radius = 0.5 + 0.1 * np.sin(angle * (3 + k % 4))
    rows = np.arange(across + 1, dtype=np.float32)[:, None]
    points = np.stack(np.broadcast_arrays(radius * np.cos(angle), radius * np.sin(angle), 0.05 * rows), axis=-1)
    colours = np.stack(np.broadcast_arrays(np.float32(k % 3 * 0.4 + 0.2), rows / across + 0 * angle,
                                           np.float32(0.5)), axis=-1)
    j, i = np.meshgrid(np.arange(across), np.arange(around), indexing="ij")
    a, b = j * around + i, j * around + (i + 1) % around
    vertices = np.stack([a, b, b + around, a, b + around, a + around], axis=-1).astype(np.int32)
    with vellum.Ri(f"object{k}.rib", binary=True) as ri:
        # A name of this object's own, declared otherwise by its neighbours.
        ri.Declare("bumps", "constant float" if k % 2 == 0 else "constant float[2]")
        ri.AttributeBegin()
        ri.Attribute("user", {"bumps": [3 + k % 4] if k % 2 == 0 else [3 + k % 4, 0]})
        ri.PointsPolygons(np.full(2 * across * around, 3, np.int32), vertices.ravel(),
                          {"P": points.astype(np.float32), "varying color Cs": colours.astype(np.float32)})
        ri.AttributeEnd()


def main():
    objects = int(sys.argv[1]) if len(sys.argv) > 1 else 12
    threads = int(sys.argv[2]) if len(sys.argv) > 2 else 4
    with ThreadPoolExecutor(threads) as pool:
        list(pool.map(write_object, range(objects)))
    across = math.ceil(math.sqrt(objects))
    half = 0.6 * across
    with vellum.Ri("scene.rib") as ri:
        ri.Format(320, 240, 1)
        ri.Projection("perspective", {"fov": 40})
        ri.Translate(0, 0, 8)
        ri.Rotate(-130, 1, 0, 0)  # the floor's +z up, toward the camera
        ri.WorldBegin()
        ri.LightSource("ambientlight", {"intensity": 0.25})
        ri.LightSource("distantlight", {"from": [-1, -2, 3]})
        ri.Surface("plastic")
        ri.AttributeBegin()
        ri.Color([0.6, 0.6, 0.6])
        ri.Polygon({"P": [-half, -half, 0, half, -half, 0, half, half, 0, -half, half, 0]})
        ri.AttributeEnd()
        for k in range(objects):
            ri.AttributeBegin()
            ri.Translate(1.2 * (k % across - (across - 1) / 2), 1.2 * (k // across - (across - 1) / 2), 0)
            ri.ReadArchive(f"object{k}.rib")
            ri.AttributeEnd()
        ri.WorldEnd()


if __name__ == "__main__":
    main()
