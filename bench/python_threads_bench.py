#!/usr/bin/env python3
"""Two Python threads each writing the 1,000,000-triangle mesh (from float32
numpy arrays) to a stream of its own, against the same two meshes written
one after the other: wall-clock time, best of a few rounds, side by side in
one run.  vellum.Ri lets go of the interpreter lock while the library
writes, so on two cores the threads take a little more than half the time.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_threads_bench.py

It prints both times and their ratio, which is held to at most 0.6, for
new files in /dev/shm and for /dev/null.  Each round writes new files (the
last round's are removed before the timing), as an exporter does: written
over old files, the kernel's freeing of their pages would be timed too.
(Build with -DCMAKE_BUILD_TYPE=Release.)"""
import os
import threading
import time

import vellum
from python_bench import mesh

ROUNDS = 15


def write(path, arrays, binary):
    nverts, verts, P, N = arrays
    with vellum.Ri(path, binary=binary) as ri:
        ri.PointsPolygons(nverts, verts, {"P": P, "N": N})


def remove(paths):
    for path in paths:
        if os.path.exists(path):
            os.remove(path)


def main():
    arrays = mesh()
    files = [f"/dev/shm/vellum-python-threads-{os.getpid()}-{i}.rib" for i in range(2)]
    try:
        for paths, binary in ((files, False), (files, True), (["/dev/null"] * 2, False), (["/dev/null"] * 2, True)):
            one_after_other, side_by_side = float("inf"), float("inf")
            for _ in range(ROUNDS):
                # Each mesh goes to a new file, as an exporter's do: the
                # pages of the last round's are given back before timing.
                remove(files)
                start = time.perf_counter()
                for path in paths:
                    write(path, arrays, binary)
                one_after_other = min(one_after_other, time.perf_counter() - start)
                remove(files)
                threads = [threading.Thread(target=write, args=(path, arrays, binary)) for path in paths]
                start = time.perf_counter()
                for thread in threads:
                    thread.start()
                for thread in threads:
                    thread.join()
                side_by_side = min(side_by_side, time.perf_counter() - start)
            kind = ("binary" if binary else "ASCII") + (" to /dev/null" if paths[0] == "/dev/null" else "")
            print(f"two meshes, {kind:19}: one after the other {one_after_other * 1e3:7.1f} ms, "
                  f"two threads {side_by_side * 1e3:7.1f} ms, ratio {side_by_side / one_after_other:.2f} "
                  f"(limit 0.60)")
    finally:
        remove(files)


if __name__ == "__main__":
    main()
