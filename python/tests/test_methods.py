"""Every method of Ri against the C interface: the same bytes for one call of
each shape of request (reference_calls.c has the C side of each case), and
type stubs that name every method."""
import ast
import os

import numpy as np
import pytest

import vellum

SQUARE = np.array([0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0], np.float32)
HOLED = [0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, .2, .2, 0, .5, .2, 0, .2, .5, 0]
CURVE = [0, 0, 0, 1, 1, 0, 2, 1, 0, 3, 0, 0, 0, 0, 1, 1, 0, 1]
BOUND = [-1, 1, -2, 2, -3, 3]
MATRIX = np.array([[1, 0, 0, 0], [0, 2, 0, 0], [0, 0, 3, 0], [1, 2, 3, 1]], np.float32)
UNIT = [-1, 1, -1, 1, -1, 1]


def plain(ri):
    ri.FrameBegin(1)
    ri.Format(640, 480, 1)
    ri.WorldBegin()
    ri.Translate(1, 2, 3)
    ri.ShadingInterpolation(ri.SMOOTH)
    ri.Matte(True)
    ri.Matte(32767)  # the ends of a 16-bit operand
    ri.Matte(-32768)
    ri.WorldEnd()
    ri.FrameEnd()


def arrays(ri):
    ri.Color((0.2, 0.4, 0.6))
    ri.Opacity(np.array([0.2, 0.4, 0.6]))
    ri.Bound(BOUND)
    ri.Detail(np.array(BOUND, np.float32))
    ri.ConcatTransform(MATRIX)
    ri.Transform(MATRIX.tolist())
    ri.Hyperboloid([1, 0, -1], (0, 1, 1), 270)
    ri.TextureCoordinates(0, 0, 1, 0, 0, 1, 1, 1)


def polygons(ri):
    ri.Polygon({ri.P: SQUARE})
    ri.GeneralPolygon([4, 3], {"P": HOLED})
    ri.PointsPolygons(np.array([3, 3], np.int32), [0, 1, 2, 0, 2, 3],
                      {"P": SQUARE.reshape(4, 3), "st": [0, 0, 1, 0, 1, 1, 0, 1]})
    ri.PointsGeneralPolygons([2], [4, 3], range(7), {"P": HOLED})
    ri.Points({"P": SQUARE, "constantwidth": 0.1})


def patches(ri):
    ri.Basis(vellum.BezierBasis, ri.BEZIERSTEP, "b-spline", ri.BSPLINESTEP)
    ri.Patch(ri.BILINEAR, {"P": SQUARE})
    ri.PatchMesh("bicubic", 4, "nonperiodic", 4, "periodic", {"P": np.arange(48, dtype=np.float32) / 4})
    ri.NuPatch(2, [0, 0, 1, 1], 0, 1, 2, [0, 0, 1, 1], 0, 1, {"P": SQUARE})
    ri.TrimCurve([1], [2], [0, 0, 1, 1], [0], [1], [2], [0, 1], [0, 1], [1, 1])


def curves(ri):
    ri.Curves("cubic", [4], "nonperiodic", {"P": CURVE[:12], "width": [0.1, 0.2]})
    ri.Basis(vellum.CatmullRomBasis, ri.CATMULLROMSTEP, vellum.CatmullRomBasis.matrix, ri.CATMULLROMSTEP)
    ri.Curves("linear", [4, 2], "nonperiodic", {"P": CURVE})


def subdivision(ri):
    tags = ["crease", "interpolateboundary"]
    ri.SubdivisionMesh("catmull-clark", [4], [0, 1, 2, 3], tags, [2, 1, 0, 0], [0, 1], [2.5], {"P": SQUARE})
    ri.HierarchicalSubdivisionMesh("catmull-clark", [4], [0, 1, 2, 3], tags, [2, 1, 0, 0, 0, 1], [0, 1], [2.5],
                                   ["all"], {"P": SQUARE})


