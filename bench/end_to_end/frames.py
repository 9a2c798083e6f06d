"""The benchmark's input: 16-bit 640 x 512 thermal-like frames, three warm spots drifting over a
gradient with sensor noise, the same on every run."""
import pathlib

import numpy as np
from PIL import Image

WIDTH, HEIGHT = 640, 512
SPOTS = [(160, 128, 60, 3000), (420, 300, 90, 2200), (300, 420, 40, 4000)]  # x, y, radius, heat


def frame(index, rng):
    y, x = np.mgrid[0:HEIGHT, 0:WIDTH].astype(np.float32)
    grey = 8000 + 1500 * (x / WIDTH) + 800 * (y / HEIGHT)
    for k, (cx, cy, radius, heat) in enumerate(SPOTS):
        t = index * 0.05 + k
        px, py = cx + 60 * np.cos(t), cy + 40 * np.sin(t)
        grey += heat * np.exp(-((x - px) ** 2 + (y - py) ** 2) / (2 * radius * radius))
    grey += rng.normal(0, 12, size=(HEIGHT, WIDTH))
    return np.clip(grey, 0, 65535).astype(np.uint16)


def write_frames(folder, count):
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    rng = np.random.default_rng(1)
    for i in range(count):
        Image.fromarray(frame(i, rng)).save(folder / f"frame{i:04d}.png")
