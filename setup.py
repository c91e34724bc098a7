"""Builds monexport._core with the project's CMake build, for pip.

The C++ libraries need the system packages of tools/install-deps.sh (Qt5
Core, HDF5, CGNS, pugixml, pybind11). CMake's build folder stays in the
source tree (build-pip-TAG/), so that installing again rebuilds only what
changed; the compiler goes through ccache when there is one.
"""

import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build = SOURCE / f"build-pip-{sys.implementation.cache_tag}"
        configure = [
            "cmake", "-S", str(SOURCE), "-B", str(build),
            "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DMONEXPORT_PYTHON=ON", "-DMONEXPORT_TESTS=OFF",
            f"-DPython3_EXECUTABLE={sys.executable}",
        ]
        if shutil.which("ccache"):
            configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 1))
        subprocess.run(configure, check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "monexport_python",
                        "-j", jobs], check=True)
        built = next((build / "python" / "monexport").glob("_core*.so"))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


setup(ext_modules=[Extension("monexport._core", sources=[])], cmdclass={"build_ext": CMakeBuild})
