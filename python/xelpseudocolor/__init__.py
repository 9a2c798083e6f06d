"""XelPseudoColor for numpy, matplotlib and Dask users.

The real plug-in, loaded through the framework's loader as xelimg loads it: a script and
`xelimg pseudo` give the same bytes, and `Temperature.measure` the same numbers as
`xelimg temperature --json`.

    import xelpseudocolor as xp
    rgb = xp.pseudocolor(frame, profile="grey", auto="contrast")
    reading = xp.Temperature("calibration.ini").measure(frame, aoi=(100, 80, 32, 32))
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


def pseudocolor(a, profile=0, lower=0.0, upper=1.0, auto=None, input_bits=None, out_bits=8, threads=None):
    """Pseudo-colours a 2-D uint8 or uint16 array through the plug-in's "Pseudo color lut" object.

    profile: index or name; lower, upper: the LUT window as fractions 0..1 of the grey range;
    auto: None, "contrast" or "brightness" (the window found from the frame's histogram);
    input_bits: significant bits of the data (default: the dtype's 8 or 16); out_bits: 8 or 16;
    threads: worker threads (default one per processor). Returns an (H, W, 3) uint8 or uint16 array,
    the values `xelimg pseudo` writes. Raises ValueError for bad arguments and ProcessingError (a
    RuntimeError with the result code in .code) when the object refuses the frame.
    """
    a, input_bits = _grey_array(a, input_bits)
    if auto not in _AUTO_MODES:
        raise ValueError(f"auto must be None, 'contrast' or 'brightness', got {auto!r}")
    if out_bits not in (8, 16) or isinstance(out_bits, bool):
        raise ValueError(f"out_bits must be 8 or 16, got {out_bits!r}")
    threads = _checked_int("threads", threads, 1, 256)
    try:
        lower, upper = float(lower), float(upper)
    except (TypeError, ValueError):
        raise ValueError(f"lower and upper must be numbers, got {lower!r} and {upper!r}") from None
    return _core.pseudocolor(a, _profile_index(profile), lower, upper, _AUTO_MODES[auto], input_bits, out_bits,
                             threads or 0)


class Temperature:
    """The plug-in's "Temperature display" object with one calibration.

    path: an INI file as `xelimg temperature --ini` reads it (None: the object's default line);
    epsilon: the surface's emissivity, 0 < epsilon <= 1, over the file's. The file is checked
    strictly first: OSError when it cannot be read, ValueError naming the line and the key when
    anything in it would not be read as written.
    """

    def __init__(self, path=None, epsilon=None):
        if path is not None:
            path = os.fspath(path)
            # Missing or unreadable is the file system's error, with its own type and message.
            open(path, "rb").close()
        if epsilon is not None:
            if not isinstance(epsilon, numbers.Real) or isinstance(epsilon, bool) or not 0.0 < epsilon <= 1.0:
                raise ValueError(f"epsilon must lie in (0, 1], got {epsilon!r}")
            epsilon = float(epsilon)
        self.path = path
        self._thermometer = _core.Thermometer(path, epsilon)

    def measure(self, a, aoi=None, input_bits=None):
        """The temperature of a 2-D uint8 or uint16 frame inside aoi = (x, y, width, height), or the
        whole frame. Returns {"grey": mean grey value, "temperature": in the unit, or None when the
        object cannot compute one, "unit": its text, "epsilon": the emissivity used}."""
        a, input_bits = _grey_array(a, input_bits)
        if aoi is not None:
            if len(aoi) != 4 or not all(isinstance(v, numbers.Integral) and not isinstance(v, bool) for v in aoi):
                raise ValueError(f"aoi must be four integers (x, y, width, height), got {aoi!r}")
            aoi = tuple(int(v) for v in aoi)
        return self._thermometer.measure(a, aoi, input_bits)


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
