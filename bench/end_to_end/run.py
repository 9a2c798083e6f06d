#!/usr/bin/env python3
"""End-to-end benchmark: a folder of 16-bit frames into pseudo-colour PNGs with auto contrast, by
xelimg (one job and two) and by the numpy + Pillow script, in the same run, with wall time, peak
resident memory and output size of each."""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import frames  # noqa: E402


def timed(command):
    """Wall seconds, CPU seconds (user + system) and peak RSS in MB of one child process."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(map(str, command))}")
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0


def folder_bytes(folder):
    return sum(f.stat().st_size for f in pathlib.Path(folder).iterdir())


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--xelimg", required=True)
    parser.add_argument("--frames", type=int, default=200)
    parser.add_argument("--repeat", type=int, default=3, help="runs of each, the fastest counts")
    args = parser.parse_args()

    here = pathlib.Path(__file__).resolve().parent
    load_before = os.getloadavg()[0]
    with tempfile.TemporaryDirectory(prefix="xel-end-to-end-") as scratch:
        scratch = pathlib.Path(scratch)
        frames.write_frames(scratch / "in", args.frames)
        contenders = {
            "numpy + Pillow": lambda out: [sys.executable, here / "numpy_pseudo.py", scratch / "in", out],
            "xelimg --jobs 1": lambda out: [args.xelimg, "pseudo", scratch / "in", out, "--auto", "contrast", "--jobs", "1"],
            "xelimg --jobs 2": lambda out: [args.xelimg, "pseudo", scratch / "in", out, "--auto", "contrast", "--jobs", "2"],
        }
        results = {}
        for _ in range(args.repeat):
            for name, command in contenders.items():
                out = scratch / "out"
                shutil.rmtree(out, ignore_errors=True)
                seconds, cpu, rss = timed(command(out))
                size = folder_bytes(out)
                best = results.get(name)
                if best is None or seconds < best[0]:
                    results[name] = (seconds, cpu, max(rss, best[2]) if best else rss, size)

    base_seconds, base_cpu, _, base_size = results["numpy + Pillow"]
    print(f"{args.frames} frames of 640 x 512, 16-bit PNG in, RGB8 PNG out, auto contrast; fastest of {args.repeat} runs; "
          f"load average before: {load_before:.1f} on {os.cpu_count()} processors")
    print("| | wall time | frames/s | x numpy + Pillow | CPU time | peak RSS | output | x numpy + Pillow size |")
    print("|---|---|---|---|---|---|---|---|")
    for name, (seconds, cpu, rss, size) in results.items():
        print(f"| {name} | {seconds:.2f} s | {args.frames / seconds:.0f} | {base_seconds / seconds:.1f} | {cpu:.2f} s "
              f"| {rss:.0f} MB | {size / 1e6:.1f} MB | {size / base_size:.2f} |")
    one, two = results["xelimg --jobs 1"][0], results["xelimg --jobs 2"][0]
    print(f"--jobs 2 over --jobs 1: {one / two:.2f}x")


if __name__ == "__main__":
    main()
