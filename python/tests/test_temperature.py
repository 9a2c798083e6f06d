"""Temperature.measure against `xelimg temperature --json`, against worked values, and the strict
calibration check."""

import numpy as np
import pytest

import xelpseudocolor as xp
from conftest import quantised, temperature_json, write_pgm


def printed(reading):
    """A reading as xelimg --json prints it: grey with six decimals, the object's field texts."""
    def field(value, digits):
        return None if value is None else f"{value:.{digits}f}"
    return {"mean_grey": f"{reading['grey']:.6f}", "epsilon": field(reading["epsilon"], 3),
            "temperature": field(reading["temperature"], 1)}


@pytest.mark.parametrize("bits", [8, 12, 16])
def test_readings_equal_xelimgs_to_the_last_printed_digit(xelimg, samples, scene, tmp_path, bits):
    frame = quantised(scene, bits)
    pgm = write_pgm(tmp_path / "frame.pgm", frame, bits)
    calibration = samples / "calibration.ini"
    cases = [((), {}, None),
             (("--aoi", "150,60,100,100"), {"aoi": (150, 60, 100, 100)}, None),
             (("--epsilon", "0.5", "--aoi", "0,0,1,1"), {"aoi": (0, 0, 1, 1)}, 0.5)]
    for options, keywords, epsilon in cases:
        reference = temperature_json(xelimg, pgm, "--ini", calibration, *options)
        reading = xp.Temperature(calibration, epsilon=epsilon).measure(frame, input_bits=bits, **keywords)
        assert printed(reading) == {key: reference[key] for key in ("mean_grey", "epsilon", "temperature")}
        assert reading["unit"] == reference["unit"] == "°C"


def test_default_calibration_line_worked_by_hand():
    # No calibration: 293.15 K + 180 K x grey / 2^bits, emissivity 1. Grey 128 of 8 bits is 0.5: 383.15 K.
    reading = xp.Temperature().measure(np.full((8, 8), 128, np.uint8))
    assert reading == {"grey": 128.0, "temperature": 110.0, "unit": "°C", "epsilon": 1.0}
    # 12-bit grey 2048 is 0.5 as well; emissivity 0.5 against a 20 °C background at 20 °C changes nothing.
    cool = xp.Temperature(epsilon=0.5).measure(np.zeros((8, 8), np.uint16), input_bits=12)
    assert cool["temperature"] == 20.0 and cool["epsilon"] == 0.5
    assert xp.Temperature().measure(np.full((8, 8), 2048, np.uint16), input_bits=12)["temperature"] == 110.0


def test_a_two_point_calibration_is_a_line(tmp_path):
    ini = tmp_path / "line.ini"
    ini.write_text("[Temperature display]\nPoint_0=0.0,300\nPoint_1=1.0,400\nUnitDesc=K\nKelvinToUnitOfs=0\n")
    reading = xp.Temperature(ini).measure(np.array([[64, 192]], np.uint8), aoi=(1, 0, 1, 1))
    assert reading["temperature"] == 375.0 and reading["unit"] == "K"  # 300 K + 100 K x 192 / 256


def test_one_object_measures_from_several_threads(samples):
    import threading
    meter = xp.Temperature(samples / "calibration.ini")
    frames = [np.full((32, 32), value, np.uint16) for value in (500, 1500, 2500, 3500)]
    serial = [meter.measure(f, input_bits=12) for f in frames]
    results = {}
    workers = [threading.Thread(target=lambda i=i: results.__setitem__(i, meter.measure(frames[i % 4], input_bits=12)))
               for i in range(12)]
    for worker in workers:
        worker.start()
    for worker in workers:
        worker.join()
    assert all(results[i] == serial[i % 4] for i in range(12))


def test_missing_calibration_is_an_os_error(tmp_path):
    with pytest.raises(FileNotFoundError, match="nowhere.ini"):
        xp.Temperature(tmp_path / "nowhere.ini")
    with pytest.raises(OSError):
        xp.Temperature(tmp_path)


