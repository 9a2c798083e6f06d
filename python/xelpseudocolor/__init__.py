"""XelPseudoColor for numpy, matplotlib and Dask users.

The real plug-in, loaded through the framework's loader as xelimg loads it: a script and
`xelimg pseudo` give the same bytes, and `Temperature.measure_areas` and `Temperature.map` the
same numbers as `xelimg temperature --json` and `--temperature-map`. Options are checked by the
code that checks xelimg's.

    import xelpseudocolor as xp
    rgb = xp.pseudocolor(frame, profile="grey", auto="contrast")
    meter = xp.Temperature("calibration.ini")
    rows = meter.measure_areas(frame, ["disc=74,82,32,32"])
    warm = xp.pseudocolor(frame, range=(20, 80), calibration=meter)
"""

import numbers
import os
import re
import warnings

import numpy as np

from ._core import ProcessingError, plugin_path
from . import _core

__all__ = ["profiles", "pseudocolor", "Temperature", "colormap", "register_colormaps", "ProcessingError",
           "plugin_path"]

_AUTO_MODES = {None: 0, "contrast": 1, "brightness": 2}
_profiles = None


def profiles():
    """The colour profiles' names, in index order."""
    global _profiles
    if _profiles is None:
        _profiles = [_core.profile_name(index) for index in range(_core.profile_count())]
    return list(_profiles)


def _profile_index(profile):
    """An index, or a name or the start of one compared without case, blanks and dashes ("grey")."""
    count = len(profiles())
    if isinstance(profile, str):
        try:
            return _core.find_profile(profile, count)
        except ValueError as error:
            raise ValueError(f"profile: {error}") from None
    if isinstance(profile, numbers.Integral) and not isinstance(profile, bool):
        if not 0 <= profile < count:
            raise ValueError(f"profile must be 0 to {count - 1} or a name, got {profile}")
        return int(profile)
    raise ValueError(f"profile must be an index or a name, got {profile!r}")


def _checked_int(name, value, lowest, highest, required=False):
    if value is None and not required:
        return None
    if not isinstance(value, numbers.Integral) or isinstance(value, bool) or not lowest <= value <= highest:
        raise ValueError(f"{name} must be an integer from {lowest} to {highest}, got {value!r}")
    return int(value)


def _grey_array(a, input_bits):
    """The array as given (no silent conversion of dtypes), and its significant bits."""
    a = np.asarray(a)
    input_bits = _checked_int("input_bits", input_bits, 1, 16)
    if input_bits is None and a.dtype == np.uint16 and a.ndim == 2 and a.size:
        # A 12- or 14-bit camera in 16-bit units: read as 16 bits, its window covers a sliver of the
        # range and the picture comes out nearly black, so say what to pass.
        used = int(a.max()).bit_length()
        if used <= 14:
            warnings.warn(f"uint16 data with values up to {int(a.max())} uses at most {max(used, 1)} of 16 bits; "
                          f"pass input_bits={max(used, 1)} (or the camera's depth) if that is its depth",
                          stacklevel=3)
    return a, input_bits


def _number_text(name, value):
    """A real number as the text that reads back as exactly the same double."""
    if not isinstance(value, numbers.Real) or isinstance(value, bool):
        raise ValueError(f"{name} must be a number, got {value!r}")
    return repr(float(value))


