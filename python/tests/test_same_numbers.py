"""measure_areas, map and pseudocolor with a range or a threshold give xelimg's JSON, float TIFF and
pictures: the numbers to the last digit xelimg prints, the pixels exactly. Refused arguments and a
frame too large for memory are Python exceptions."""

import json
import subprocess
import sys
import textwrap

import numpy as np
import pytest

import xelpseudocolor as xp
from conftest import quantised, read_tiff, temperature_json, write_pgm

AREAS = ["disc=170,80,60,60", "edge=0,0,320,1", "200,110,1,1", "oval=ellipse:200,110,30.5,12",
         "tri=polygon:10.5,10.25,90,30.75,40.25,100", "spot:160,120,4", "cut=300,220,50,50"]
COUNTS = {"x", "y", "width", "height", "pixels", "unavailable", "saturated", "below_calibration", "above_calibration",
          "coldest_x", "coldest_y", "hottest_x", "hottest_y", "index", "grey"}
TEXTS = {"kind", "area", "shape", "unit"}


def json_lines(text):
    """xelimg temperature --json's lines, with every number kept as the text it printed."""
    return [json.loads(line, parse_float=str, parse_int=str) for line in text.splitlines()]


def assert_record_prints_as(record, line):
    """One measure_areas dict against one xelimg JSON line whose numbers were kept as printed text."""
    assert list(record) == list(line)
    assert (record["frame"], record["source"], record["page"], record["time"]) == (0, None, 0, None)
    for key in list(line)[4:]:
        got, printed = record[key], line[key]
        if printed is None or key in TEXTS:
            assert got == printed, key
        elif key in COUNTS:
            assert got == int(printed), key
        elif key == "mean_grey":
            assert f"{got:.6f}" == printed
        else:
            assert got == float(printed), key  # the shortest exact text, or the object's own


@pytest.fixture
def frame12(scene, tmp_path):
    frame = quantised(scene, 12)
    return frame, write_pgm(tmp_path / "frame12.pgm", frame, 12)


@pytest.mark.parametrize("bits", [8, 12, 16])
def test_measure_areas_equals_xelimgs_json(xelimg, samples, scene, tmp_path, bits):
    frame = quantised(scene, bits)
    pgm = write_pgm(tmp_path / "frame.pgm", frame, bits)
    calibration = samples / "calibration.ini"
    for areas, epsilon in ((None, None), (AREAS, None), (AREAS[:1], 0.5)):
        options = ["--ini", calibration] + [a for area in areas or [] for a in ("--aoi", area)]
        options += ["--epsilon", epsilon] if epsilon else []
        lines = json_lines(xelimg("temperature", pgm, "--json", *options))
        records = xp.Temperature(calibration, epsilon=epsilon).measure_areas(frame, areas, input_bits=bits)
        assert len(records) == len(lines) == len(areas or [None])
        for record, line in zip(records, lines):
            assert_record_prints_as(record, line)
    assert records[0]["area"] == "disc" and records[0]["epsilon"] == 0.5


@pytest.mark.parametrize("ends", [(3, 4, 250, 200), (319, 0, 0, 239), (-10, 120, 400, 121)])
def test_line_samples_equal_xelimgs_json(xelimg, samples, frame12, ends):
    frame, pgm = frame12
    calibration = samples / "calibration.ini"
    lines = json_lines(xelimg("temperature", pgm, "--json", "--ini", calibration, "--line", ",".join(map(str, ends))))
    samples_ = [line for line in lines if line["kind"] == "line"]
    records = xp.Temperature(calibration).line(frame, *ends, input_bits=12)
    assert len(records) == len(samples_) > 0
    for record, line in zip(records, samples_):
        assert_record_prints_as(record, line)


def test_unavailable_temperatures_are_none_and_nan(xelimg, tmp_path):
    frame = np.array([[0, 255]], dtype=np.uint8)
    pgm = write_pgm(tmp_path / "cold.pgm", frame, 8)
    ini = tmp_path / "cold.ini"
    ini.write_text("[Temperature display]\nPoint_0=0,100\nPoint_1=1,500\nEpsilon=0.5\n")
    meter = xp.Temperature(ini)
    (cold,) = meter.measure_areas(frame, "cold=0,0,1,1")
    assert_record_prints_as(cold, temperature_json(xelimg, pgm, "--ini", ini, "--aoi", "cold=0,0,1,1"))
    assert cold["unavailable"] == 1 and cold["min"] is None and cold["temperature"] is None
    out = tmp_path / "map.tif"
    xelimg("temperature", pgm, "--ini", ini, "--temperature-map", out, "--quiet")
    assert np.array_equal(meter.map(frame), read_tiff(out)[:, :, 0], equal_nan=True)
    assert np.isnan(meter.map(frame)[0, 0])


