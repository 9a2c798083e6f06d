#!/usr/bin/env python3
"""What a scientist would write: every 16-bit PNG of a folder into a pseudo-colour PNG, with the
window from the 2 % and 98 % percentiles, a three-channel table over every 16-bit grey value (the
pictures xelimg makes, so that file sizes compare the encoders) and Pillow's default PNG level."""
import pathlib
import sys

import numpy as np
from PIL import Image

# The stops of xelimg's first profile: black, blue, green, yellow, red, white.
STOPS = np.array([[0, 0, 0], [0, 0, 255], [0, 255, 0], [255, 255, 0], [255, 0, 0], [255, 255, 255]], np.float64)
GREYS = np.arange(65536, dtype=np.float64)


def colour_table(low, high):
    position = np.clip((GREYS - low) / max(high - low, 1.0), 0.0, 1.0) * (len(STOPS) - 1)
    stops = np.arange(len(STOPS))
    return np.stack([np.interp(position, stops, STOPS[:, c]) for c in range(3)], axis=1).round().astype(np.uint8)


def main(source, target):
    target = pathlib.Path(target)
    target.mkdir(parents=True, exist_ok=True)
    for path in sorted(pathlib.Path(source).glob("*.png")):
        grey = np.asarray(Image.open(path)).astype(np.uint16)
        low, high = np.percentile(grey, (2, 98))
        Image.fromarray(colour_table(low, high)[grey]).save(target / path.name)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