def pseudocolor(a, profile=0, lower=None, upper=None, auto=None, input_bits=None, out_bits=8, threads=None,
                range=None, calibration=None, isotherms=None):
    """Pseudo-colours a 2-D uint8 or uint16 array through the plug-in's "Pseudo color lut" object.

    profile: index or name; lower, upper: the LUT window as fractions 0..1 of the grey range (default
    0 and 1; equal bounds make a threshold); range: (low, high), the window in the display unit
    instead (`--range`), which is the calibration's when calibration, a Temperature, is given;
    auto: None, "contrast" or "brightness" (the window found from the frame's histogram);
    input_bits: significant bits of the data (default: the dtype's 8 or 16); out_bits: 8 or 16;
    threads: worker threads (default one per processor); isotherms: [(low, high), (low, high, (r, g, b)), ...],
    bands of temperature in the calibration's unit (which they need) whose pixels are painted one colour
    (`--isotherm`; default magenta, cyan for profiles 2 and 3; a later band wins where bands overlap). Returns an (H, W, 3) uint8 or uint16 array,
    the values `xelimg pseudo` writes. Raises ValueError for bad arguments and ProcessingError (a
    RuntimeError) when the object refuses the frame, MemoryError when the frame does not fit.
    """
    a, input_bits = _grey_array(a, input_bits)
    if auto not in _AUTO_MODES:
        raise ValueError(f"auto must be None, 'contrast' or 'brightness', got {auto!r}")
    if out_bits not in (8, 16) or isinstance(out_bits, bool):
        raise ValueError(f"out_bits must be 8 or 16, got {out_bits!r}")
    threads = _checked_int("threads", threads, 1, 256)
    if calibration is not None and not isinstance(calibration, Temperature):
        raise ValueError(f"calibration must be a Temperature, got {calibration!r}")
    options = ["--profile", str(_profile_index(profile)), "--bits", str(out_bits)]
    for name, bound in (("lower", lower), ("upper", upper)):
        if bound is not None:
            options += ["--" + name, _number_text(name, bound)]
    if range is not None:
        if isinstance(range, str) or len(range) != 2:
            raise ValueError(f"range must be (low, high), got {range!r}")
        options += ["--range", ":".join(_number_text("range", end) for end in range)]
        if calibration is None:
            warnings.warn("range: " + _core.linear_unit_notice(), UserWarning, stacklevel=2)
    if auto is not None:
        options += ["--auto", auto]
    if threads is not None:
        options += ["--threads", str(threads)]
    for band in isotherms or ():
        options += ["--isotherm", _isotherm_text(band)]
    return _core.pseudocolor(a, options, input_bits, None if calibration is None else calibration._thermometer)


def _isotherm_text(band):
    if isinstance(band, str) or not hasattr(band, "__len__") or len(band) not in (2, 3):
        raise ValueError(f"an isotherm must be (low, high) or (low, high, (r, g, b)), got {band!r}")
    text = ":".join(_number_text("isotherms", end) for end in band[:2])
    if len(band) == 3:
        colour = band[2]
        if (isinstance(colour, str) or not hasattr(colour, "__len__") or len(colour) != 3
                or not all(isinstance(c, numbers.Integral) and not isinstance(c, bool) and 0 <= c <= 255
                           for c in colour)):
            raise ValueError(f"an isotherm's colour must be (r, g, b) with each 0..255, got {colour!r}")
        text += ":#" + "".join(f"{int(c):02X}" for c in colour)
    return text


