import os
import subprocess

import pytest

import vellum


@pytest.fixture
def rib(tmp_path):
    """Writes through a fresh Ri into a file and returns its bytes."""

    def write(calls, **begin):
        path = tmp_path / "out.rib"
        with vellum.Ri(str(path), **begin) as ri:
            calls(ri)
        return path.read_bytes()

    return write


@pytest.fixture
def reference(tmp_path):
    """The bytes the C interface writes for a case of reference_calls.c."""

    def run(case):
        path = tmp_path / "reference.rib"
        subprocess.run([os.environ["VELLUM_REFERENCE_CALLS"], case, str(path)], check=True)
        return path.read_bytes()

    return run
