"""The Python examples run, and qview --strict finds what they write valid."""
import gzip
import os
import subprocess
import sys

import vellum

EXAMPLES = os.environ["VELLUM_EXAMPLES"]


def run(tmp_path, *args):
    subprocess.run([sys.executable, *args], cwd=tmp_path, check=True)


def qview(path):
    return subprocess.run([os.environ["VELLUM_QVIEW"], "--strict", str(path)], capture_output=True, text=True)


def test_the_exporter_writes_a_valid_binary_mesh_and_the_filter_changes_it(tmp_path):
    run(tmp_path, os.path.join(EXAMPLES, "mesh_export.py"), "torus.rib")
    assert qview(tmp_path / "torus.rib").returncode == 0
    assert b"PointsPolygons" in (tmp_path / "torus.rib").read_bytes()
    scene = tmp_path / "scene.rib"
    scene.write_bytes(b'ShadingRate 1\nWorldBegin\nDisplacement "bumpy"\nSphere 1 -1 1 360\nWorldEnd\n')
    run(tmp_path, os.path.join(EXAMPLES, "rib_filter.py"), "scene.rib", "out.rib.gz")
    assert qview(tmp_path / "out.rib.gz").returncode == 0
    names = [(r.name, r.args) for r in vellum.read(tmp_path / "out.rib.gz") if r.name != "version"]
    assert names == [("ShadingRate", (2.0,)), ("WorldBegin", ()), ("Sphere", (1, -1, 1, 360)), ("WorldEnd", ())]
    assert gzip.decompress((tmp_path / "out.rib.gz").read_bytes()).startswith(b"##RenderMan")


def test_archives_written_by_a_pool_of_threads_make_a_valid_scene(tmp_path):
    run(tmp_path, os.path.join(EXAMPLES, "archives_in_threads.py"), "9", "3")
    # The archives are read from where the scene is.
    check = subprocess.run([os.environ["VELLUM_QVIEW"], "--strict", "scene.rib"], cwd=tmp_path,
                           capture_output=True, text=True)
    assert check.returncode == 0, check.stderr
    assert check.stderr == "qview: 50 requests, 1 world, 1 primitive, 0 errors\n"
    objects = [(tmp_path / f"object{k}.rib").read_bytes() for k in range(9)]
    assert all(b"PointsPolygons" in rib and b"\xc8" in rib for rib in objects)
    assert b'Declare "bumps" "constant float"' in objects[0]
    assert b'Declare "bumps" "constant float[2]"' in objects[1]