class Temperature:
    """The plug-in's "Temperature display" object with one calibration.

    path: an INI file as `xelimg temperature --ini` reads it (None: the object's default line);
    epsilon: the surface's emissivity, 0 < epsilon <= 1, over the file's. The file is checked
    strictly first: OSError when it cannot be read, ValueError naming the line and the key when
    anything in it would not be read as written.
    """

    def __init__(self, path=None, epsilon=None):
        options = []
        if path is not None:
            path = os.fspath(path)
            # Missing or unreadable is the file system's error, with its own type and message.
            open(path, "rb").close()
            options += ["--ini", path]
        if epsilon is not None:
            options += ["--epsilon", _number_text("epsilon", epsilon)]
        self.path = path
        self._thermometer = _core.Thermometer(options)

    def measure(self, a, aoi=None, input_bits=None):
        """The temperature of a 2-D uint8 or uint16 frame inside aoi = (x, y, width, height), or the
        whole frame. Returns {"grey": mean grey value, "temperature": in the unit, or None when the
        object cannot compute one, "unit": its text, "epsilon": the emissivity used}."""
        a, input_bits = _grey_array(a, input_bits)
        areas = []
        if aoi is not None:
            if len(aoi) != 4 or not all(isinstance(v, numbers.Integral) and not isinstance(v, bool) for v in aoi):
                raise ValueError(f"aoi must be four integers (x, y, width, height), got {aoi!r}")
            areas = [",".join(str(int(v)) for v in aoi)]
        (record,) = self._thermometer.measure_areas(a, areas, input_bits)
        return {"grey": record["mean_grey"], "temperature": record["temperature"], "unit": record["unit"],
                "epsilon": record["epsilon"]}

    def measure_areas(self, a, areas=None, input_bits=None):
        """Every area of a 2-D uint8 or uint16 frame, as `xelimg temperature --json` reports it.

        areas: `--aoi` texts, "[NAME=]SHAPE" with SHAPE "X,Y,W,H", "ellipse:CX,CY,RX,RY",
        "polygon:X1,Y1,X2,Y2,X3,Y3[,...]" or "spot:X,Y[,R]" (unnamed: aoi1, aoi2, ...; None: the
        whole frame, named "image"), or dicts {"shape": SHAPE, "name": NAME} (the name optional).
        Returns one dict per area with the keys of xelimg's JSON lines, the numbers at full
        precision ("frame" 0, "source" None, "page" 0, "time" None; "temperature" and "epsilon" as
        the object prints them; None where not available)."""
        a, input_bits = _grey_array(a, input_bits)
        if areas is None:
            areas = []
        elif isinstance(areas, (str, dict)):
            areas = [areas]
        return self._thermometer.measure_areas(a, [_area_text(area) for area in areas], input_bits)

    def line(self, a, x1, y1, x2, y2, input_bits=None):
        """The line profile from pixel (x1, y1) to pixel (x2, y2) of a 2-D uint8 or uint16 frame, as
        `xelimg temperature --line X1,Y1,X2,Y2 --json` reports it: one dict per pixel of Bresenham's
        line inside the frame, in order, with "index", "x", "y", "grey" and "temperature", and the
        line's "pixels", counts, "mean", "min", "max" and "std" beside them."""
        a, input_bits = _grey_array(a, input_bits)
        ends = [_checked_int(name, value, -2**31, 2**31 - 1, required=True)
                for name, value in (("x1", x1), ("y1", y1), ("x2", x2), ("y2", y2))]
        return self._thermometer.line(a, *ends, input_bits)

    def map(self, a, input_bits=None):
        """Every pixel's temperature in the display unit: a float32 array of the frame's shape, NaN
        where not available; the page `xelimg temperature --temperature-map` writes."""
        a, input_bits = _grey_array(a, input_bits)
        return self._thermometer.map(a, input_bits)


def _area_text(area):
    """An area given as a dict, {"shape": ..., "name": ...}, as the `--aoi` text it stands for."""
    if isinstance(area, str):
        return area
    if isinstance(area, dict) and isinstance(area.get("shape"), str) and set(area) <= {"shape", "name"}:
        name = area.get("name")
        if name is None:
            return area["shape"]
        if isinstance(name, str):
            return f"{name}={area['shape']}"
    raise ValueError(f"areas are texts such as 'disc=ellipse:90,98,16,16' or dicts with 'shape' and "
                     f"'name', got {area!r}")


def _slug(name):
    return re.sub(r"[^0-9a-z]+", "_", name.lower()).strip("_")


def colormap(profile=0, n=256):
    """A matplotlib ListedColormap of n colours sampled from the plug-in's own LUT: a ramp of grey
    values run through the profile. With n = 256 its colours are the 8-bit LUT's entries."""
    from matplotlib.colors import ListedColormap

    index = _profile_index(profile)
    n = _checked_int("n", n, 2, 65536, required=True)
    if n <= 256:
        ramp = np.arange(256, dtype=np.uint8).reshape(1, -1)
        lut = pseudocolor(ramp, index, threads=1)[0] / 255.0
        lut = lut[np.rint(np.linspace(0, 255, n)).astype(int)]
    else:
        ramp = np.rint(np.linspace(0, 65535, n)).astype(np.uint16).reshape(1, -1)
        lut = pseudocolor(ramp, index, out_bits=16, threads=1)[0] / 65535.0
    return ListedColormap(lut, name="xel_" + _slug(profiles()[index]))


def register_colormaps():
    """Registers every profile with matplotlib as "xel_<name>" (and "xel_<name>_r" reversed), for
    example "xel_grey_wedge"; returns the names."""
    import matplotlib

    names = []
    for index in range(len(profiles())):
        cmap = colormap(index)
        for each in (cmap, cmap.reversed()):
            if each.name in matplotlib.colormaps:  # ours from an earlier call: replace it quietly
                matplotlib.colormaps.unregister(each.name)
            matplotlib.colormaps.register(each, name=each.name)
            names.append(each.name)
    return names
