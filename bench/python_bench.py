#!/usr/bin/env python3
"""The Python package against the C interface, measured side by side in one
run: rounds that each run the C benchmarks (vellum_bench) and then the same
work through vellum.Ri, all timed as processor time.

- the 1,000,000-triangle mesh (bench_mesh.h's, from float32 numpy arrays)
  written as ASCII and as binary RIB: vellum.Ri against the C interface
  called in this same process (libvellum.so through ctypes, the arrays
  passed by address), and beside it BM_Mesh_*_Vellum of vellum_bench;
- one small request, ri.Translate(1, 2, 3), against BM_Translate_Vellum;
- reading the mesh's file into Request objects (vellum.read) against qview
  checking it (BM_QviewCheckMesh).

Usage, from the source tree after a Release build with the Python package:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_bench.py build

It prints each pair, their ratio (or difference), and the limits they are
held to: 1.2x the C interface for the mesh, 1 microsecond above the C call
for the small request, twice qview for reading.  (The mesh is the one of
bench_mesh.cpp up to the last bit of a few sines and cosines.)"""
import ctypes
import json
import os
import statistics
import subprocess
import sys
import time

import numpy as np

import vellum

SCRATCH = f"/dev/shm/vellum-python-bench-{os.getpid()}.rib"
ROUNDS = 3


def jitter(count):
    """The fractions of bench_mesh.cpp's Jitter, in order."""
    values = np.empty(count, np.float32)
    state = 12345
    for i in range(count):
        state = (state * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        values[i] = np.float32(state >> 40) / np.float32(1 << 24)
    return values


def mesh(columns=500, rows=1000):
    """bench_mesh.cpp's makeMesh(500, 1000): P and N per vertex, two triangles a quad."""
    across = columns + 1
    j = jitter(2 * across * (rows + 1)).reshape(rows + 1, across, 2)
    column, row = np.meshgrid(np.arange(across, dtype=np.float32), np.arange(rows + 1, dtype=np.float32))
    x = column * np.float32(0.013) + j[..., 0] * np.float32(1e-3)
    y = row * np.float32(0.007) + j[..., 1] * np.float32(1e-3)
    z = np.float32(0.25) * np.sin(3 * x) * np.cos(2 * y)
    dx = np.float32(0.75) * np.cos(3 * x) * np.cos(2 * y)
    dy = np.float32(-0.5) * np.sin(3 * x) * np.sin(2 * y)
    length = np.sqrt(dx * dx + dy * dy + 1)
    P = np.stack([x, y, z], axis=-1).reshape(-1, 3).astype(np.float32)
    N = np.stack([-dx / length, -dy / length, 1 / length], axis=-1).reshape(-1, 3).astype(np.float32)
    corner = (np.arange(rows)[:, None] * across + np.arange(columns)[None, :]).ravel().astype(np.int32)
    vertices = np.stack([corner, corner + 1, corner + across + 1, corner, corner + across + 1, corner + across],
                        axis=-1).ravel().astype(np.int32)
    return np.full(2 * columns * rows, 3, np.int32), vertices, P, N


def cpu(work, repeat):
    """The least processor time of `repeat` runs of work()."""
    best = float("inf")
    for _ in range(repeat):
        start = time.process_time()
        work()
        best = min(best, time.process_time() - start)
    return best


def c_benchmarks(binary):
    names = ["BM_Mesh_Ascii_Vellum", "BM_Mesh_Binary_Vellum", "BM_Translate_Vellum", "BM_QviewCheckMesh"]
    run = subprocess.run([binary, "--benchmark_filter=^(" + "|".join(names) + ")(/|$)", "--benchmark_format=json"],
                         capture_output=True, text=True, check=True)
    seconds = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9}
    # qview's is the child's processor time, which it reports as manual time.
    return {b["name"].split("/")[0]: b["real_time" if "manual_time" in b["name"] else "cpu_time"]
            * seconds[b["time_unit"]] for b in json.loads(run.stdout)["benchmarks"]}


