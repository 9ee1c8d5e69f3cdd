"""vellum.read reads as it is iterated: a batch of requests ahead of the
loop, whatever the length of the stream; gzip decompressed as it goes;
long arrays handed over without a copy; a file object's exceptions and
errors met late in a stream raised where they belong."""
import gzip
import io

import numpy as np
import pytest

import vellum

REQUEST = b"Translate 1 2 3\n"


class CountingFile(io.RawIOBase):
    """A file object over bytes that counts what was read of it."""

    def __init__(self, data, text=False, fail_after=None):
        self._data, self._at, self._text, self._fail_after = data, 0, text, fail_after
        self.read_bytes = 0

    def readable(self):
        return True

    def read(self, size=-1):
        if self._fail_after is not None and self._at >= self._fail_after:
            raise ValueError("the disk went away")
        end = len(self._data) if size < 0 else self._at + size
        block = self._data[self._at:end]
        self._at += len(block)
        self.read_bytes += len(block)
        return block.decode() if self._text else block


def test_a_long_stream_is_read_as_it_is_iterated():
    count = 200_000
    source = CountingFile(REQUEST * count)
    requests = iter(vellum.read(source))
    first = next(requests)
    assert (first.name, first.args, first.line) == ("Translate", (1.0, 2.0, 3.0), 1)
    # Only the file's first block (256 KiB) is read for the first request.
    assert source.read_bytes <= 256 * 1024 < len(REQUEST) * count
    assert sum(1 for _ in requests) == count - 1
    assert source.read_bytes == len(REQUEST) * count


@pytest.mark.parametrize("make", [
    lambda data: data,
    lambda data: gzip.compress(data),
    lambda data: CountingFile(gzip.compress(data)),
    lambda data: CountingFile(data, text=True),
    lambda data: bytearray(gzip.compress(data)),
])
def test_every_source_reads_the_same_requests(make):
    data = b"WorldBegin\n" + REQUEST * 3000 + b'Sphere 1 -1 1 360 "Cs" [1 0 0 1 0 0 1 0 0 1 0 0]\nWorldEnd\n'
    names = [request.name for request in vellum.read(make(data))]
    assert names == ["WorldBegin"] + ["Translate"] * 3000 + ["Sphere", "WorldEnd"]


def test_an_error_late_in_a_stream_comes_after_the_requests_before_it():
    data = REQUEST * 5000 + b"Sphere 1\n" + REQUEST * 10
    seen = 0
    with pytest.raises(vellum.RibError) as raised:
        for _ in vellum.read(data):
            seen += 1
    assert (seen, raised.value.line) == (5000, 5001)
    # Iterating again goes on after the error.
    reading = vellum.read(data)
    requests = iter(reading)
    with pytest.raises(vellum.RibError):
        for _ in requests:
            pass
    assert [request.line for request in reading] == list(range(5002, 5012))
    reading = vellum.read(data, strict=False)
    assert sum(1 for _ in reading) == 5010
    assert [error.line for error in reading.errors] == [5001]


def test_a_file_objects_exception_is_raised_as_it_is():
    source = CountingFile(REQUEST * 100_000, fail_after=300_000)
    seen = 0
    with pytest.raises(ValueError, match="the disk went away"):
        for _ in vellum.read(source):
            seen += 1
    assert 0 < seen < 100_000


def test_the_stream_cannot_be_read_from_its_own_file():
    readings = []

    class Reentrant(CountingFile):
        def read(self, size=-1):
            if readings:  # past the first block, which read() takes at once
                return readings[0]._stream.next_batch()
            return super().read(size)

    readings.append(vellum.read(Reentrant(REQUEST)))
    with pytest.raises(RuntimeError, match="already being read"):
        list(readings[0])


def test_long_arrays_take_over_what_was_read():
    points = np.arange(3 * 40_000, dtype=np.float32)
    text = "Points \"P\" [" + " ".join(f"{v:g}" for v in points) + "]\n"
    indices = " ".join(str(i) for i in range(6000))
    rib = (text + f"PointsPolygons [3 3] [0 1 2 2 1 0] \"P\" [0 0 0 1 0 0 1 1 0]\n"
           f"Curves \"linear\" [6000] \"nonperiodic\" \"P\" [{' '.join('0' for _ in range(18000))}]\n"
           f"Attribute \"user\" \"integer[6000] ids\" [{indices}]\n").encode()
    cloud, mesh, curves, attribute = vellum.read(rib)
    P = cloud.params["vertex point P"]
    assert P.dtype == np.float32 and np.array_equal(P, points)
    assert not P.flags.owndata and P.base is not None  # the reader's vector
    assert mesh.args[0].dtype == np.int32 and list(mesh.args[1]) == [0, 1, 2, 2, 1, 0]
    assert mesh.args[0].flags.owndata  # a short array is copied
    assert curves.params["vertex point P"].shape == (18000,) and not curves.params["vertex point P"].any()
    ids = attribute.params["uniform integer[6000] ids"]
    assert ids.dtype == np.int32 and np.array_equal(ids, np.arange(6000)) and not ids.flags.owndata


def test_readings_side_by_side_keep_to_their_own_streams():
    a = iter(vellum.read(b"Declare \"k\" \"uniform float\"\n" + b'Surface "s" "k" 1\n' * 600))
    b = iter(vellum.read(b"Declare \"k\" \"uniform string\"\n" + b'Surface "s" "k" "x"\n' * 600))
    assert next(a).name == next(b).name == "Declare"
    for _ in range(600):
        assert list(next(a).params) == ["uniform float k"]
        assert list(next(b).params) == ["uniform string k"]
