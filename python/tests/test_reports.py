"""xelimg temperature's reports against numpy: per-area statistics to 0.01 K through the sample
calibration, CSV and JSON Lines as their standard readers take them, and the float temperature map as
Pillow reads it."""

import csv
import io
import json
import math

import numpy as np
import pytest

from conftest import quantised, write_pgm

AREAS = {"disc": (170, 80, 60, 60), "edge": (0, 0, 320, 1), "spot": (200, 110, 1, 1)}
COLUMNS = ["file", "frame", "page", "time", "kind", "area", "shape", "index", "x", "y", "width", "height", "grey",
           "pixels", "unavailable", "saturated", "below_calibration", "above_calibration", "mean_grey", "epsilon",
           "temperature", "mean_temperature", "mean", "min", "max", "std", "coldest_x", "coldest_y", "hottest_x",
           "hottest_y", "unit"]


def calibration_curve(path):
    """The sample file's least-squares parabola, emissivity and unit, computed here with numpy."""
    keys = {}
    for line in path.read_text(encoding="latin-1").splitlines():
        if "=" in line and not line.lstrip().startswith(";"):
            key, value = line.split("=", 1)
            keys[key.strip()] = value.strip()
    points = np.array([[float(v) for v in keys[k].split(",")] for k in sorted(k for k in keys if k.startswith("Point_"))])
    a2, a1, a0 = np.polyfit(points[:, 0], points[:, 1], 2) if len(points) > 2 else (0.0, *np.polyfit(points[:, 0], points[:, 1], 1))
    eps, bg = float(keys.get("Epsilon", 1)), float(keys.get("BgTempKelvin", 293.15))
    ofs, mult = float(keys.get("KelvinToUnitOfs", -273.15)), float(keys.get("KelvinToUnitMult", 1))

    def temperature(g):
        apparent = a0 + a1 * g + a2 * g * g
        t4 = bg ** 4 + (apparent ** 4 - bg ** 4) / eps
        return (np.power(np.where(t4 < 0, np.nan, t4), 0.25) + ofs) * mult

    return temperature


def aoi_options():
    return [arg for name, box in AREAS.items() for arg in ("--aoi", f"{name}={','.join(map(str, box))}")]


@pytest.fixture
def frames(scene, tmp_path):
    """Two 12-bit frames: the scene and the scene brighter."""
    files = []
    for i, gain in enumerate((1.0, 1.2)):
        frame = quantised(np.clip(scene * gain, 0, 1), 12)
        files.append((write_pgm(tmp_path / f"frame{i}.pgm", frame, 12), frame))
    return files


def test_csv_and_json_statistics_equal_numpys(xelimg, samples, frames):
    temperature = calibration_curve(samples / "calibration.ini")
    options = ["--ini", samples / "calibration.ini", *aoi_options()]
    rows = list(csv.DictReader(io.StringIO(xelimg("temperature", *(f for f, _ in frames), "--csv", *options), newline="")))
    lines = [json.loads(line) for line in xelimg("temperature", *(f for f, _ in frames), "--json", *options).splitlines()]
    assert len(rows) == len(lines) == len(frames) * len(AREAS)
    assert list(rows[0].keys()) == COLUMNS
    for row, line in zip(rows, lines):
        frame_file, frame = frames[int(row["frame"])]
        assert row["file"] == line["source"] == str(frame_file) and row["unit"] == line["unit"] == "°C"
        x, y, w, h = AREAS[row["area"]]
        pixels = temperature(frame[y:y + h, x:x + w].astype(np.float64) / 4096)
        expected = {"min": pixels.min(), "max": pixels.max(), "std": pixels.std(), "mean": pixels.mean(),
                    "mean_temperature": temperature(frame[y:y + h, x:x + w].mean() / 4096)}
        for key, value in expected.items():
            assert float(row[key]) == pytest.approx(value, abs=0.01), key
            assert line[key] == float(row[key]), key
        hot = np.unravel_index(np.argmax(pixels), pixels.shape)
        assert (int(row["hottest_y"]) - y, int(row["hottest_x"]) - x) == hot
        assert int(row["pixels"]) == w * h and row["unavailable"] == "0"
        # The object's own reading, rounded as it prints it, is the helper's mean.
        assert line["temperature"] == round(line["mean_temperature"], 1)


def test_temperature_map_reads_back_as_the_calibration_per_pixel(xelimg, samples, frames, tmp_path):
    Image = pytest.importorskip("PIL.Image")
    temperature = calibration_curve(samples / "calibration.ini")
    out = tmp_path / "map.tif"
    xelimg("temperature", *(f for f, _ in frames), "--ini", samples / "calibration.ini", "--temperature-map", out, "--quiet")
    with Image.open(out) as tiff:
        assert tiff.n_frames == len(frames)
        for page, (_, frame) in enumerate(frames):
            tiff.seek(page)
            assert tiff.mode == "F"
            got = np.array(tiff, dtype=np.float64)
            np.testing.assert_allclose(got, temperature(frame / 4096), atol=1e-3)


def test_unavailable_temperatures_are_nan_in_the_map_and_empty_in_the_csv(xelimg, tmp_path):
    Image = pytest.importorskip("PIL.Image")
    frame = np.array([[0, 255]], dtype=np.uint8)
    pgm = write_pgm(tmp_path / "cold.pgm", frame, 8)
    calibration = tmp_path / "cold.ini"
    calibration.write_text("[Temperature display]\nPoint_0=0,100\nPoint_1=1,500\nEpsilon=0.5\n")
    out = tmp_path / "map.tif"
    table = xelimg("temperature", pgm, "--ini", calibration, "--csv", "--aoi", "cold=0,0,1,1",
                   "--temperature-map", out)
    (row,) = list(csv.DictReader(io.StringIO(table, newline="")))
    assert row["unavailable"] == "1" and row["min"] == row["max"] == row["std"] == row["temperature"] == ""
    with Image.open(out) as tiff:
        got = np.array(tiff)
    assert math.isnan(got[0, 0]) and not math.isnan(got[0, 1])
