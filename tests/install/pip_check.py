"""The Python package as pip installs it: the checkout copied without .git, its source distribution
made and unpacked, that tree installed into a fresh virtual environment (the system's packages
visible, nothing from an index) and then deleted with its build tree. The installed module must find
its libraries and the plug-in inside the environment and give the build tree's module's bytes.

    python3 pip_check.py SOURCE_DIR WORK_DIR BUILD_PYTHON_DIR VERSION
"""

import os
import shutil
import subprocess
import sys
import tarfile
import time
from pathlib import Path

SCRIPT = """
import sys, numpy as np, xelpseudocolor as xp
ramp = (np.arange(64 * 48, dtype=np.uint32).reshape(48, 64) * 21).astype(np.uint16)
np.save(sys.argv[1], xp.pseudocolor(ramp, profile="black blue purple", auto="contrast"))
print(xp.plugin_path())
print(xp.__file__)
"""


def fail(message):
    sys.exit(f"pip_check: {message}")


def run(command, **options):
    done = subprocess.run([str(part) for part in command], capture_output=True, text=True, **options)
    if done.returncode != 0:
        fail(f"{' '.join(map(str, command))} exited with {done.returncode}:\n{done.stdout}\n{done.stderr}")
    return done.stdout


def skip_build_trees(folder, names):
    """The checkout may hold CMake build trees and earlier packaging output; none belongs in a copy."""
    return [name for name in names
            if name in (".git", "__pycache__", "dist") or name.endswith(".egg-info")
            or (Path(folder) / name / "CMakeCache.txt").exists()]


def without_build_paths(env):
    return {key: value for key, value in env.items()
            if key not in ("PYTHONPATH", "LD_LIBRARY_PATH", "XELPSEUDOCOLOR_PLUGIN")}


def main(source, work, build_python, version):
    shutil.rmtree(work, ignore_errors=True)
    checkout, dist, unpacked, venv = work / "checkout", work / "dist", work / "unpacked", work / "venv"
    shutil.copytree(source, checkout, ignore=skip_build_trees, symlinks=True)

    run([sys.executable, "-m", "build", "--sdist", "--no-isolation", "--outdir", dist, checkout])
    (sdist,) = dist.glob("*.tar.gz")
    if sdist.name != f"xelpseudocolor-{version}.tar.gz":
        fail(f"the source distribution is {sdist.name}, not release {version}")
    with tarfile.open(sdist) as archive:
        archive.extractall(unpacked)
    (tree,) = unpacked.iterdir()
    shutil.rmtree(checkout)

    run([sys.executable, "-m", "venv", "--system-site-packages", venv])
    python = venv / "bin" / "python"
    started = time.monotonic()
    run([python, "-m", "pip", "install", "--no-build-isolation", "--no-index", "--no-cache-dir", tree],
        env=without_build_paths(os.environ))
    print(f"pip install took {time.monotonic() - started:.0f} s")
    shutil.rmtree(unpacked)  # the source and the build tree pip built in

    env = without_build_paths(os.environ)
    installed = run([python, "-c", SCRIPT, work / "installed.npy"], cwd=work, env=env).split("\n")
    plugin, module = Path(installed[0]), Path(installed[1])
    for path in (plugin, module):
        if not path.resolve().is_relative_to(venv.resolve()):
            fail(f"the installed module uses {path}, outside the environment {venv}")
    reported = run([python, "-c", "import importlib.metadata as m; print(m.version('xelpseudocolor'))"], env=env)
    if reported.strip() != version:
        fail(f"the installed package says release {reported.strip()}, the project {version}")
    for library in module.parent.rglob("*.so*"):
        for line in run(["readelf", "-d", library]).splitlines():
            if "RUNPATH" in line or "RPATH" in line:
                paths = line.split("[", 1)[1].rstrip("]").split(":")
                if any(not path.startswith("$ORIGIN") for path in paths):
                    fail(f"{library} looks for libraries outside the package: {line.strip()}")

    run([sys.executable, "-c", SCRIPT, work / "built.npy"], cwd=work, env=dict(env, PYTHONPATH=build_python))
    compare = "import sys, numpy as np; sys.exit(not np.array_equal(np.load(sys.argv[1]), np.load(sys.argv[2])))"
    done = subprocess.run([sys.executable, "-c", compare, work / "installed.npy", work / "built.npy"])
    if done.returncode != 0:
        fail("the pip-installed module and the build tree's module give different pictures")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3], sys.argv[4])
