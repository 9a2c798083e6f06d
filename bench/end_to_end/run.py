#!/usr/bin/env python3
"""End-to-end benchmark: a folder of 16-bit frames into pseudo-colour PNGs with auto contrast, by
xelimg (one job and two), by the numpy + Pillow script and by the OpenCV script (one process and
two), in the same run, with wall time, peak resident memory and output size of each; and, given the
codec floor tool, xelimg's CPU time a frame against what the codecs alone cost."""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import frames  # noqa: E402


LONG_PASSES = 5


def timed(command, scratch):
    """Wall seconds, CPU seconds (user + system) and peak RSS in MB of one command, by GNU time: a
    child of this process would inherit the interpreter's resident size as its peak."""
    report = scratch / "time.txt"
    result = subprocess.run(["/usr/bin/time", "-f", "%e %U %S %M", "-o", report, *command], stdout=subprocess.DEVNULL)
    if result.returncode != 0:
        sys.exit(f"failed: {' '.join(map(str, command))}")
    wall, user, system, kilobytes = report.read_text().split()[-4:]
    return float(wall), float(user) + float(system), int(kilobytes) / 1024.0


def folder_bytes(folder):
    return sum(f.stat().st_size for f in pathlib.Path(folder).iterdir())


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--xelimg", required=True)
    parser.add_argument("--floor", help="xel_codec_floor, for the codecs' own cost a frame")
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
            "OpenCV, 1 process": lambda out: [sys.executable, here / "opencv_pseudo.py", scratch / "in", out, "1"],
            "OpenCV, 2 processes": lambda out: [sys.executable, here / "opencv_pseudo.py", scratch / "in", out, "2"],
            "xelimg --jobs 1": lambda out: [args.xelimg, "pseudo", scratch / "in", out, "--auto", "contrast", "--jobs", "1"],
            "xelimg --jobs 2": lambda out: [args.xelimg, "pseudo", scratch / "in", out, "--auto", "contrast", "--jobs", "2"],
        }
        results = {}
        for _ in range(args.repeat):
            for name, command in contenders.items():
                out = scratch / "out"
                shutil.rmtree(out, ignore_errors=True)
                seconds, cpu, rss = timed(command(out), scratch)
                size = folder_bytes(out)
                best = results.get(name)
                if best is None or seconds < best[0]:
                    results[name] = (seconds, cpu, max(rss, best[2]) if best else rss, size)

        floor = None
        if args.floor:
            # Last of all, after the contenders, so that its CPU times a frame see the same machine.
            shutil.rmtree(scratch / "out", ignore_errors=True)
            floor = subprocess.run([args.floor, scratch / "in", scratch / "out"], capture_output=True, text=True,
                                   check=True).stdout

        # Memory must not grow with the length of a sequence; a long run also shows the gain of a
        # second job better than a short one on a machine that other work shares.
        long_runs = {}
        for jobs in ("1", "2"):
            long_runs[jobs] = timed([args.xelimg, "pseudo", *[scratch / "in"] * LONG_PASSES, scratch / "long.tif",
                                     "--auto", "contrast", "--jobs", jobs, "--quiet"], scratch)

    base_seconds, base_cpu, _, base_size = results["numpy + Pillow"]
    print(f"{args.frames} frames of 640 x 512, 16-bit PNG in, RGB8 PNG out, auto contrast; fastest of {args.repeat} runs; "
          f"load average before: {load_before:.1f}, after: {os.getloadavg()[0]:.1f}, on {os.cpu_count()} processors")
    print("| | wall time | frames/s | x numpy + Pillow | CPU time | peak RSS | output | x numpy + Pillow size |")
    print("|---|---|---|---|---|---|---|---|")
    for name, (seconds, cpu, rss, size) in results.items():
        print(f"| {name} | {seconds:.2f} s | {args.frames / seconds:.0f} | {base_seconds / seconds:.1f} | {cpu:.2f} s "
              f"| {rss:.0f} MB | {size / 1e6:.1f} MB | {size / base_size:.2f} |")
    one, two = results["xelimg --jobs 1"][0], results["xelimg --jobs 2"][0]
    print(f"--jobs 2 over --jobs 1: {one / two:.2f}x")
    opencv_seconds, _, _, opencv_size = results["OpenCV, 2 processes"]
    print(f"xelimg --jobs 2 over OpenCV with 2 processes: {opencv_seconds / two:.2f}x faster, files "
          f"{results['xelimg --jobs 2'][3] / opencv_size:.2f}x the size")
    if floor:
        print(floor, end="")
        floor_ms = float(floor.split("floor (read + decode + encode + write): ")[1].split()[0])
        for name in ("xelimg --jobs 1", "xelimg --jobs 2"):
            per_frame = results[name][1] / args.frames * 1e3
            print(f"{name}: {per_frame:.2f} ms of CPU a frame, {per_frame / floor_ms:.2f}x the floor")
    pages = args.frames * LONG_PASSES
    for jobs, (seconds, cpu, rss) in long_runs.items():
        print(f"xelimg --jobs {jobs}, the frames {LONG_PASSES} times into one {pages}-page TIFF: {seconds:.2f} s, "
              f"CPU {cpu:.2f} s, peak RSS {rss:.0f} MB")
    print(f"--jobs 2 over --jobs 1 on {pages} pages: {long_runs['1'][0] / long_runs['2'][0]:.2f}x")


if __name__ == "__main__":
    main()
