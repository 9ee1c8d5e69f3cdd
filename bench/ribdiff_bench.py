#!/usr/bin/env python3
"""ribdiff over two large streams that differ in one place, beside qview's
check of one of them, in one run: real time, processor time and peak
resident memory, each in a process of its own (by /usr/bin/time).

The streams are those of python_read_bench.py (AttributeBegin, Translate,
Color, Sphere, AttributeEnd, about 19 bytes a request), 10^5 and 10^6
requests.  The second stream of each pair is the first with, in its middle,
one number changed, one request inserted, or nothing changed, or the
first rewritten by ribcat as binary and gzip with one number changed
(every request differs in its bytes, none as read).

Usage, from the source tree after a Release build:

    /usr/bin/python3 bench/ribdiff_bench.py build [COUNT...]"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from python_read_bench import write_requests  # noqa: E402

SCRATCH = f"/dev/shm/vellum-ribdiff-bench-{os.getpid()}"
COUNTS = (10**5, 10**6)


def measured(args, statuses):
    """Real time, processor time and peak memory (bytes) of a program whose
    exit status must be one of `statuses`."""
    report = SCRATCH + ".time"
    run = subprocess.run(["/usr/bin/time", "-o", report, "-f", "%e %U %S %M"] + args, capture_output=True)
    if run.returncode not in statuses:
        sys.exit(f"{args[0]} gave status {run.returncode}: {run.stderr.decode()[-500:]}")
    with open(report) as times:
        real, user, system, kilobytes = times.read().split()[-4:]
    os.remove(report)
    return float(real), float(user) + float(system), int(kilobytes) * 1024


def changed(path, out, edit):
    """`path` with its middle Sphere line changed by `edit` (a line to the
    lines that replace it)."""
    with open(path, "rb") as source:
        lines = source.read().split(b"\n")
    middle = len(lines) // 2
    while not lines[middle].startswith(b"Sphere"):
        middle += 1
    lines[middle:middle + 1] = edit(lines[middle])
    with open(out, "wb") as target:
        target.write(b"\n".join(lines))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    counts = [int(c) for c in sys.argv[2:]] or list(COUNTS)
    tool = lambda name: os.path.join(build, "bin", name)  # noqa: E731
    print(f"{'requests':>10} {'case':<32} {'real':>7} {'cpu':>7} {'memory':>9}   status")
    names = []
    try:
        for count in counts:
            a = f"{SCRATCH}-{count}-a.rib"
            names.append(a)
            write_requests(a, count)
            cases = []
            for case, edit in (("the same", lambda line: [line]),
                               ("one number changed", lambda line: [line.replace(b"0.5 360", b"0.75 360")]),
                               ("one request inserted", lambda line: [line, b"Translate 0 0 0.125"])):
                b = f"{SCRATCH}-{count}-{len(cases)}.rib"
                names.append(b)
                changed(a, b, edit)
                cases.append((case, b))
            packed = f"{SCRATCH}-{count}-packed.rib.gz"
            names.append(packed)
            subprocess.run([tool("ribcat"), "-b", "-z", "-o", packed, cases[1][1]], check=True)
            cases.append(("binary gzip, one changed", packed))

            real, cpu, peak = measured([tool("qview"), a], (0,))
            print(f"{count:>10} {'qview check of one':<32} {real:>6.2f}s {cpu:>6.2f}s {peak / 2**20:>7.1f}MB")
            for case, b in cases:
                real, cpu, peak = measured([tool("ribdiff"), a, b], (0, 1))
                print(f"{count:>10} {'ribdiff, ' + case:<32} {real:>6.2f}s {cpu:>6.2f}s {peak / 2**20:>7.1f}MB")
    finally:
        for name in names:
            if os.path.exists(name):
                os.remove(name)


if __name__ == "__main__":
    main()
