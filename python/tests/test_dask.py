"""The documented Dask example on a LocalCluster of two worker processes gives the serial results."""

import os
import sys
from pathlib import Path

import numpy as np
import pytest

import xelpseudocolor as xp
from conftest import quantised

pytest.importorskip("dask.bag")
distributed = pytest.importorskip("distributed")
Image = pytest.importorskip("PIL.Image")

EXAMPLES = Path(__file__).parents[1] / "examples"
pytestmark = pytest.mark.filterwarnings("ignore:make_current is deprecated:DeprecationWarning")


def test_two_worker_processes_give_the_serial_results(scene, samples, tmp_path, monkeypatch):
    frames = tmp_path / "frames"
    frames.mkdir()
    serial = []
    for index in range(6):
        frame = quantised(np.roll(scene, 25 * index, axis=1), 12)
        # PNG and .npy frames alike; Pillow writes the 16-bit PNG, the example reads it back
        if index % 2:
            np.save(frames / f"frame{index}.npy", frame)
        else:
            Image.fromarray(frame).save(frames / f"frame{index}.png")
        serial.append((xp.pseudocolor(frame, profile=2, auto="contrast", input_bits=12),
                       xp.Temperature(samples / "calibration.ini").measure(frame, input_bits=12)))

    # Worker processes import the example and the module the way a cluster's workers would.
    monkeypatch.syspath_prepend(str(EXAMPLES))
    monkeypatch.setenv("PYTHONPATH", os.pathsep.join([str(EXAMPLES), os.environ.get("PYTHONPATH", "")]))
    import dask_folder

    out = tmp_path / "out"
    cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None)
    with cluster, distributed.Client(cluster) as client:
        readings = dask_folder.colour_folder(frames, out, profile=2, input_bits=12,
                                             calibration=str(samples / "calibration.ini"))
        workers = client.run(os.getpid)
    assert len(set(workers.values()) - {os.getpid()}) == 2

    assert [r.pop("frame") for r in readings] == [f"frame{i}.{'npy' if i % 2 else 'png'}" for i in range(6)]
    for index, (rgb, reading) in enumerate(serial):
        with Image.open(out / f"frame{index}.png") as picture:
            assert np.array_equal(np.array(picture), rgb), f"frame {index}"
        assert readings[index] == reading
    assert not list(out.glob(".*.part"))