def others(ri):
    ri.Blobby(1, [1001, 0, 0, 1], np.eye(4).ravel(), [])
    ri.Procedural(["hat.rib"], UNIT, vellum.ProcDelayedReadArchive)
    ri.Procedural2(vellum.Proc2DelayedReadArchive, "SimpleBound",
                   {"string filename": "cloud.rib", "float[6] bound": UNIT})
    ri.Volume("box", UNIT, [2, 2, 2], {"vertex float density": np.arange(8)})
    ri.MotionBegin([0, 1])
    ri.Translate(0, 0, 0)
    ri.Translate(1, 0, 0)
    ri.MotionEnd()
    ri.MakeBrickMap(["a.ptc", "b.ptc"], "out.bkm")
    ri.ColorSamples([1, 1, 1], [1, 1, 1])


def handles(ri):
    point = ri.LightSource("pointlight", {"intensity": 2})
    dome = ri.Light("PxrDomeLight", "dome")
    ri.Illuminate(point, False)
    ri.Illuminate(dome, True)
    sphere = ri.ObjectBegin()
    ri.Sphere(1, -1, 1, 360)
    ri.ObjectEnd()
    ri.ObjectInstance(sphere)
    archive = ri.ArchiveBegin("inline")
    ri.ArchiveEnd()
    ri.ReadArchive(archive)


def declarations(ri):
    assert ri.Declare("pair", "uniform float[2]") == "pair"
    ri.Attribute("user", {"pair": (1, 2)})
    ri.Bxdf("PxrDiffuse", "d1", {"color diffuseColor": (0.8, 0.2, 0.1)})
    ri.Option("limits", {"integer[2] bucketsize": [16, 16]})
    ri.ArchiveRecord(ri.COMMENT, "a comment")
    ri.ArchiveRecord("structure", "Frames 1")
    ri.ErrorHandler(vellum.ErrorAbort)
    ri.MakeBump("bump.tif", "bump.tex", "periodic", "clamp", vellum.BoxFilter, 1, 1)


def binary_mesh(ri):
    ri.PointsPolygons([3, 3], [0, 1, 2, 0, 2, 3], {"P": SQUARE})
    ri.Translate(1.5, 2, 3)


CASES = [
    ("plain", plain, {}),
    ("pixel_filter", lambda ri: ri.PixelFilter(vellum.CatmullRomFilter, 2, 3), {}),
    ("shader", lambda ri: ri.Surface("plastic", {"Kd": 0.5, "texturename": "grid.tex"}), {}),
    ("sphere", lambda ri: ri.Sphere(1, -1, 1, 360, {"constant color Cs": [1, 0, 0]}), {}),
    ("arrays", arrays, {}),
    ("polygons", polygons, {}),
    ("patches", patches, {}),
    ("curves", curves, {}),
    ("subdivision", subdivision, {}),
    ("others", others, {}),
    ("handles", handles, {}),
    ("declarations", declarations, {}),
    ("binary_mesh", binary_mesh, {"binary": True}),
]


@pytest.mark.parametrize("case, calls, begin", CASES, ids=[case[0] for case in CASES])
def test_writes_the_bytes_of_the_c_interface(rib, reference, case, calls, begin):
    assert rib(calls, **begin) == reference(case)


def methods():
    return sorted(name for name in dir(vellum.Ri) if name[0].isupper() and callable(getattr(vellum.Ri, name)))


def test_the_stubs_name_every_method_of_ri():
    stubs = os.path.join(os.path.dirname(vellum.__file__), "_vellum.pyi")
    tree = ast.parse(open(stubs).read())
    ri = next(node for node in tree.body if isinstance(node, ast.ClassDef) and node.name == "Ri")
    stubbed = {node.name for node in ri.body if isinstance(node, ast.FunctionDef)}
    missing = set(methods()) - stubbed - {"write"}
    assert not missing and "Sphere" in stubbed


def test_every_constant_of_ri_h_is_an_attribute():
    import re

    header = open(os.environ["VELLUM_HEADER"]).read()
    names = set(re.findall(r"\bRI_([A-Z_]+)\b", header)) - {"API", "H"}
    names |= {"E_" + code for code in re.findall(r"#define RIE_([A-Z]+)", header)}
    assert sorted(name for name in names if not hasattr(vellum.Ri, name) or not hasattr(vellum, name)) == []
    assert (vellum.Ri.P, vellum.Ri.RGBA, vellum.Ri.BEZIERSTEP) == ("P", "rgba", 3)
    assert vellum.INFINITY == np.float32(1e38)
