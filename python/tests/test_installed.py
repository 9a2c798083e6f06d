"""The module as a user meets it: installed into a fresh prefix, moved, imported from there, finding
its framework library and the plug-in inside the moved tree, giving the installed xelimg's bytes."""

import os
import subprocess
import sys
from pathlib import Path

import numpy as np
import pytest

from conftest import quantised, read_tiff, write_pgm

SCRIPT = """
import sys, numpy as np, xelpseudocolor as xp
frame = np.load(sys.argv[1])
print(xp.plugin_path())
np.save(sys.argv[2], xp.pseudocolor(frame, profile=3, auto="contrast", input_bits=12))
"""


def test_installed_module_runs_from_a_moved_prefix(scene, tmp_path):
    build, cmake = os.environ.get("XEL_BUILD_DIR"), os.environ.get("CMAKE_COMMAND")
    if not build or not cmake:
        pytest.skip("XEL_BUILD_DIR and CMAKE_COMMAND name no build tree (ctest sets them)")
    staging, prefix = tmp_path / "staging", tmp_path / "prefix"
    subprocess.run([cmake, "--install", build, "--prefix", staging], check=True, capture_output=True)
    staging.rename(prefix)  # nothing may point back at where it was installed

    frame = quantised(scene, 12)
    np.save(tmp_path / "frame.npy", frame)
    env = {key: value for key, value in os.environ.items()
           if key not in ("PYTHONPATH", "XELPSEUDOCOLOR_PLUGIN", "LD_LIBRARY_PATH")}
    env["PYTHONPATH"] = str(prefix / os.environ.get("XEL_PYTHON_INSTALL_DIR", "lib/python3/dist-packages"))
    done = subprocess.run([sys.executable, "-c", SCRIPT, tmp_path / "frame.npy", tmp_path / "rgb.npy"],
                          cwd=tmp_path, env=env, capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert Path(done.stdout.strip()).is_relative_to(prefix)

    pgm = write_pgm(tmp_path / "frame.pgm", frame, 12)
    subprocess.run([prefix / "bin" / "xelimg", "pseudo", pgm, tmp_path / "ref.tif", "--profile", "3", "--auto",
                    "contrast"], check=True, capture_output=True)
    assert np.array_equal(np.load(tmp_path / "rgb.npy"), read_tiff(tmp_path / "ref.tif"))


def test_a_plugin_that_cannot_be_loaded_is_an_os_error_naming_it(tmp_path):
    script = ("import numpy as np, xelpseudocolor as xp\n"
              "try:\n    xp.pseudocolor(np.zeros((2, 2), np.uint8))\n"
              "except OSError as error:\n    print(error)\n")
    env = dict(os.environ, XELPSEUDOCOLOR_PLUGIN=str(tmp_path / "libMissing.so"))
    done = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert "libMissing.so" in done.stdout
