"""Helpers shared by the suites: the built xelimg, PGM frames for it, and a TIFF decoder of our own so
that the references are read without the framework's readers."""

import json
import os
import struct
import subprocess
import zlib
from pathlib import Path

import numpy as np
import pytest


@pytest.fixture(scope="session")
def xelimg():
    program = os.environ.get("XELIMG")
    if not program:
        pytest.skip("XELIMG names no built xelimg (ctest sets it)")

    def run(*args):
        done = subprocess.run([program, *map(str, args)], capture_output=True, text=True)
        assert done.returncode == 0, f"xelimg {' '.join(map(str, args))}: {done.stderr}"
        return done.stdout

    return run


@pytest.fixture(scope="session")
def samples():
    return Path(os.environ.get("XEL_SAMPLES_DIR", Path(__file__).parents[2] / "app" / "samples"))


def write_pgm(path, frame, bits):
    """A binary PGM whose maxval declares the significant bits, as cameras' tools write them."""
    data = frame.astype(">u2").tobytes() if frame.dtype == np.uint16 else frame.tobytes()
    path.write_bytes(b"P5\n%d %d\n%d\n" % (frame.shape[1], frame.shape[0], (1 << bits) - 1) + data)
    return path


def read_tiff(path):
    """Page 0 of a strip TIFF (uncompressed or deflate, optional horizontal predictor) as an
    (H, W, samples) array: 8- or 16-bit units, or 32-bit floats."""
    data = Path(path).read_bytes()
    order = {b"II": "<", b"MM": ">"}[data[:2]]
    (offset,) = struct.unpack(order + "I", data[4:8])
    (count,) = struct.unpack(order + "H", data[offset:offset + 2])
    tags = {}
    for i in range(count):
        tag, kind, n, value = struct.unpack(order + "HHI4s", data[offset + 2 + 12 * i: offset + 14 + 12 * i])
        if kind not in (3, 4):  # text (what made the file) and the like: not needed for the pixels
            continue
        size = {3: 2, 4: 4}[kind]
        fmt = order + ("H" if kind == 3 else "I") * n
        raw = value if size * n <= 4 else data[struct.unpack(order + "I", value)[0]:][:size * n]
        tags[tag] = struct.unpack(fmt, raw[:size * n])
    width, height = tags[256][0], tags[257][0]
    bits, samples = tags[258][0], tags.get(277, (1,))[0]
    compression, predictor = tags.get(259, (1,))[0], tags.get(317, (1,))[0]
    strips = b""
    for start, length in zip(tags[273], tags[279]):
        chunk = data[start:start + length]
        strips += zlib.decompress(chunk) if compression in (8, 32946) else chunk
    dtype = np.dtype(order + {8: "u1", 16: "u2", 32: "f4"}[bits])  # 32: the float temperature maps
    pixels = np.frombuffer(strips, dtype=dtype, count=width * height * samples).reshape(height, width, samples)
    if predictor == 2:
        pixels = np.cumsum(pixels, axis=1, dtype=dtype)
    return pixels.astype(dtype.newbyteorder("="))


def temperature_json(run, frame_file, *options):
    """xelimg temperature --json, with every number kept as the text it printed."""
    return json.loads(run("temperature", frame_file, "--json", *options), parse_float=str, parse_int=str)


@pytest.fixture(scope="session")
def scene():
    """A 240 x 320 thermal-looking scene: a warm disc, a gradient and noise, values 0..1."""
    y, x = np.mgrid[0:240, 0:320]
    disc = np.exp(-((x - 200.0) ** 2 + (y - 110.0) ** 2) / (2 * 40.0 ** 2))
    noise = np.random.default_rng(7).random((240, 320))
    return 0.15 + 0.5 * disc + 0.25 * x / 319 + 0.08 * noise


def quantised(scene, bits):
    """The scene as a frame with the given significant bits, in uint8 or uint16 units."""
    dtype = np.uint8 if bits <= 8 else np.uint16
    return np.clip(np.rint(scene * ((1 << bits) - 1)), 0, (1 << bits) - 1).astype(dtype)
