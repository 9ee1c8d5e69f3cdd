#!/usr/bin/env python3
"""vellum.read over streams of 10^5, 10^6 and 10^7 small requests, beside
qview's check of the same files, in one run: processor time per request,
requests per second, and peak resident memory, each measured in a process
of its own (by /usr/bin/time), the interpreter's own (with vellum and
numpy imported) taken off Python's.  The memory must not grow with the
count.  The largest file is read gzip-compressed too.

A request is one of AttributeBegin, Translate x y z, Color [r g b],
Sphere r zmin zmax 360 and AttributeEnd, about 19 bytes each.

Usage, from the source tree after a Release build with the Python package:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_read_bench.py build [COUNT...]

It prints one row per file and the limits: 3 microseconds a request, and
64 MB above the interpreter."""
import gzip
import os
import subprocess
import sys

SCRATCH = f"/dev/shm/vellum-python-read-bench-{os.getpid()}"
COUNTS = (10**5, 10**6, 10**7)

READ = """
import sys, time, vellum
start = time.process_time()
count = 0
for request in vellum.read(sys.argv[1]):
    count += 1
print(count, time.process_time() - start)
"""
IDLE = "import vellum, numpy"


def write_requests(path, count):
    """`count` requests, five to a sphere, and the stream's own lines."""
    with open(path, "wb") as out:
        out.write(b"##RenderMan RIB-Structure 1.0\nversion 3.04\nWorldBegin\n")
        written, i = 2, 0  # version and WorldBegin
        pieces = []
        while written + 5 <= count - 1:
            x, y = (i % 97) * 0.25, (i % 89) * 0.5
            pieces.append(f"AttributeBegin\nTranslate {x:g} {y:g} -3\nColor [0.{i % 9} 0.5 1]\n"
                          "Sphere 0.5 -0.5 0.5 360\nAttributeEnd\n")
            written += 5
            i += 1
            if len(pieces) == 10000:
                out.write("".join(pieces).encode())
                pieces = []
        while written < count - 1:
            pieces.append("Translate 0 0 1\n")
            written += 1
        pieces.append("WorldEnd\n")
        out.write("".join(pieces).encode())


def measured(args):
    """Runs a program under /usr/bin/time (a small process of its own, so
    that the peak is the program's, not what it was forked from): its
    output, processor time and peak memory (bytes)."""
    report = SCRATCH + ".time"
    run = subprocess.run(["/usr/bin/time", "-o", report, "-f", "%U %S %M"] + args, capture_output=True)
    if run.returncode != 0:
        sys.exit(f"{args[0]} failed with status {run.returncode}: {run.stderr.decode()[-500:]}")
    with open(report) as times:
        user, system, kilobytes = times.read().split()[-3:]
    os.remove(report)
    return run.stdout.decode(), float(user) + float(system), int(kilobytes) * 1024


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    counts = [int(c) for c in sys.argv[2:]] or list(COUNTS)
    qview = os.path.join(build, "bin", "qview")
    python = sys.executable
    _, _, interpreter = measured([python, "-c", IDLE])
    print(f"the interpreter with vellum and numpy: {interpreter / 2**20:.1f} MB")
    print(f"{'requests':>10} {'file':>9} {'Python':>9} {'us/req':>7} {'req/s':>10} {'memory':>9}"
          f" {'qview':>9} {'us/req':>7} {'memory':>9}")
    rows = []
    try:
        for count in counts:
            path = f"{SCRATCH}-{count}.rib"
            write_requests(path, count)
            files = [(path, "plain")]
            if count == max(counts):
                with open(path, "rb") as plain, gzip.open(path + ".gz", "wb", compresslevel=6) as packed:
                    while block := plain.read(1 << 24):
                        packed.write(block)
                files.append((path + ".gz", "gzip"))
            for name, kind in files:
                out, seconds, peak = measured([python, "-c", READ, name])
                read, _ = out.split()
                if int(read) != count:
                    sys.exit(f"{name}: {read} requests read, {count} written")
                _, qview_seconds, qview_peak = measured([qview, name])
                above = peak - interpreter
                size = os.path.getsize(name)
                print(f"{count:>10} {size / 2**20:>7.1f}MB {seconds:>8.2f}s {seconds / count * 1e6:>7.2f}"
                      f" {count / seconds:>10.0f} {above / 2**20:>7.1f}MB"
                      f" {qview_seconds:>8.2f}s {qview_seconds / count * 1e6:>7.2f} {qview_peak / 2**20:>7.1f}MB"
                      f"  {kind}")
                rows.append((seconds / count * 1e6, above))
                os.remove(name)
            if os.path.exists(path):
                os.remove(path)
    finally:
        for count in counts:
            for name in (f"{SCRATCH}-{count}.rib", f"{SCRATCH}-{count}.rib.gz"):
                if os.path.exists(name):
                    os.remove(name)
    worst_time = max(row[0] for row in rows)
    worst_memory = max(row[1] for row in rows)
    print(f"worst: {worst_time:.2f} us a request (limit 3), {worst_memory / 2**20:.1f} MB above the interpreter"
          " (limit 64)")


if __name__ == "__main__":
    main()
