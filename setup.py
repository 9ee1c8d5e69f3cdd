"""The build of the Python package: the project's CMake builds the extension
module vellum._vellum (and the library and reader it links) and writes its
type stubs; setuptools packs them with python/vellum."""
import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).parent.resolve()


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = Path(self.build_temp).resolve() / "cmake"
        args = [
            f"-DPython_EXECUTABLE={sys.executable}",
            "-DCMAKE_BUILD_TYPE=Release",
            "-DVELLUM_PYTHON=ON",
            "-DVELLUM_EXAMPLES=OFF",
            "-DVELLUM_INSTALL=OFF",
            "-DVELLUM_BENCHMARKS=OFF",
        ]
        try:  # pybind11 from the package index, where it came from there
            import pybind11

            args.append(f"-Dpybind11_DIR={pybind11.get_cmake_dir()}")
        except ImportError:
            pass
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), *args], check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 2))
        subprocess.run(["cmake", "--build", str(build), "--target", "vellum_python", "-j", jobs], check=True)
        package = build / "python" / "vellum"
        if not (package / "_vellum.pyi").exists():
            sys.exit("vellum: CMake built no Python package: are pybind11 and the Python headers installed?")
        destination = Path(self.get_ext_fullpath(ext.name)).parent
        destination.mkdir(parents=True, exist_ok=True)
        shutil.copy2(package / Path(self.get_ext_filename(ext.name)).name, destination)
        shutil.copy2(package / "_vellum.pyi", destination)


setup(
    packages=["vellum"],
    package_dir={"": "python"},
    package_data={"vellum": ["py.typed"]},
    ext_modules=[Extension("vellum._vellum", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    # Apart from the CMake build directory the README uses (build/).
    options={"build": {"build_base": "build-pip"}, "egg_info": {"egg_base": "build-pip"}},
)