GOOD = ["[Temperature display]", "Point_0=0.05,253.15", "Point_1=0.20,283.15", "Point_2=0.95,393.15",
        "Epsilon=0.95", "BgTempKelvin=293.15", "UnitDesc=\xb0C", "KelvinToUnitOfs=-273.15", "KelvinToUnitMult=1"]


@pytest.mark.parametrize("change, message", [
    ({1: "Point_0=0.05;253.15"}, r"bad.ini:2: Point_0: .* two numbers separated by a comma"),
    ({1: "Point_0=0.05,253.15,1"}, "bad.ini:2: Point_0"),
    ({1: "Point_0=0.05, nan"}, "bad.ini:2: Point_0"),
    ({1: "Point_0=0.05,1e999"}, "bad.ini:2: Point_0"),
    ({1: "Point_0=5,253.15"}, "outside 0..1"),
    ({2: "Point_01=0.20,283.15"}, "bad.ini:3: 'Point_01' is not a calibration key"),
    ({2: "Point_3=0.20,283.15"}, "bad.ini:4: Point_2 follows a gap: Point_1 is missing"),
    ({2: "", 3: ""}, "one calibration point"),
    ({2: "Point_1=0.05,283.15", 3: ""}, "same grey value"),
    ({4: "Epsilon=0.95 ; painted steel"}, "bad.ini:5: Epsilon: .* is not a finite number"),
    ({4: "Epsilon=0"}, r"Epsilon 0 lies outside \(0, 1\]"),
    ({5: "BgTempKelvin=twenty"}, "BgTempKelvin"),
    ({6: "UnitDesc=" + "x" * 40}, "UnitDesc"),
    ({8: "KelvinToUnitMul=1"}, "not a calibration key"),
    ({8: "Epsilon=0.9"}, "given twice"),
    ({0: "[Temperature display"}, "section header"),
    ({0: ""}, "before the first section"),
    ({3: "Point_2 0.95,393.15"}, "key=value"),
])
def test_malformed_calibrations_name_file_line_and_key(tmp_path, change, message):
    lines = [change.get(i, line) for i, line in enumerate(GOOD)]
    ini = tmp_path / "bad.ini"
    ini.write_bytes("\n".join(lines).encode("cp1252"))
    with pytest.raises(ValueError, match=message) as raised:
        xp.Temperature(ini)
    assert "bad.ini" in str(raised.value)


def test_the_good_file_and_the_sample_pass(tmp_path, samples):
    ini = tmp_path / "good.ini"
    ini.write_bytes("\n".join(GOOD).encode("cp1252"))
    assert xp.Temperature(ini).measure(np.full((2, 2), 128, np.uint8))["temperature"] is not None
    xp.Temperature(samples / "calibration.ini")


@pytest.mark.parametrize("keywords, message", [
    ({"aoi": (9, 0, 1, 1)}, "no pixel"),
    ({"aoi": (-1, 0, 1, 1)}, "not a pixel coordinate"),
    ({"aoi": (0, 0, 0, 1)}, "empty"),
    ({"aoi": (0, 0, 1)}, "four integers"),
    ({"input_bits": 0}, "input_bits"),
])
def test_bad_measure_arguments_raise_value_errors(keywords, message):
    with pytest.raises(ValueError, match=message):
        xp.Temperature().measure(np.zeros((8, 8), np.uint8), **keywords)


def test_bad_epsilon_and_frames_raise_value_errors():
    for epsilon in (0, 1.5, -0.2, "0.9"):
        with pytest.raises(ValueError, match="epsilon"):
            xp.Temperature(epsilon=epsilon)
    with pytest.raises(ValueError, match="2-D"):
        xp.Temperature().measure(np.zeros((2, 8, 8), np.uint16))
    with pytest.raises(ValueError, match="uint8 or uint16"):
        xp.Temperature().measure(np.zeros((8, 8), np.float32))
