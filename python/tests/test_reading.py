"""Reading RIB into Request objects and writing them back: a scene that uses
every method of Ri survives a read-filter-write round trip byte for byte;
the sources read takes; errors raised or collected with file and line."""
import gzip
import io
import os
import subprocess

import numpy as np
import pytest

import vellum

P4 = np.array([0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0], np.float32)
UNIT = [-1, 1, -1, 1, -1, 1]
TAGS = ["crease"]


def every_request(ri):
    """Calls every method of Ri that writes a request, in an order a reader accepts."""
    ri.ErrorHandler("print")
    ri.Option("searchpath", {"string shader": "shaders"})
    ri.Declare("pair", "uniform float[2]")
    ri.Format(64, 48, 1)
    ri.FrameAspectRatio(4 / 3)
    ri.ScreenWindow(-1, 1, -0.75, 0.75)
    ri.CropWindow(0, 1, 0, 1)
    ri.Projection("perspective", {"fov": 40})
    ri.Clipping(0.1, 1000)
    ri.DepthOfField(8, 0.05, 5)
    ri.Shutter(0, 1)
    ri.PixelVariance(0.01)
    ri.PixelSamples(2, 2)
    ri.PixelFilter(vellum.GaussianFilter, 2, 2)
    ri.Exposure(1, 2.2)
    ri.Quantize("rgba", 255, 0, 255, 0.5)
    ri.Display("out.tif", "file", "rgba")
    ri.Hider("hidden")
    ri.ColorSamples([1, 1, 1], [1, 1, 1])
    ri.RelativeDetail(1)
    ri.Camera("main")
    ri.DisplayChannel("color Ci")
    ri.Integrator("PxrPathTracer", "path")
    ri.DisplayFilter("PxrBackgroundDisplayFilter", "bg")
    ri.SampleFilter("PxrSampleClamp", "clamp")
    ri.Imager("background")
    ri.System("true")
    ri.MakeTexture("a.tif", "a.tex", "periodic", "clamp", vellum.BoxFilter, 1, 1)
    ri.MakeLatLongEnvironment("e.tif", "e.tex", "box", 1, 1)
    ri.MakeCubeFaceEnvironment("px", "nx", "py", "ny", "pz", "nz", "c.tex", 90, "triangle", 1, 1)
    ri.MakeShadow("s.tif", "s.tex")
    ri.MakeBump("b.tif", "b.tex", "periodic", "periodic", "sinc", 1, 1)
    ri.MakeBrickMap(["a.ptc"], "a.bkm")
    ri.ArchiveRecord("comment", "every request")
    archive = ri.ArchiveBegin("inline")
    ri.Sphere(1, -1, 1, 360)
    ri.ArchiveEnd()
    ri.ResourceBegin()
    ri.Resource("saved", "attributes", {"string operation": "save"})
    ri.ResourceEnd()
    ri.FrameBegin(1)
    ri.WorldBegin()
    ri.Identity()
    ri.Transform(np.eye(4))
    ri.ConcatTransform(np.eye(4))
    ri.Perspective(45)
    ri.Translate(1, 2, 3)
    ri.Rotate(30, 0, 1, 0)
    ri.Scale(1, 2, 1)
    ri.Skew(10, 0, 1, 0, 1, 0, 0)
    ri.CoordinateSystem("here")
    ri.CoordSysTransform("here")
    ri.TransformPoints("here", "world", [0, 0, 0])
    ri.TransformBegin()
    ri.TransformEnd()
    ri.ScopedCoordinateSystem("scoped")
    light = ri.LightSource("pointlight", {"intensity": 3})
    area = ri.AreaLightSource("arealight")
    dome = ri.Light("PxrDomeLight", "dome")
    ri.Illuminate(light, 1)
    ri.Illuminate(area, 0)
    ri.Illuminate(dome, 1)
    ri.AttributeBegin()
    ri.Attribute("user", {"pair": [1, 2]})
    ri.Color([1, 0.5, 0])
    ri.Opacity([1, 1, 1])
    ri.TextureCoordinates(0, 0, 1, 0, 0, 1, 1, 1)
    ri.ShadingRate(1)
    ri.ShadingInterpolation("smooth")
    ri.Matte(0)
    ri.Bound(UNIT)
    ri.Detail(UNIT)
    ri.DetailRange(0, 0, 10, 20)
    ri.GeometricApproximation("flatness", 0.5)
    ri.GeometricRepresentation("primitive")
    ri.Sides(2)
    ri.Orientation("rh")
    ri.ReverseOrientation()
    ri.ClippingPlane(0, 0, 0, 0, 0, 1)
    ri.Surface("plastic", {"Kd": 0.5})
    ri.Displacement("bumpy")
    ri.Atmosphere("fog")
    ri.Interior("water")
    ri.Exterior("air")
    ri.Deformation("twist")
    ri.Shader("PxrTexture", "tex", {"string filename": "a.tex"})
    ri.Bxdf("PxrDiffuse", "d1", {"color diffuseColor": [0.8, 0.2, 0.1]})
    ri.Pattern("PxrManifold2D", "m1")
    ri.Displace("PxrDisplace", "disp")
    ri.LightFilter("PxrBlockerLightFilter", "block")
    ri.ShaderLayer("surface", "plastic", "layer1")
    ri.ConnectShaderLayers("surface", "layer1", "Ci", "layer2", "Cs")
    ri.MotionBegin([0, 1])
    ri.Translate(0, 0, 0)
    ri.Translate(0, 0, 1)
    ri.MotionEnd()
    ri.Sphere(1, -1, 1, 360, {"constant color Cs": [1, 0, 0]})
    ri.Cone(1, 1, 360)
    ri.Cylinder(1, -1, 1, 360)
    ri.Disk(0, 1, 360)
    ri.Hyperboloid([1, 0, 0], [0, 1, 1], 360)
    ri.Paraboloid(1, 0, 1, 360)
    ri.Torus(1, 0.25, 0, 360, 360)
    ri.Polygon({"P": P4, "st": np.arange(8, dtype=np.float32)})
    ri.GeneralPolygon([4], {"P": P4})
    ri.PointsPolygons([3, 3], [0, 1, 2, 0, 2, 3], {"P": P4, "varying color Cs": np.ones(12)})
    ri.PointsGeneralPolygons([1], [4], [0, 1, 2, 3], {"P": P4})
    ri.Basis("bezier", 3, "bezier", 3)
    ri.Patch("bilinear", {"P": P4})
    ri.PatchMesh("bilinear", 2, "nonperiodic", 2, "nonperiodic", {"P": P4})
    ri.TrimCurve([1], [2], [0, 0, 1, 1], [0], [1], [2], [0, 1], [0, 1], [1, 1])
    ri.NuPatch(2, [0, 0, 1, 1], 0, 1, 2, [0, 0, 1, 1], 0, 1, {"P": P4})
    ri.Curves("linear", [4], "nonperiodic", {"P": P4, "constantwidth": 0.1})
    ri.Points({"P": P4, "width": [0.1, 0.2, 0.3, 0.4]})
    ri.SubdivisionMesh("catmull-clark", [4], [0, 1, 2, 3], TAGS, [0, 1], [], [2.0], {"P": P4})
    ri.HierarchicalSubdivisionMesh("catmull-clark", [4], [0, 1, 2, 3], TAGS, [0, 1, 0], [], [2.0], [],
                                   {"P": P4})
    ri.Blobby(1, [1001, 0, 0, 1], np.eye(4).ravel(), [], {"varying float density": [1]})
    ri.Procedural(["a.rib"], UNIT, "DelayedReadArchive")
    ri.Procedural2("DelayedReadArchive2", "SimpleBound", {"string filename": "b.rib", "float[6] bound": UNIT})
    ri.Geometry("teapot")
    ri.Volume("box", UNIT, [1, 1, 2], {"vertex float density": [1, 2]})
    ri.SolidBegin("union")
    ri.SolidEnd()
    obj = ri.ObjectBegin()
    ri.Sphere(1, -1, 1, 360)
    ri.ObjectEnd()
    ri.ObjectInstance(obj)
    ri.ReadArchive(archive)
    ri.IfBegin("$pass == 'beauty'")
    ri.ElseIf("$pass == 'shadow'")
    ri.Else()
    ri.IfEnd()
    ri.AttributeEnd()
    ri.WorldEnd()
    ri.FrameEnd()
    ri.EditBegin("attribute")
    ri.EditEnd()
    ri.EditAttributeBegin("obj")
    ri.EditAttributeEnd()
    ri.EditWorldBegin("world")
    ri.EditWorldEnd()


