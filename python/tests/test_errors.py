"""What goes wrong, and how it reaches Python: errors raised before anything
of the request is written, failures that never end the interpreter, and the
library's diagnostics as warnings or exceptions."""
import os
import warnings

import numpy as np
import pytest

import vellum

HEADER = b"##RenderMan RIB-Structure 1.0\nversion 3.03\n"
TRIANGLE = [0, 0, 0, 1, 0, 0, 0, 1, 0]
UNIT = [0, 1, 0, 1, 0, 1]
MOST = 2**31 - 1  # the most values a request holds in one storage class

BAD_CALLS = [
    # (call, exception, the words the message must hold)
    (lambda ri: ri.Polygon({"P": np.zeros(10, np.float32)}), ValueError,
     ["Polygon", '"P"', "multiple of 3", "10"]),
    (lambda ri: ri.PointsPolygons([3], [0, 1, 2], {"P": TRIANGLE, "N": np.zeros(10)}), ValueError,
     ["PointsPolygons", '"N"', "needs 9 values", "not 10"]),
    (lambda ri: ri.Sphere(1, -1, 1, 360, {"Cs": [1, 0, 0]}), ValueError,
     ["Sphere", '"Cs"', "varying color", "needs 12 values", "not 3"]),
    (lambda ri: ri.Sphere(1, -1, 1, 360, {"foo": 1}), ValueError, ["Sphere", '"foo"', "not declared"]),
    (lambda ri: ri.Surface("plastic", {"Kd": "high"}), TypeError, ["Surface", '"Kd"', "numbers", "str"]),
    (lambda ri: ri.Surface("plastic", {"texturename": 3}), TypeError, ["Surface", '"texturename"', "strings", "int"]),
    (lambda ri: ri.Attribute("user", {"integer n": 1.5}), TypeError, ["Attribute", '"integer n"', "integers", "float"]),
    (lambda ri: ri.Translate(1, "2", 3), TypeError, ["Translate", "dy", "a number", "str"]),
    (lambda ri: ri.FrameBegin(1.5), TypeError, ["FrameBegin", "frame", "an integer", "float"]),
    (lambda ri: ri.PixelFilter("mitchell", 2, 2), ValueError, ["PixelFilter", "filterfunc", '"mitchell"']),
    (lambda ri: ri.PointsPolygons([3, 3], [0, 1, 2], {"P": TRIANGLE}), ValueError,
     ["PointsPolygons", "vertices", "needs 6 values", "not 3"]),
    (lambda ri: ri.Color([1, 0]), ValueError, ["Color", "Cs", "needs 3 numbers", "not 2"]),
    (lambda ri: ri.Color([.1, .2, .3, .4]), ValueError, ["Color", "Cs", "needs 3 numbers", "not 4"]),
    (lambda ri: ri.FrameBegin(True), TypeError, ["FrameBegin", "frame", "an integer", "bool"]),
    (lambda ri: ri.Matte(32768), ValueError, ["Matte", "out of range", "32768"]),
    (lambda ri: ri.NuPatch(2, [0, 0, 1, 1], 0, 1, 2, [0, 0, 1], 0, 1, {"Pw": np.zeros(16)}), ValueError,
     ["NuPatch", "knot", "twice its order"]),
    (lambda ri: ri.Curves("cubic", [4], "sideways", {"P": np.zeros(12)}), ValueError, ["Curves", "wrap", "sideways"]),
    # Counts past what one request can hold, which the reader refuses.
    (lambda ri: ri.Volume("box", UNIT, [MOST] * 3), ValueError, ["Volume", "too many values", "2147483647"]),
    (lambda ri: ri.Volume("box", UNIT, [65536, 32768, 1]), ValueError, ["Volume", "too many values"]),
    (lambda ri: ri.PatchMesh("bilinear", 65536, "nonperiodic", 32768, "nonperiodic"), ValueError,
     ["PatchMesh", "too many values"]),
    (lambda ri: ri.PointsPolygons([3], [0, 1, MOST]), ValueError, ["PointsPolygons", "too many values"]),
    (lambda ri: ri.SubdivisionMesh("loop", [3], [MOST, 0, 1]), ValueError, ["SubdivisionMesh", "too many values"]),
    (lambda ri: ri.Curves("linear", [MOST, 1], "nonperiodic"), ValueError, ["Curves", "too many values"]),
    (lambda ri: ri.GeneralPolygon([MOST, 1]), ValueError, ["GeneralPolygon", "too many values"]),
    # 4097 x 16 x 32767 values of one parameter.
    (lambda ri: ri.Volume("box", UNIT, [4097, 1, 1], {"vertex matrix[32767] m": [0]}), ValueError,
     ["Volume", '"vertex matrix[32767] m"', "too many values"]),
]


