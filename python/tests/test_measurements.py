"""Every shape's statistics, line profiles, differences and the counts of doubtful pixels, through
xelimg's JSON and Python alike, against numpy computations made here by the centre rule: a pixel
(x, y) belongs to a shape when (x + 0.5, y + 0.5) lies inside or on it."""

import json

import numpy as np
import pytest

import xelpseudocolor as xp
from conftest import quantised, write_pgm

BITS = 12
# Three points span the normalised grey values 0.2 to 0.8; the parabola through them is exact, so
# numpy's temperatures are the object's to rounding. Emissivity 0.5 leaves the darkest pixels
# without a surface temperature.
CALIBRATION = "[Temperature display]\nPoint_0=0.2,260\nPoint_1=0.5,320\nPoint_2=0.8,400\nEpsilon=0.5\n"

SHAPES = {
    "box": "40,30,50,40",
    "edge": "300,200,40,60",  # cut at the frame
    "oval": "ellipse:200.5,110,37.25,21",
    "tilted": "polygon:10.25,150.25,90.75,170.5,60.5,235.75,20.25,200.125",
    "star": "polygon:150.3,10.2,170.7,60.1,120.4,25.9,180.6,25.3,130.1,60.6",  # even-odd: a hole inside
    "pixel": "spot:250,40",
    "disc": "spot:100,100,6.5",
}


def temperature(g):
    """The calibration above worked out with numpy."""
    a2, a1, a0 = np.polyfit([0.2, 0.5, 0.8], [260.0, 320.0, 400.0], 2)
    apparent = a0 + a1 * g + a2 * g * g
    bg4 = 293.15 ** 4
    t4 = bg4 + (apparent ** 4 - bg4) / 0.5
    return np.power(np.where(t4 < 0, np.nan, t4), 0.25) - 273.15


def inside(shape, xs, ys):
    """The centre rule for one shape text, on pixel centres xs, ys."""
    kind, _, numbers = shape.rpartition(":")
    v = [float(n) for n in numbers.split(",")]
    if kind == "":
        return (xs >= v[0]) & (xs <= v[0] + v[2]) & (ys >= v[1]) & (ys <= v[1] + v[3])
    if kind == "ellipse":
        return ((xs - v[0]) / v[2]) ** 2 + ((ys - v[1]) / v[3]) ** 2 <= 1
    if kind == "spot":
        r = v[2] if len(v) > 2 else 0.5
        return (xs - v[0] - 0.5) ** 2 + (ys - v[1] - 0.5) ** 2 <= r * r
    points = list(zip(v[0::2], v[1::2]))
    odd = np.zeros(xs.shape, bool)
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        crosses = (y1 > ys) != (y2 > ys)
        with np.errstate(divide="ignore", invalid="ignore"):
            odd ^= crosses & (xs < x1 + (ys - y1) * (x2 - x1) / (y2 - y1))
    return odd


@pytest.fixture
def scene_frame(scene, tmp_path):
    frame = quantised(scene, BITS)
    frame[100:104, 95:105] = 0  # no temperature
    frame[40, 250] = frame[102:104, 98:103] = 4095  # saturated
    ini = tmp_path / "calibration.ini"
    ini.write_text(CALIBRATION)
    return frame, write_pgm(tmp_path / "frame.pgm", frame, BITS), ini


def expected(frame, shape):
    ys, xs = np.mgrid[0:frame.shape[0], 0:frame.shape[1]] + 0.5
    mask = inside(shape, xs, ys)
    rows, cols = np.nonzero(mask)  # row order, as the reports break ties
    grey = frame[rows, cols].astype(np.float64)
    t = temperature(grey / (1 << BITS))
    ok = ~np.isnan(t)
    coldest, hottest = np.argmin(np.where(ok, t, np.inf)), np.argmax(np.where(ok, t, -np.inf))
    return {"x": cols.min(), "y": rows.min(), "width": cols.max() - cols.min() + 1,
            "height": rows.max() - rows.min() + 1, "pixels": mask.sum(), "unavailable": (~ok).sum(),
            "saturated": (grey == 4095).sum(), "below_calibration": (grey / 4096 < 0.2).sum(),
            "above_calibration": (grey / 4096 > 0.8).sum(), "mean_grey": grey.mean(),
            "mean_temperature": temperature(grey.mean() / 4096), "mean": t[ok].mean(), "min": t[ok].min(),
            "max": t[ok].max(), "std": t[ok].std(), "coldest_x": cols[coldest], "coldest_y": rows[coldest],
            "hottest_x": cols[hottest], "hottest_y": rows[hottest]}


def bresenham_pixels(x1, y1, x2, y2):
    """The all-octant Bresenham line with one error term, written out here."""
    dx, dy = abs(x2 - x1), -abs(y2 - y1)
    sx, sy = (1 if x1 < x2 else -1), (1 if y1 < y2 else -1)
    error, pixels = dx + dy, []
    while True:
        pixels.append((x1, y1))
        if (x1, y1) == (x2, y2):
            return pixels
        twice = 2 * error
        if twice >= dy:
            error, x1 = error + dy, x1 + sx
        if twice <= dx:
            error, y1 = error + dx, y1 + sy


def assert_close(got, want, key):
    if isinstance(want, (int, np.integer)):
        assert got == want, key
    else:
        assert got == pytest.approx(float(want), rel=1e-9, abs=1e-12), key


