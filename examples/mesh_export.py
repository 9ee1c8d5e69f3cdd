#!/usr/bin/env python3
"""An exporter in Python: a torus made with numpy, written as one
PointsPolygons of quads with "P", "N" and "st" per vertex, as binary RIB,
with a camera and a light around it.

    python3 mesh_export.py [torus.rib]

The arrays go to the writer as they are (float32 and int32, C order): no
copy is made of them."""
import sys

import numpy as np

import vellum


def torus(major=1.0, minor=0.35, rings=64, sides=32):
    """Vertices, normals and texture coordinates of a torus, and its quads."""
    u = np.linspace(0, 2 * np.pi, rings, endpoint=False, dtype=np.float32)[:, None]
    v = np.linspace(0, 2 * np.pi, sides, endpoint=False, dtype=np.float32)[None, :]
    normal = np.stack(np.broadcast_arrays(np.cos(u) * np.cos(v), np.sin(u) * np.cos(v), np.sin(v)), -1)
    centre = np.stack(np.broadcast_arrays(major * np.cos(u), major * np.sin(u), 0 * v), -1)
    P = (centre + minor * normal).reshape(-1, 3).astype(np.float32)
    st = np.stack(np.broadcast_arrays(u / (2 * np.pi), v / (2 * np.pi)), -1).reshape(-1, 2).astype(np.float32)
    i, j = np.meshgrid(np.arange(rings), np.arange(sides), indexing="ij")
    corner = lambda di, dj: ((i + di) % rings) * sides + (j + dj) % sides  # noqa: E731
    quads = np.stack([corner(0, 0), corner(1, 0), corner(1, 1), corner(0, 1)], -1).reshape(-1).astype(np.int32)
    return P, normal.reshape(-1, 3).astype(np.float32), st, quads


def main():
    P, N, st, quads = torus()
    with vellum.Ri(sys.argv[1] if len(sys.argv) > 1 else "torus.rib", binary=True) as ri:
        ri.Display("torus.png", "file", "rgba")
        ri.Format(320, 240, 1)
        ri.Projection("perspective", {"fov": 40})
        ri.Translate(0, 0, 4)
        ri.Rotate(-60, 1, 0, 0)
        ri.WorldBegin()
        ri.LightSource("distantlight", {"from": (1, 1, -1), "to": (0, 0, 0)})
        ri.Color((0.8, 0.5, 0.2))
        ri.Surface("plastic")
        ri.PointsPolygons(np.full(len(quads) // 4, 4, np.int32), quads, {"P": P, "N": N, "st": st})
        ri.WorldEnd()


if __name__ == "__main__":
    main()
