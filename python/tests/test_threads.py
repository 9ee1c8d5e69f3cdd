"""Ri objects in threads: each writes its own stream, with its own
declarations and "rib" option, as it would alone; the interpreter lock is
let go while the library writes, so threads write side by side."""
import threading

import numpy as np

import vellum


def mesh(ri, seed):
    rng = np.random.default_rng(seed)
    points = rng.random((3000, 3), dtype=np.float32)
    ri.WorldBegin()
    ri.Declare("foo", "uniform float[2]" if seed % 2 else "uniform string")
    ri.Surface("plastic", {"foo": [seed, 1] if seed % 2 else "text"})
    ri.PointsPolygons([3] * 1000, np.arange(3000, dtype=np.int32), {"P": points})
    ri.WorldEnd()


def written(path, seed, **begin):
    with vellum.Ri(str(path), **begin) as ri:
        mesh(ri, seed)
    return path.read_bytes()


def test_threads_write_what_each_writes_alone(tmp_path):
    formats = [{}, {"binary": True}, {"precision": 0}, {"compression": "gzip"}]
    alone = [written(tmp_path / f"alone{i}.rib", i, **formats[i % 4]) for i in range(8)]
    together = [None] * 8

    def work(i):
        for _ in range(3):
            together[i] = written(tmp_path / f"thread{i}.rib", i, **formats[i % 4])

    threads = [threading.Thread(target=work, args=(i,)) for i in range(8)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert together == alone
    assert alone[0] != alone[1]  # each Ri's own declaration of "foo"


def test_the_rib_option_and_declarations_are_each_ris_own(tmp_path):
    a, b = vellum.Ri(), vellum.Ri()
    a.Option("rib", {"format": "binary"})
    a.Begin(str(tmp_path / "a.rib"))
    b.Begin(str(tmp_path / "b.rib"))
    a.Declare("foo", "uniform float")
    a.Translate(1, 2, 3)
    b.Translate(1, 2, 3)
    b.Declare("foo", "uniform string")
    b.Surface("s", {"foo": "x"})
    a.End()
    b.End()
    assert b"\xa4" in (tmp_path / "a.rib").read_bytes()  # binary floats
    assert (tmp_path / "b.rib").read_bytes() == (
        b'##RenderMan RIB-Structure 1.0\nversion 3.03\nTranslate 1 2 3 \nDeclare "foo" "uniform string"\n'
        b'Surface "s" "foo" ["x"]\n\n')