def c_mesh_measures(library, nverts, verts, P, N):
    """The mesh through the C interface of libvellum.so, from the same arrays."""
    ints, floats = ctypes.POINTER(ctypes.c_int), ctypes.c_void_p

    def write_mesh(binary):
        flag = ctypes.c_int(binary)
        library.RiOption(b"rib", b"binary", ctypes.byref(flag), None)
        library.RiBegin(SCRATCH.encode())
        library.RiPointsPolygons(ctypes.c_int(len(nverts)), nverts.ctypes.data_as(ints), verts.ctypes.data_as(ints),
                                 b"P", P.ctypes.data_as(floats), b"N", N.ctypes.data_as(floats), None)
        library.RiEnd()

    measures = {"ascii": cpu(lambda: write_mesh(False), 3), "binary": cpu(lambda: write_mesh(True), 3)}
    write_mesh(False)
    return measures


def python_measures(nverts, verts, P, N):
    def write_mesh(binary):
        with vellum.Ri(SCRATCH, binary=binary) as ri:
            ri.PointsPolygons(nverts, verts, {"P": P, "N": N})

    calls = 1_000_000
    with vellum.Ri(SCRATCH) as ri:
        translate = ri.Translate
        start = time.process_time()
        for _ in range(calls):
            translate(1, 2, 3)
        per_call = (time.process_time() - start) / calls

    # The file qview checks in BM_QviewCheckMesh: the mesh framed by a camera.
    with vellum.Ri(SCRATCH) as ri:
        ri.ScreenWindow(-4.93, 4.93, -3.7, 3.7)
        ri.Translate(-3.25, -3.5, 8)
        ri.WorldBegin()
        ri.LightSource("distantlight")
        ri.Surface("matte")
        ri.PointsPolygons(nverts, verts, {"P": P, "N": N})
        ri.WorldEnd()
    read = cpu(lambda: list(vellum.read(SCRATCH)), 3)
    return {"ascii": cpu(lambda: write_mesh(False), 3), "binary": cpu(lambda: write_mesh(True), 3),
            "translate": per_call, "read": read}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    library = ctypes.CDLL(os.path.join(build, "lib", "libvellum.so"))
    nverts, verts, P, N = mesh()
    bench_runs, c_runs, python_runs = [], [], []
    try:
        for _ in range(ROUNDS):
            bench_runs.append(c_benchmarks(os.path.join(build, "bin", "vellum_bench")))
            c_runs.append(c_mesh_measures(library, nverts, verts, P, N))
            python_runs.append(python_measures(nverts, verts, P, N))
    finally:
        if os.path.exists(SCRATCH):
            os.remove(SCRATCH)

    def median(runs):
        return {key: statistics.median(run[key] for run in runs) for key in runs[0]}

    bench, c, py = median(bench_runs), median(c_runs), median(python_runs)
    rows = [
        ("mesh, ASCII", py["ascii"], c["ascii"], bench["BM_Mesh_Ascii_Vellum"], 1.2),
        ("mesh, binary", py["binary"], c["binary"], bench["BM_Mesh_Binary_Vellum"], 1.2),
        ("read the mesh / qview", py["read"], bench["BM_QviewCheckMesh"], None, 2.0),
    ]
    print(f"{'':24}{'Python':>10}{'C':>10}{'ratio':>7}{'limit':>7}{'vellum_bench':>14}")
    for name, python, native, reference, limit in rows:
        other = f"{reference * 1e3:12.1f}ms" if reference is not None else ""
        print(f"{name:24}{python * 1e3:8.1f}ms{native * 1e3:8.1f}ms{python / native:7.2f}{limit:7.1f}{other}")
    above = (py["translate"] - bench["BM_Translate_Vellum"]) * 1e9
    print(f"{'Translate(1, 2, 3)':24}{py['translate'] * 1e9:8.0f}ns{bench['BM_Translate_Vellum'] * 1e9:8.0f}ns"
          f"{above:+7.0f}ns, limit +1000ns")


if __name__ == "__main__":
    main()
