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
        # MONEXPORT_CMAKE_BUILD names a build folder already configured with
        # MONEXPORT_PYTHON=ON (the test build's own), which is used as it is.
        given = os.environ.get("MONEXPORT_CMAKE_BUILD")
        build = Path(given) if given else SOURCE / f"build-pip-{sys.implementation.cache_tag}"
        configure = [
            "cmake", "-S", str(SOURCE), "-B", str(build),
            "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DMONEXPORT_PYTHON=ON", "-DMONEXPORT_TESTS=OFF",
            f"-DPython3_EXECUTABLE={sys.executable}",
        ]
        if shutil.which("ccache"):
            configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 1))
        if not given:
            subprocess.run(configure, check=True)
        subprocess.run(["cmake", "--build", str(build), "-j", jobs, "--target", "monexport_python",
                        "monexport", "monplot", "monplot_web"], check=True)
        built = next((build / "python" / "monexport").glob("_core*.so"))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)
        self.copy_commands(build, target.parent)

    @staticmethod
    def copy_commands(build, package):
        """The commands and what they read at run time, laid out as an
        installation (bin/, share/monexport/) inside the package, where the
        console scripts of monexport._commands run them."""
        bin_dir, share = package / "bin", package / "share" / "monexport"
        bin_dir.mkdir(exist_ok=True)
        for command in ("monexport", "monplot"):
            shutil.copy2(build / command, bin_dir / command)
        shutil.copytree(build / "share" / "monexport" / "web", share / "web", dirs_exist_ok=True)
        shutil.copy2(SOURCE / "data" / "workspace-basic.mst", share)


setup(ext_modules=[Extension("monexport._core", sources=[])], cmdclass={"build_ext": CMakeBuild})
