"""pseudocolor(..., isotherms=...): the pixels whose temperature (Temperature.map) lies in a band get its
colour, the others keep the plain picture's, and the bytes are those of xelimg pseudo --isotherm."""

import numpy as np
import pytest

import xelpseudocolor as xp
from conftest import read_tiff, write_pgm


@pytest.fixture
def ramp():
    return (np.arange(256, dtype=np.uint16).reshape(16, 16) * 257).astype(np.uint16)


@pytest.fixture
def meter(samples):
    return xp.Temperature(samples / "calibration.ini")


def between(celsius, low_share, high_share):
    """Band ends halfway between neighbouring pixel temperatures, so that the float32 map and the
    painter's doubles agree on every pixel."""
    levels = np.unique(celsius[np.isfinite(celsius)]).astype(float)
    ends = [int(share * (levels.size - 1)) for share in (low_share, high_share)]
    return float(levels[ends[0]] + levels[ends[0] - 1]) / 2, float(levels[ends[1]] + levels[ends[1] + 1]) / 2


def expect_painted(painted, plain, celsius, bands, full=255):
    expected = plain.copy()
    for low, high, colour in bands:
        inside = (celsius >= low) & (celsius <= high)
        assert inside.any()
        expected[inside] = np.array(colour) * full // 255
    assert np.array_equal(painted, expected)


def test_bands_paint_exactly_their_pixels(ramp, meter):
    celsius = meter.map(ramp)
    plain = xp.pseudocolor(ramp, calibration=meter)
    band = (*between(celsius, 0.3, 0.6), (0, 200, 100))
    expect_painted(xp.pseudocolor(ramp, calibration=meter, isotherms=[band]), plain, celsius, [band])
    # No colour: magenta on the first profile; overlapping bands: the later wins.
    default = (band[0], band[1])
    expect_painted(xp.pseudocolor(ramp, calibration=meter, isotherms=[default]), plain, celsius,
                   [(*default, (255, 0, 255))])
    later = (*between(celsius, 0.5, 0.8), (10, 20, 30))
    expect_painted(xp.pseudocolor(ramp, calibration=meter, isotherms=[band, later], out_bits=16),
                   xp.pseudocolor(ramp, calibration=meter, out_bits=16), celsius, [band, later], full=65535)


def test_the_bytes_of_xelimg(ramp, meter, xelimg, samples, tmp_path):
    pgm = write_pgm(tmp_path / "ramp.pgm", ramp, 16)
    xelimg("pseudo", pgm, tmp_path / "out.tif", "--ini", samples / "calibration.ini", "--profile", "3",
           "--isotherm", "20:40", "--isotherm", "60:70:#102030")
    rgb = xp.pseudocolor(ramp, profile=3, calibration=meter, isotherms=[(20, 40), (60, 70, (16, 32, 48))])
    assert np.array_equal(rgb, read_tiff(tmp_path / "out.tif"))


@pytest.mark.parametrize("isotherms, message", [
    ([(20, 30)], "ini"),
    ([(30, 20)], "LOW"),
    ([(20,)], "isotherm"),
    ([(20, 30, (256, 0, 0))], "colour"),
    ([(20, 30, "red")], "colour"),
    (["20:30"], "isotherm"),
])
def test_bad_bands_raise_value_errors(ramp, meter, isotherms, message):
    calibration = None if message == "ini" else meter
    with pytest.raises(ValueError, match=message):
        xp.pseudocolor(ramp, calibration=calibration, isotherms=isotherms)