@pytest.mark.parametrize("epsilon", [None, 0.8])
def test_map_equals_xelimgs_float_tiff(xelimg, samples, frame12, tmp_path, epsilon):
    frame, pgm = frame12
    out = tmp_path / "map.tif"
    options = ["--epsilon", epsilon] if epsilon else []
    xelimg("temperature", pgm, "--ini", samples / "calibration.ini", "--temperature-map", out, "--quiet", *options)
    got = xp.Temperature(samples / "calibration.ini", epsilon=epsilon).map(frame, input_bits=12)
    assert got.dtype == np.float32 and got.shape == frame.shape
    assert np.array_equal(got, read_tiff(out)[:, :, 0])


@pytest.mark.parametrize("keywords, options", [
    ({"range": (20, 80)}, ["--range", "20:80"]),
    ({"range": (-5.5, 150.25), "profile": 2, "out_bits": 16}, ["--range", "-5.5:150.25", "--profile", "2", "--bits", "16"]),
    ({"range": (40, 40)}, ["--range", "40:40"]),
])
def test_range_in_the_calibrations_unit_equals_xelimgs_picture(xelimg, samples, frame12, tmp_path, keywords, options):
    frame, pgm = frame12
    calibration = samples / "calibration.ini"
    out = tmp_path / "out.tif"
    xelimg("pseudo", pgm, out, "--ini", calibration, *options)
    rgb = xp.pseudocolor(frame, input_bits=12, calibration=xp.Temperature(calibration), **keywords)
    assert np.array_equal(rgb, read_tiff(out))


@pytest.mark.filterwarnings("ignore:range. the window is in the linear default unit")
def test_range_without_calibration_and_the_threshold_equal_xelimgs(xelimg, frame12, tmp_path):
    frame, pgm = frame12
    for keywords, options in (({"range": (100, 300)}, ["--range", "100:300"]),
                              ({"lower": 0.5, "upper": 0.5}, ["--lower", "0.5", "--upper", "0.5"])):
        out = tmp_path / "out.tif"
        xelimg("pseudo", pgm, out, *options)
        assert np.array_equal(xp.pseudocolor(frame, input_bits=12, **keywords), read_tiff(out))
    threshold = xp.pseudocolor(frame, input_bits=12, profile="grey", lower=0.5, upper=0.5)
    assert set(np.unique(threshold)) == {0, 255}


@pytest.mark.parametrize("call, message", [
    (lambda m, a: m.measure_areas(a, ["disc=1,2,3"]), "X,Y,W,H"),
    (lambda m, a: m.measure_areas(a, ["a=0,0,1,1", "a=1,1,1,1"]), "given twice"),
    (lambda m, a: m.measure_areas(a, ["9,0,1,1"]), "no pixel"),
    (lambda m, a: m.measure_areas(a, ["0,0,0,1"]), "empty"),
    (lambda m, a: m.measure_areas(a, [(0, 0, 1, 1)]), "areas"),
    (lambda m, a: xp.pseudocolor(a, range=(30, 20)), "LOW"),
    (lambda m, a: xp.pseudocolor(a, range=(20,)), "range"),
    (lambda m, a: xp.pseudocolor(a, range=(0, 1), lower=0.1), "without lower"),
    (lambda m, a: xp.pseudocolor(a, range=(0, 1), calibration="calibration.ini"), "Temperature"),
])
@pytest.mark.filterwarnings("ignore:range. the window is in the linear default unit")
def test_refused_areas_and_ranges_are_value_errors(call, message):
    with pytest.raises(ValueError, match=message):
        call(xp.Temperature(), np.zeros((8, 8), np.uint8))


def test_a_frame_too_large_for_memory_is_a_memory_error():
    # Under a 3 GB address-space limit: a broadcast frame whose dense copy does not fit, and a frame
    # that fits but whose image and picture do not.
    script = textwrap.dedent("""
        import resource, warnings
        import numpy as np
        import xelpseudocolor as xp
        resource.setrlimit(resource.RLIMIT_AS, (3_000_000_000, 3_000_000_000))
        warnings.simplefilter("ignore")
        for frame in (np.broadcast_to(np.uint16(7), (40000, 40000)), np.zeros((25000, 25000), np.uint16)):
            try:
                xp.pseudocolor(frame)
            except MemoryError:
                print("MemoryError")
    """)
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=240)
    assert done.returncode == 0, done.stderr
    assert done.stdout.split() == ["MemoryError", "MemoryError"]