def test_a_scene_of_every_request_survives_a_filter_byte_for_byte(tmp_path):
    scene, filtered = tmp_path / "scene.rib", tmp_path / "filtered.rib"
    with vellum.Ri(str(scene)) as ri:
        every_request(ri)
    read = list(vellum.read(str(scene)))
    methods = {name for name in dir(vellum.Ri) if name[0].isupper() and not name.isupper()}
    silent = {"Begin", "End", "ColorSamples", "TransformPoints"}  # they write no request
    assert sorted(methods - silent - {request.name for request in read}) == []
    with vellum.Ri(str(filtered)) as ri:
        for request in read:
            ri.write(request)
    assert filtered.read_bytes() == scene.read_bytes()


def test_a_filter_changes_what_it_is_asked_to(tmp_path):
    scene, filtered = tmp_path / "scene.rib", tmp_path / "filtered.rib.gz"
    with vellum.Ri(str(scene), binary=True) as ri:
        ri.WorldBegin()
        ri.Sphere(1, -1, 1, 360)
        ri.PointsPolygons([3], [0, 1, 2], {"P": P4[:9], "varying color Cs": np.ones(9)})
        ri.WorldEnd()
    with vellum.Ri(str(filtered), compression="gzip") as ri:
        for request in vellum.read(str(scene)):
            if request.name == "PointsPolygons":
                request.params["varying color Cs"] *= 0.5
            if request.name != "Sphere":
                ri.write(request)
    text = gzip.decompress(filtered.read_bytes()).decode()
    assert "Sphere" not in text and '"varying color Cs" [0.5 0.5 0.5 0.5 0.5 0.5 0.5 0.5 0.5]' in text