def test_every_shape_kind_equals_the_centre_rule_in_xelimg_and_python(xelimg, scene_frame):
    frame, pgm, ini = scene_frame
    areas = [f"{name}={shape}" for name, shape in SHAPES.items()]
    lines = [json.loads(line) for line in
             xelimg("temperature", pgm, "--ini", ini, "--json", *[a for area in areas for a in ("--aoi", area)]).splitlines()]
    records = xp.Temperature(ini).measure_areas(frame, areas, input_bits=BITS)
    assert [line["area"] for line in lines] == [record["area"] for record in records] == list(SHAPES)
    for line, record, shape in zip(lines, records, SHAPES.values()):
        want = expected(frame, shape)
        assert line["kind"] == record["kind"] == "area" and line["time"] is record["time"] is None
        for key, value in want.items():
            assert_close(line[key], value, (line["area"], key))
            assert_close(record[key], value, (line["area"], key))
        assert line["temperature"] == round(line["mean_temperature"], 1) == record["temperature"]
    totals = {key: sum(line[key] for line in lines) for key in ("unavailable", "saturated", "below_calibration",
                                                                "above_calibration")}
    assert all(totals.values()), totals  # the scene has every kind of doubtful pixel


def test_the_text_line_names_the_counts_and_the_two_means(xelimg, scene_frame):
    frame, pgm, ini = scene_frame
    (line,) = json.loads("[" + xelimg("temperature", pgm, "--ini", ini, "--json", "--aoi", "disc=spot:100,100,6.5")
                         .strip() + "]")
    text = xelimg("temperature", pgm, "--ini", ini, "--aoi", "disc=spot:100,100,6.5")
    assert f"; {line['unavailable']} without a temperature" in text
    assert f"; {line['saturated']} saturated" in text
    beyond = line["below_calibration"] + line["above_calibration"]
    assert (f"; {beyond} beyond the calibration ({line['below_calibration']} below, "
            f"{line['above_calibration']} above)") in text
    assert f"(of the mean grey), pixels' mean {line['mean']:.1f}," in text


@pytest.mark.parametrize("ends", [(5, 7, 60, 30), (300, 230, 280, 10), (10, 10, 10, 10), (-20, 250, 400, -30)])
def test_line_samples_are_bresenhams_pixels_in_order(xelimg, scene_frame, ends):
    frame, pgm, ini = scene_frame
    rows = [json.loads(line) for line in
            xelimg("temperature", pgm, "--ini", ini, "--json", "--line", "cut=" + ",".join(map(str, ends))).splitlines()]
    samples = [row for row in rows if row["kind"] == "line"]
    python = xp.Temperature(ini).line(frame, *ends, input_bits=BITS)
    height, width = frame.shape
    want = [(i, x, y) for i, (x, y) in enumerate(bresenham_pixels(*ends)) if 0 <= x < width and 0 <= y < height]
    assert [(s["index"], s["x"], s["y"]) for s in samples] == want
    assert [(s["index"], s["x"], s["y"]) for s in python] == want
    grey = np.array([frame[y, x] for _, x, y in want], dtype=np.float64)
    t = temperature(grey / 4096)
    for sample, record, g, value in zip(samples, python, grey, t):
        assert sample["area"] == "cut" and sample["shape"] == "line:" + ",".join(map(str, ends))
        assert sample["grey"] == record["grey"] == g
        assert_close(sample["temperature"], value, "temperature")
        assert record["temperature"] == sample["temperature"]
    for key, value in (("min", t.min()), ("max", t.max()), ("mean", t.mean()), ("pixels", len(want))):
        assert_close(samples[0][key], value, key)
        assert_close(python[0][key], value, key)


def test_a_delta_is_the_difference_of_the_two_areas_values(xelimg, scene_frame):
    frame, pgm, ini = scene_frame
    rows = [json.loads(line) for line in xelimg("temperature", pgm, "--ini", ini, "--json", "--aoi", "hot-spot=" +
                                                SHAPES["oval"], "--aoi", "cold=" + SHAPES["box"], "--delta",
                                                "hot-spot-cold", "--delta", "cold-hot-spot").splitlines()]
    hot, cold, delta, back = rows
    assert (delta["kind"], delta["area"], back["area"]) == ("delta", "hot-spot-cold", "cold-hot-spot")
    for key in ("mean", "max", "min"):
        assert delta[key] == hot[key] - cold[key]
        assert back[key] == cold[key] - hot[key]


@pytest.mark.parametrize("call, message", [
    (lambda m, a: m.measure_areas(a, ["far=ellipse:100,100,3,3"]), "no pixel"),
    (lambda m, a: m.measure_areas(a, [{"shape": "spot:1,1", "colour": "red"}]), "dict"),
    (lambda m, a: m.line(a, 20, 0, 30, 5), "no pixel"),
    (lambda m, a: m.line(a, 0, 0, 5_000_000, 0), "too far"),
    (lambda m, a: m.line(a, 0, 0, 1.5, 0), "integer"),
])
def test_refused_shapes_and_lines_are_value_errors(call, message):
    with pytest.raises(ValueError, match=message):
        call(xp.Temperature(), np.zeros((8, 8), np.uint8))


def test_areas_as_dicts_read_as_their_texts():
    frame = np.arange(64, dtype=np.uint8).reshape(8, 8)
    meter = xp.Temperature()
    assert meter.measure_areas(frame, [{"shape": "ellipse:4,4,2,3", "name": "e"}, {"shape": "spot:1,1"}]) == \
        meter.measure_areas(frame, ["e=ellipse:4,4,2,3", "spot:1,1"])


def test_a_range_without_calibration_says_its_unit_is_the_linear_default():
    with pytest.warns(UserWarning, match="linear default"):
        xp.pseudocolor(np.zeros((4, 4), np.uint8), range=(20, 80))
