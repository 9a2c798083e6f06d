"""Strict reading of a temperature calibration file before the plug-in imports it.

The plug-in's import is lenient by design: a key it cannot read keeps its default, and the points
end at the first gap. A typo in a calibration file would therefore give quietly wrong temperatures;
this check turns every such slip into a ValueError that names the file, the line and the key.
"""

import math
import os
import re

OBJECT_SECTION = "Temperature display"

_NUMBER = r"[+-]?(?:\d+(?:\.\d*)?|\.\d+)(?:[eE][+-]?\d+)?"
_ONE_NUMBER = re.compile(rf"\s*({_NUMBER})\s*")
_TWO_NUMBERS = re.compile(rf"\s*({_NUMBER})\s*,\s*({_NUMBER})\s*")
_POINT_KEY = re.compile(r"point_(0|[1-9]\d*)")  # as the object spells them: no leading zeros
_NUMBER_KEYS = {"epsilon": "Epsilon", "bgtempkelvin": "BgTempKelvin",
                "kelvintounitofs": "KelvinToUnitOfs", "kelvintounitmult": "KelvinToUnitMult"}
_UNIT_KEY = "unitdesc"
_UNIT_BYTES = 31  # the object's field holds 32 bytes with the closing NUL


def _parse(path, text):
    """[(section, key, value, line)] of an INI text; sections and keys as written."""
    entries = []
    section = None
    for number, raw in enumerate(text.splitlines(), start=1):
        line = raw.strip()
        if not line or line[0] in ";#":
            continue
        where = f"{path}, line {number}"
        if line.startswith("["):
            if not line.endswith("]") or not line[1:-1].strip():
                raise ValueError(f"{where}: '{line}' is not a section header")
            section = line[1:-1].strip()
            continue
        key, equals, value = line.partition("=")
        key, value = key.strip(), value.strip()
        if not equals or not key:
            raise ValueError(f"{where}: expected key=value, got '{line}'")
        if section is None:
            raise ValueError(f"{where}: key '{key}' stands before any [section]")
        if len(value) >= 2 and value[0] == value[-1] == '"':
            value = value[1:-1]
        entries.append((section, key, value, number))
    return entries


def _finite(text):
    value = float(text)
    return value if math.isfinite(value) else None


def check(path):
    """Raises OSError when the file cannot be read and ValueError naming the file, the line and the
    key when the calibration it holds is not exactly what the temperature object reads."""
    path = os.fspath(path)
    with open(path, "rb") as file:
        text = file.read().decode("cp1252", errors="replace")
    entries = _parse(path, text)

    sections = list(dict.fromkeys(section for section, _, _, _ in entries))
    names = [s for s in sections if s.lower() == OBJECT_SECTION.lower()]
    if names:
        section = names[0]
    elif len(sections) == 1:
        section = sections[0]
    elif not sections:
        raise ValueError(f"{path}: no calibration: the file holds no [{OBJECT_SECTION}] section")
    else:
        raise ValueError(f"{path}: no [{OBJECT_SECTION}] section among {', '.join(sections)}")

    seen = {}
    points = {}
    for entry_section, key, value, line in entries:
        if entry_section.lower() != section.lower():
            continue
        where = f"{path}, line {line}: {key}"
        folded = key.lower()
        if folded in seen:
            raise ValueError(f"{where} repeats the key of line {seen[folded]}")
        seen[folded] = line
        point = _POINT_KEY.fullmatch(folded)
        if point:
            match = _TWO_NUMBERS.fullmatch(value)
            pair = (_finite(match[1]), _finite(match[2])) if match else (None, None)
            if None in pair:
                raise ValueError(f"{where}: expected two finite numbers 'grey,kelvin', got '{value}'")
            grey, kelvin = pair
            if not 0.0 <= grey <= 1.0:
                raise ValueError(f"{where}: the grey value {grey} is not normalised to 0..1")
            if kelvin <= 0.0:
                raise ValueError(f"{where}: {kelvin} is no temperature in Kelvin")
            points[int(point[1])] = (grey, kelvin, line)
        elif folded in _NUMBER_KEYS:
            match = _ONE_NUMBER.fullmatch(value)
            number = _finite(match[1]) if match else None
            if number is None:
                raise ValueError(f"{where}: expected one finite number, got '{value}'")
            if folded == "epsilon" and not 0.0 < number <= 1.0:
                raise ValueError(f"{where}: the emissivity {number} does not lie in (0, 1]")
            if folded == "bgtempkelvin" and number <= 0.0:
                raise ValueError(f"{where}: {number} is no temperature in Kelvin")
            if folded == "kelvintounitmult" and number == 0.0:
                raise ValueError(f"{where}: a factor of 0 maps every temperature to one value")
        elif folded == _UNIT_KEY:
            if len(value.encode("cp1252", errors="replace")) > _UNIT_BYTES:
                raise ValueError(f"{where}: the unit text is longer than {_UNIT_BYTES} bytes")
        else:
            known = ", ".join(["Point_0, Point_1, ...", *_NUMBER_KEYS.values(), "UnitDesc"])
            raise ValueError(f"{where}: unknown key (known: {known})")

    _check_points(path, points)


def _check_points(path, points):
    for index in sorted(points):
        if index > 0 and index - 1 not in points:
            raise ValueError(f"{path}, line {points[index][2]}: Point_{index} without Point_{index - 1} "
                             "(points are read only up to the first gap)")
    if len(points) == 1:
        raise ValueError(f"{path}, line {points[0][2]}: one calibration point fits no curve; give two or more")
    distinct = len({grey for grey, _, _ in points.values()})
    if len(points) >= 2 and distinct < min(len(points), 3):
        raise ValueError(f"{path}: the points have only {distinct} different grey value(s); "
                         f"a {'line' if len(points) == 2 else 'parabola'} through them is not determined")
