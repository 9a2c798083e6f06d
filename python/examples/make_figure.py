"""Draws docs/python-colormap.png, the README's figure: the demo scene in the plug-in's first profile
with a colour bar, and the temperature the plug-in measures in a box.

    python3 make_figure.py DEMO_SCENE.png CALIBRATION.ini OUT.png

(`xelimg demo DIR` writes DIR/demo-scene.png; `cmake --build build --target python-figure` runs both.)
"""

import sys

import matplotlib
matplotlib.use("Agg")

# The README's example, from here to savefig.
import numpy as np, matplotlib.pyplot as plt
from PIL import Image
import xelpseudocolor as xp

scene = np.array(Image.open(sys.argv[1])).astype(np.uint16)      # the 16-bit demo scene
box = (74, 82, 32, 32)                                           # x, y, width, height
(reading,) = xp.Temperature(sys.argv[2]).measure_areas(scene, ["box=" + ",".join(map(str, box))])
fig, ax = plt.subplots(figsize=(6.4, 4.2))
shown = ax.imshow(scene, cmap=xp.colormap(0), vmin=0, vmax=65535)
ax.add_patch(plt.Rectangle(box[:2], *box[2:], fill=False, color="white"))
ax.set_title(f"{reading['temperature']} {reading['unit']} in the box (grey {reading['mean_grey']:.0f})")
fig.colorbar(shown, ax=ax, label="grey value")
fig.savefig(sys.argv[3], dpi=100, bbox_inches="tight")
