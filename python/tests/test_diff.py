"""vellum.diff: pairs of Request objects for what differs between two RIB
streams, whatever their encodings; tolerances at their edge; errors with
the stream's name and line."""
import gzip

import pytest

import vellum

BASE = b"""WorldBegin
Translate 0 0 5
Sphere 1 -1 1 360
Color [1 0 0]
Polygon "P" [0 0 0 1 0 0 1 1 0]
WorldEnd
"""


def scene(ri):
    ri.WorldBegin()
    ri.Translate(0, 0, 5)
    ri.Sphere(1, -1, 1, 360)
    ri.Color([1, 0, 0])
    ri.Polygon({"P": [0, 0, 0, 1, 0, 0, 1, 1, 0]})
    ri.WorldEnd()


def written(tmp_path, **begin):
    path = tmp_path / "scene.rib"
    with vellum.Ri(str(path), **begin) as ri:
        scene(ri)
    return path.read_bytes()


def shape(pairs):
    """Each pair as (name of A or None, name of B or None)."""
    return [tuple(None if r is None else r.name for r in pair) for pair in pairs]


@pytest.mark.parametrize("b, expected", [
    (BASE, []),
    (b"##RenderMan RIB\n# a comment\n" + BASE.replace(b" 0 0 5", b" 0.0 0e0 5.00"), []),
    (BASE.replace(b"360", b"300"), [("Sphere", "Sphere")]),
    (BASE.replace(b"Color [1 0 0]\n", b""), [("Color", None)]),
    (BASE.replace(b"WorldEnd", b"Color [0 1 0]\nWorldEnd"), [(None, "Color")]),
    (BASE.replace(b'"P"', b'"Pw"').replace(b"1 1 0]", b"1 1 0 1 1 1]"), [("Polygon", "Polygon")]),
    (BASE.replace(b"Translate 0 0 5\nSphere 1 -1 1 360\n", b"Sphere 1 -1 1 360\nTranslate 0 0 5\n"),
     [("Translate", None), (None, "Translate")]),
], ids=["equal", "comments-and-formatting", "number", "removed", "added", "parameter", "moved"])
def test_differences_are_pairs_of_requests(b, expected):
    assert shape(vellum.diff(BASE, b)) == expected


def test_a_changed_request_pairs_both_sides_with_their_values_and_lines():
    [(a, b)] = vellum.diff(BASE, BASE.replace(b"360", b"300"))
    assert (a.args, a.file, a.line) == ((1.0, -1.0, 1.0, 360.0), "<bytes a>", 3)
    assert (b.args, b.file, b.line) == ((1.0, -1.0, 1.0, 300.0), "<bytes b>", 3)


def test_encodings_and_declarations_do_not_count(tmp_path):
    ascii_rib = written(tmp_path)
    binary_rib = written(tmp_path, binary=True)
    assert binary_rib != ascii_rib
    declared = BASE.replace(b"WorldBegin", b'Declare "k" "uniform float"\nWorldBegin').replace(
        b"Sphere 1 -1 1 360", b'Sphere 1 -1 1 360 "k" [2]')
    inline = BASE.replace(b"Sphere 1 -1 1 360", b'Sphere 1 -1 1 360 "uniform float k" [2]')
    assert list(vellum.diff(BASE, binary_rib)) == []
    assert list(vellum.diff(gzip.compress(ascii_rib), binary_rib)) == []
    assert list(vellum.diff(declared, inline)) == []
    # The same name declared otherwise is another parameter.
    assert shape(vellum.diff(declared, inline.replace(b"uniform float k", b"constant float k"))) == [
        ("Sphere", "Sphere")]


@pytest.mark.parametrize("tolerance, new, equal", [
    ({}, b"5.0001", False),
    ({"abs": 0.001}, b"5.001", True),
    ({"abs": 0.001}, b"5.0011", False),
    ({"rel": 0.01}, b"5.05", True),
    ({"rel": 0.01}, b"5.06", False),
])
def test_numbers_are_equal_within_the_tolerance(tolerance, new, equal):
    changed = BASE.replace(b"0 0 5", b"0 0 " + new)
    assert (list(vellum.diff(BASE, changed, **tolerance)) == []) is equal


def test_comments_count_when_asked():
    commented = BASE.replace(b"WorldEnd", b"# note\nWorldEnd")
    assert list(vellum.diff(BASE, commented)) == []
    [(a, b)] = vellum.diff(BASE, commented, comments=True)
    assert a is None and (b.name, b.args, b.line) == ("ArchiveRecord", ("comment", "note"), 6)


def test_paths_are_read_as_files(tmp_path):
    a, b = tmp_path / "a.rib", tmp_path / "b.rib.gz"
    a.write_bytes(BASE)
    b.write_bytes(gzip.compress(BASE.replace(b"360", b"90")))
    [(ra, rb)] = vellum.diff(a, str(b))
    assert (ra.file, rb.file, rb.args[3]) == (str(a), str(b), 90.0)


def test_trouble_raises():
    with pytest.raises(vellum.RibError) as raised:
        vellum.diff(BASE, BASE.replace(b"Sphere 1 -1 1 360", b"Sphere 1 -1"))
    assert (raised.value.file, raised.value.line) == ("<bytes b>", 3)
    with pytest.raises(OSError):
        vellum.diff(BASE, "/nonexistent/scene.rib")
    with pytest.raises(TypeError):
        vellum.diff(BASE, 42)
    with pytest.raises(ValueError):
        vellum.diff(BASE, BASE, rel=-1)