SOURCES = [
    lambda path: str(path),
    lambda path: path,  # os.PathLike
    lambda path: path.read_bytes(),
    lambda path: io.BytesIO(gzip.compress(path.read_bytes())),
    lambda path: open(path, "rb"),
]


@pytest.mark.parametrize("source", SOURCES)
def test_read_takes_paths_bytes_and_files(tmp_path, source):
    path = tmp_path / "s.rib"
    path.write_bytes(b'WorldBegin\nSphere 1 -1 1 360 "Cs" [1 0 0 1 0 0 1 0 0 1 0 0]\nWorldEnd\n')
    requests = list(vellum.read(source(path)))
    assert [r.name for r in requests] == ["WorldBegin", "Sphere", "WorldEnd"]
    sphere = requests[1]
    assert sphere.args == (1, -1, 1, 360) and sphere.line == 2
    assert list(sphere.params) == ["varying color Cs"]
    assert sphere.params["varying color Cs"].dtype == np.float32


def test_errors_raise_with_file_and_line_or_are_collected(tmp_path):
    path = tmp_path / "bad.rib"
    path.write_bytes(b'WorldBegin\nPolygon "P" [0 0 0 1 0 0 1 1]\nSphere 1 -1 1 360\nWorldEnd\n')
    seen = []
    with pytest.raises(vellum.RibError) as raised:
        for request in vellum.read(str(path)):
            seen.append(request.name)
    assert seen == ["WorldBegin"]
    assert (raised.value.file, raised.value.line) == (str(path), 2) and "not a multiple of 3" in str(raised.value)
    reading = vellum.read(str(path), strict=False)
    assert [r.name for r in reading] == ["WorldBegin", "Sphere", "WorldEnd"]
    assert [(e.line, "Polygon" in e.message) for e in reading.errors] == [(2, True)]


def test_reading_agrees_with_ribcat(tmp_path):
    """A filter that writes every request gives ribcat's bytes (at six digits)."""
    scene, filtered = tmp_path / "scene.rib", tmp_path / "filtered.rib"
    with vellum.Ri(str(scene)) as ri:
        every_request(ri)
    with vellum.Ri(str(filtered)) as ri:
        for request in vellum.read(str(scene)):
            ri.write(request)
    ribcat = subprocess.run([os.environ["VELLUM_RIBCAT"], "-p", "6", str(scene)], capture_output=True, check=True)
    assert filtered.read_bytes() == ribcat.stdout
