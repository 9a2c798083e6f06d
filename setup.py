"""Builds the Python package through the project's own CMake.

The extension module, the libraries it links and the plug-in it loads are installed together into
the package folder; the module finds the libraries through $ORIGIN and the plug-in from its own
place, so an installed package needs no build tree and no environment variables. Only what the
module needs is built: a Release build without tests, benchmarks, man page, presenter or video
streams. CMAKE_ARGS adds configuration arguments; CMAKE_BUILD_PARALLEL_LEVEL sets the jobs (default:
one per processor).
"""

import os
import re
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE_DIR = Path(__file__).resolve().parent
PACKAGE = "xelpseudocolor"
# The install layout inside the staging prefix: the module's folder doubles as the library folder,
# so every RPATH is $ORIGIN and the plug-in sits in its usual subfolder next to them.
STAGED_PACKAGE = f"site/{PACKAGE}"


def project_version():
    """The release number from project(XelPseudoColor VERSION ...) in the top CMakeLists.txt."""
    text = (SOURCE_DIR / "CMakeLists.txt").read_text(encoding="utf-8")
    found = re.search(r"^project\(\s*XelPseudoColor\s+VERSION\s+([0-9.]+)", text, re.MULTILINE)
    if found is None:
        raise RuntimeError("CMakeLists.txt has no project(XelPseudoColor VERSION ...) line")
    return found.group(1)


class CMakeExtension(Extension):
    """An extension CMake builds; setuptools compiles nothing of it."""

    def __init__(self, name):
        super().__init__(name, sources=[])


class BuildWithCMake(build_ext):
    def build_extension(self, ext):
        package_dir = Path(self.get_ext_fullpath(ext.name)).resolve().parent
        work = Path(self.build_temp).resolve()
        build_dir, staging = work / "cmake", work / "staging"
        self._run(["cmake", "-S", str(SOURCE_DIR), "-B", str(build_dir), *self._configure_args()])
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") or str(os.cpu_count() or 1)
        self._run(["cmake", "--build", str(build_dir), "--target", "xelpseudocolor_core", "--parallel", jobs])
        shutil.rmtree(staging, ignore_errors=True)
        for component in ("runtime", "python"):
            self._run(["cmake", "--install", str(build_dir), "--prefix", str(staging), "--component", component])
        copy_resolving_links(staging / STAGED_PACKAGE, package_dir)

    def _configure_args(self):
        args = [
            "-DCMAKE_BUILD_TYPE=Release",
            f"-DPython3_EXECUTABLE={sys.executable}",
            f"-DCMAKE_INSTALL_LIBDIR={STAGED_PACKAGE}",
            f"-DXEL_PYTHON_INSTALL_DIR={Path(STAGED_PACKAGE).parent}",
            "-DXEL_BUILD_TESTS=OFF",
            "-DXEL_BUILD_BENCH=OFF",
            "-DXEL_BUILD_MAN_PAGE=OFF",
            "-DXEL_WITH_PRESENTER=OFF",
            "-DXEL_WITH_GSTREAMER=OFF",
        ]
        if "CMAKE_GENERATOR" not in os.environ and shutil.which("ninja"):
            args += ["-G", "Ninja"]
        return args + shlex.split(os.environ.get("CMAKE_ARGS", ""))

    def _run(self, command):
        self.announce(" ".join(command), level=2)
        subprocess.run(command, check=True)


def copy_resolving_links(source, target):
    """Copies the staged package; a wheel cannot hold symbolic links, so each library is stored once,
    under the name the loader asks for (its SONAME link), and the file that link points to is left out."""
    linked = {(path.parent / os.readlink(path)).resolve() for path in source.rglob("*") if path.is_symlink()}
    for path in sorted(source.rglob("*")):
        destination = target / path.relative_to(source)
        if path.is_dir() and not path.is_symlink():
            destination.mkdir(parents=True, exist_ok=True)
        elif path.is_symlink() or path.resolve() not in linked:
            destination.parent.mkdir(parents=True, exist_ok=True)
            destination.unlink(missing_ok=True)
            shutil.copy2(path, destination)


setup(
    version=project_version(),
    package_dir={"": "python"},
    packages=[PACKAGE],
    zip_safe=False,
    ext_modules=[CMakeExtension(f"{PACKAGE}._core")],
    cmdclass={"build_ext": BuildWithCMake},
)
