"""pseudocolor against `xelimg pseudo`, against worked LUT values, and with bad arguments."""

import threading
import warnings

import numpy as np
import pytest

import xelpseudocolor as xp
from conftest import quantised, read_tiff, write_pgm

PROFILES = range(5)


@pytest.fixture(scope="module")
def frames(scene, tmp_path_factory):
    """{bits: (array, PGM file)} for 8-, 12- and 16-bit frames of the scene."""
    folder = tmp_path_factory.mktemp("frames")
    return {bits: (quantised(scene, bits), write_pgm(folder / f"scene{bits}.pgm", quantised(scene, bits), bits))
            for bits in (8, 12, 16)}


@pytest.mark.parametrize("bits", [8, 12, 16])
@pytest.mark.parametrize("profile", PROFILES)
def test_every_profile_gives_xelimgs_bytes(xelimg, frames, tmp_path, bits, profile):
    frame, pgm = frames[bits]
    cases = [({}, []),
             ({"auto": "contrast", "out_bits": 16}, ["--auto", "contrast", "--bits", "16"]),
             ({"lower": 0.2, "upper": 0.7, "auto": "brightness"}, ["--lower", "0.2", "--upper", "0.7", "--auto", "brightness"])]
    for keywords, options in cases:
        out = tmp_path / "out.tif"
        xelimg("pseudo", pgm, out, "--profile", profile, *options)
        rgb = xp.pseudocolor(frame, profile=profile, input_bits=bits if bits == 12 else None, **keywords)
        reference = read_tiff(out)
        assert rgb.dtype == reference.dtype and rgb.shape == reference.shape
        assert np.array_equal(rgb, reference), f"profile {profile}, {bits} bits, {keywords}"


def test_grey_wedge_on_an_8_bit_ramp_is_the_identity():
    ramp = np.arange(256, dtype=np.uint8).reshape(16, 16)
    rgb = xp.pseudocolor(ramp, profile="grey")
    assert np.array_equal(rgb, np.repeat(ramp[:, :, None], 3, axis=2))


def test_profiles_by_index_and_name_agree():
    names = xp.profiles()
    assert len(names) == 5 and names[1] == "Grey wedge" and names[4] == "Clipping detection"
    ramp = np.arange(256, dtype=np.uint8).reshape(1, -1)
    for index, name in enumerate(names):
        assert np.array_equal(xp.pseudocolor(ramp, profile=index), xp.pseudocolor(ramp, profile=name))
    assert np.array_equal(xp.pseudocolor(ramp, profile="clipping"), xp.pseudocolor(ramp, profile=np.int64(4)))


def test_a_narrow_uint16_frame_warns_naming_input_bits():
    frame = np.full((4, 4), 4000, dtype=np.uint16)
    with pytest.warns(UserWarning, match="input_bits=12"):
        xp.pseudocolor(frame)
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        xp.pseudocolor(frame, input_bits=12)
        xp.pseudocolor(np.full((4, 4), 40000, dtype=np.uint16))


def test_threads_running_side_by_side_give_the_serial_bytes(frames):
    frame = frames[16][0]
    serial = [xp.pseudocolor(frame, profile=p, auto="contrast") for p in PROFILES]
    results = [None] * 10

    def work(slot):
        results[slot] = xp.pseudocolor(frame, profile=slot % 5, auto="contrast", threads=2)

    workers = [threading.Thread(target=work, args=(slot,)) for slot in range(len(results))]
    for worker in workers:
        worker.start()
    for worker in workers:
        worker.join()
    for slot, result in enumerate(results):
        assert np.array_equal(result, serial[slot % 5])


@pytest.mark.parametrize("array, keywords, message", [
    (np.zeros((2, 3, 3), np.uint8), {}, "2-D"),
    (np.zeros(5, np.uint8), {}, "2-D"),
    (np.zeros((0, 4), np.uint8), {}, "empty"),
    (np.zeros((4, 4)), {}, "uint8 or uint16"),
    (np.zeros((4, 4), np.int16), {}, "uint8 or uint16"),
    (np.zeros((4, 4), np.uint8), {"input_bits": -3}, "input_bits"),
    (np.zeros((4, 4), np.uint8), {"input_bits": 12}, "input_bits"),
    (np.zeros((4, 4), np.uint16), {"input_bits": 17}, "input_bits"),
    (np.full((4, 4), 300, np.uint16), {"input_bits": 8}, "300"),
    (np.zeros((4, 4), np.uint8), {"profile": 5}, "profile"),
    (np.zeros((4, 4), np.uint8), {"profile": "black"}, "more than one"),
    (np.zeros((4, 4), np.uint8), {"profile": 1.5}, "profile"),
    (np.zeros((4, 4), np.uint8), {"lower": 0.6, "upper": 0.4}, "above"),
    (np.zeros((4, 4), np.uint8), {"upper": 1.5}, "0..1"),
    (np.zeros((4, 4), np.uint8), {"lower": float("nan")}, "not a number"),
    (np.zeros((4, 4), np.uint8), {"auto": "yes"}, "auto"),
    (np.zeros((4, 4), np.uint8), {"out_bits": 12}, "out_bits"),
    (np.zeros((4, 4), np.uint8), {"threads": 0}, "threads"),
])
def test_bad_arguments_raise_value_errors(array, keywords, message):
    with pytest.raises(ValueError, match=message):
        xp.pseudocolor(array, **keywords)


def test_strided_and_fortran_arrays_are_read_by_value():
    frame = np.arange(64 * 64, dtype=np.uint16).reshape(64, 64)
    expected = xp.pseudocolor(np.ascontiguousarray(frame[::2, 1::3]), input_bits=12)
    assert np.array_equal(xp.pseudocolor(frame[::2, 1::3], input_bits=12), expected)
    assert np.array_equal(xp.pseudocolor(np.asfortranarray(frame), input_bits=12), xp.pseudocolor(frame, input_bits=12))
