#!/bin/sh
# xelimg view on long sequences: time to the first picture and peak memory for folders of 200, 2000
# and 20000 frames of 640x512, and frames shown per second (read, pseudo colour, measurement, picture
# on the window) for 640x512 and 1280x1024 from disk and from a GStreamer source.
#   bench/viewer/viewer_bench.sh BUILD_DIR [WORK_DIR]
# The frames are made by GStreamer's test source; the folders hard-link one file many times, so
# that 20000 frames take seconds to make, not minutes. Runs headless (--snapshot), so the figures
# leave out only the presenter's copy of the screen to the display; on a display, playback is paced
# at 25 frames a second at most.
set -eu
build=${1:?usage: viewer_bench.sh BUILD_DIR [WORK_DIR]}
work=${2:-$(mktemp -d)}
xelimg="$build/bin/xelimg"
mkdir -p "$work"

frame() { # WIDTH HEIGHT FILE: one 16-bit grey frame of the test pattern
  gst-launch-1.0 -q videotestsrc num-buffers=1 pattern=ball \
    ! "video/x-raw,format=GRAY16_BE,width=$1,height=$2" ! pngenc compression-level=0 ! filesink location="$3"
}

folder() { # COUNT WIDTH HEIGHT: a folder of COUNT frames, made once
  dir="$work/seq-$1-$2x$3"
  if [ ! -d "$dir" ]; then
    mkdir -p "$dir"
    frame "$2" "$3" "$dir/f000000.png"
    i=1
    while [ "$i" -lt "$1" ]; do
      ln "$dir/f000000.png" "$(printf '%s/f%06d.png' "$dir" "$i")"
      i=$((i + 1))
    done
  fi
  echo "$dir"
}

run() { # LABEL ARGS...: wall time and peak RSS of one headless run
  label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$xelimg" view "$@" --no-state --snapshot "$work/shot.png" >/dev/null
  read -r seconds kib <"$work/time.txt"
  echo "$label $seconds $kib"
}

echo "# first picture: frames  seconds  peak RSS (MiB)"
for count in 200 2000 20000; do
  dir=$(folder "$count" 640 512)
  run "$count" "$dir" --frames 1 | awk '{ printf "%8d %8.2f %8.1f\n", $1, $2, $3 / 1024 }'
  run "$count" "$dir" --frames 1 --input "key end" | awk '{ printf "%8d %8.2f %8.1f  (key end)\n", $1, $2, $3 / 1024 }'
done

shown=300
echo "# frames shown per second over $shown frames: source  fps  peak RSS (MiB)"
for size in 640x512 1280x1024; do
  w=${size%x*}
  h=${size#*x}
  dir=$(folder 600 "$w" "$h")
  run "disk-$size" "$dir" --frames "$shown" | awk -v n="$shown" '{ printf "%-16s %8.1f %8.1f\n", $1, n / $2, $3 / 1024 }'
  gst="gst:videotestsrc num-buffers=$((shown + 20)) pattern=ball ! video/x-raw,format=GRAY16_LE,width=$w,height=$h,framerate=200/1"
  run "gst-$size" "$gst" --frames "$shown" | awk -v n="$shown" '{ printf "%-16s %8.1f %8.1f\n", $1, n / $2, $3 / 1024 }'
done
echo "# (each figure includes process start and the first picture; work files in $work)"
