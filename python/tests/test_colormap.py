"""Colour maps sampled from the plug-in's own LUT."""

import numpy as np
import pytest

import xelpseudocolor as xp

matplotlib = pytest.importorskip("matplotlib")


@pytest.mark.parametrize("profile", range(5))
def test_colormap_at_i_over_255_is_the_8_bit_luts_entry_i(profile):
    lut = xp.pseudocolor(np.arange(256, dtype=np.uint8).reshape(1, -1), profile=profile)[0]
    cmap = xp.colormap(profile)
    x = np.arange(256) / 255
    assert np.array_equal(cmap(x, bytes=True)[:, :3], lut)
    assert np.array_equal(np.rint(cmap(x)[:, :3] * 255).astype(np.uint8), lut)


def test_other_sizes_sample_the_same_profile():
    grey = xp.colormap("grey", n=3)
    assert grey.N == 3 and np.allclose(grey(np.array([0.0, 1.0]))[:, :3], [[0, 0, 0], [1, 1, 1]])
    fine = xp.colormap("grey", n=1024)
    assert fine.N == 1024 and np.allclose(fine(np.linspace(0, 1, 1024))[:, 0], np.linspace(0, 1, 1024), atol=1e-4)
    with pytest.raises(ValueError, match="n must"):
        xp.colormap(0, n=1)


def test_registered_maps_are_found_by_name():
    names = xp.register_colormaps()
    assert "xel_grey_wedge" in names and "xel_clipping_detection_r" in names and len(names) == 10
    assert xp.register_colormaps() == names  # registering again replaces, never fails
    grey = matplotlib.colormaps["xel_grey_wedge"]
    assert np.array_equal(grey(np.arange(256) / 255, bytes=True)[:, 0], np.arange(256))
    reversed_grey = matplotlib.colormaps["xel_grey_wedge_r"]
    assert np.array_equal(reversed_grey(np.arange(256) / 255, bytes=True)[:, 0], np.arange(255, -1, -1))
