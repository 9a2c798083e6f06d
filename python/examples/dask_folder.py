"""Pseudo-colours every frame of a folder on a Dask cluster and measures each frame's temperature.

    python3 dask_folder.py FRAMES OUT [--scheduler tcp://HOST:8786] [--calibration CALIB.ini]
                           [--profile N|NAME] [--input-bits BITS]

FRAMES holds 8- or 16-bit greyscale PNG or TIFF files, or .npy arrays; OUT receives one RGB PNG per
frame (auto contrast) and the readings are printed one line a frame. Without --scheduler the script
starts a LocalCluster of two worker processes on this machine; with it, the same code runs on the
cluster whose scheduler listens there.
"""

import argparse
import functools
import os
from pathlib import Path

import dask.bag as db
import numpy as np
from PIL import Image

FRAME_SUFFIXES = {".png", ".tif", ".tiff", ".npy"}


def read_frame(path):
    """A frame as a uint8 or uint16 array (Pillow reads 16-bit PNGs as 32-bit integers)."""
    if path.suffix == ".npy":
        return np.load(path)
    with Image.open(path) as image:
        frame = np.array(image)
    return frame.astype(np.uint16) if frame.dtype.kind == "i" else frame


@functools.lru_cache(maxsize=None)
def thermometer(calibration):
    """One temperature object per worker process and calibration, made on first use."""
    import xelpseudocolor as xp
    return xp.Temperature(calibration)


def colour_frame(path, out, profile, input_bits, calibration):
    """Runs on a worker: writes OUT/<name>.png and returns the frame's reading."""
    import xelpseudocolor as xp
    path = Path(path)
    frame = read_frame(path)
    rgb = xp.pseudocolor(frame, profile=profile, auto="contrast", input_bits=input_bits, threads=1)
    target = Path(out) / (path.stem + ".png")
    partial = target.with_name(f".{target.name}.{os.getpid()}.part")
    Image.fromarray(rgb).save(partial, format="PNG")
    partial.replace(target)  # a frame's picture appears whole or not at all
    return {"frame": path.name, **thermometer(calibration).measure(frame, input_bits=input_bits)}


def colour_folder(frames, out, profile=0, input_bits=None, calibration=None):
    """The readings of every frame in name order; the work runs on the current Dask client."""
    paths = sorted(str(p) for p in Path(frames).iterdir() if p.suffix.lower() in FRAME_SUFFIXES)
    Path(out).mkdir(parents=True, exist_ok=True)
    bag = db.from_sequence(paths, partition_size=4)
    return bag.map(colour_frame, out=str(out), profile=profile, input_bits=input_bits,
                   calibration=calibration).compute()


def main():
    from distributed import Client, LocalCluster

    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("frames")
    parser.add_argument("out")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler (default: a local cluster)")
    parser.add_argument("--calibration", help="calibration INI file (default: the object's default line)")
    parser.add_argument("--profile", default="0")
    parser.add_argument("--input-bits", type=int)
    args = parser.parse_args()
    profile = int(args.profile) if args.profile.isdigit() else args.profile
    calibration = os.path.abspath(args.calibration) if args.calibration else None

    if args.scheduler:
        client = Client(args.scheduler)
    else:
        client = Client(LocalCluster(n_workers=2, threads_per_worker=1, processes=True))
    with client:
        readings = colour_folder(args.frames, args.out, profile, args.input_bits, calibration)
    for r in readings:
        print(f"{r['frame']}: mean grey {r['grey']:.2f}, temperature {r['temperature']} {r['unit']}")


if __name__ == "__main__":
    main()