@pytest.mark.parametrize("call, error, words", BAD_CALLS)
def test_a_bad_call_raises_and_writes_nothing_of_its_request(tmp_path, call, error, words):
    path = tmp_path / "bad.rib"
    with vellum.Ri(str(path)) as ri:
        with pytest.raises(error) as raised:
            call(ri)
    message = str(raised.value)
    assert [word for word in words if word not in message] == [], message
    assert path.read_bytes() == HEADER + b"\n"


@pytest.mark.parametrize("call", [lambda ri: ri.WorldBegin(), lambda ri: ri.End(),
                                  lambda ri: ri.Sphere(1, -1, 1, 360)])
def test_a_call_without_a_context_raises_runtime_error(call):
    with pytest.raises(RuntimeError, match="no context"):
        call(vellum.Ri())


def test_a_destination_that_cannot_be_opened_raises_os_error(tmp_path):
    ri = vellum.Ri()
    with pytest.raises(OSError) as raised:
        ri.Begin(str(tmp_path / "missing" / "scene.rib"))
    assert raised.value.errno == 2 and not ri.has_context


def test_the_librarys_diagnostics_are_warnings_or_errors_as_the_handler_says(tmp_path):
    nan = float("nan")
    with vellum.Ri(str(tmp_path / "a.rib")) as ri:
        with pytest.warns(vellum.RibWarning, match="libvellum error: .*finite"):
            ri.Translate(nan, 0, 0)
        ri.ErrorHandler(vellum.ErrorIgnore)
        with warnings.catch_warnings():
            warnings.simplefilter("error")
            ri.Sphere(nan, -1, 1, 360)
    with vellum.Ri(str(tmp_path / "b.rib")) as ri:
        ri.ErrorHandler(vellum.ErrorAbort)
        with pytest.raises(vellum.RibError, match="libvellum error: .*finite"):
            ri.Translate(nan, 0, 0)


def test_options_of_begin_and_of_the_rib_option(tmp_path):
    path = tmp_path / "mesh.rib"
    with vellum.Ri(str(path), precision=9, compression="gzip") as ri:
        ri.Translate(0.1, 0, 0)
    import gzip
    assert gzip.decompress(path.read_bytes()) == HEADER + b"Translate 0.100000001 0 0 \n\n"
    with pytest.raises(ValueError, match="precision must be 0 to 9"):
        vellum.Ri().Option("rib", {"precision": 12})
    with pytest.raises(ValueError, match="precision must be 0 to 9"):
        vellum.Ri().Begin(str(path), precision=-1)


def test_the_with_statement_ends_the_stream_when_an_exception_leaves_it(tmp_path):
    path = tmp_path / "scene.rib"
    with pytest.raises(KeyError):
        with vellum.Ri(str(path)) as ri:
            ri.WorldBegin()
            raise KeyError("scene")
    assert path.read_bytes() == HEADER + b"WorldBegin\n\n" and not ri.has_context


def test_arrays_of_the_very_type_are_not_copied(tmp_path):
    P = np.zeros((1000, 3), np.float32)
    verts = np.arange(1000, dtype=np.int32)
    with vellum.Ri(os.devnull) as ri:
        before = vellum._vellum._copied_arrays()
        ri.PointsPolygons(np.full(1, 1000, np.int32), verts, {"P": P, "constant color Cs": P[0]})
        ri.Points({"P": P.ravel()})
        assert vellum._vellum._copied_arrays() == before
        ri.Points({"P": P.astype(np.float64)})  # converted once
        ri.Points({"P": P[::2]})  # not contiguous
        ri.PointsPolygons([1000], verts.astype(np.int64), {"P": P})
        assert vellum._vellum._copied_arrays() == before + 3


def test_a_volume_of_the_most_points_a_request_holds_is_written(tmp_path):
    path = tmp_path / "volume.rib"
    with vellum.Ri(str(path)) as ri:
        ri.Volume("box", UNIT, [1, MOST, 1])
        ri.Volume("box", UNIT, [2, 2, 2], {"vertex float density": np.arange(8)})
    assert path.read_bytes() == HEADER + (b'Volume "box" [0 1 0 1 0 1] [1 2147483647 1]\n'
                                          b'Volume "box" [0 1 0 1 0 1] [2 2 2] "vertex float density" [0 1 2 3 4 5 6 7]\n'
                                          b"\n")
