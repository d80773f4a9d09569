#!/usr/bin/env bash
# Whole-process comparison of orvane-batch with `gm convert` doing the same conversion:
# JPEG to bitmap and bitmap to JPEG (quality 85) of a 6000 x 4000 photo-like picture.
# Prints the median wall time and the median peak memory (resident) of RUNS runs of each,
# and the load average before and after (the machine may be shared).
#   bench/batch_vs_gm.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build="${1:-$(cd "$(dirname "$0")/.." && pwd)/build}"
runs="${2:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Noise on a fractal, enlarged: about 9 MB at quality 85, as a camera's photo.
gm convert -size 3000x2000 plasma:fractal +noise Gaussian -resize '6000x4000!' -quality 85 "$work/in.jpg"
gm convert "$work/in.jpg" BMP3:"$work/in.bmp"

# Median of the numbers on standard input.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() {   # label, command...
  local label="$1"; shift
  : > "$work/times"
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/one" "$@" > /dev/null
    cat "$work/one" >> "$work/times"
  done
  printf '%-34s %8.2f s %8.0f MB\n' "$label" "$(cut -d' ' -f1 "$work/times" | median)" \
    "$(cut -d' ' -f2 "$work/times" | median | awk '{ print $1 / 1024 }')"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
measure "orvane-batch in.jpg out.bmp none" "$build/orvane-batch" "$work/in.jpg" "$work/out.bmp" none
measure "gm convert in.jpg out.bmp" gm convert "$work/in.jpg" BMP3:"$work/gm.bmp"
measure "orvane-batch in.bmp out.jpg none" "$build/orvane-batch" "$work/in.bmp" "$work/out.jpg" none
measure "gm convert -quality 85 in.bmp out.jpg" gm convert "$work/in.bmp" -quality 85 "$work/gm.jpg"
measure "djpeg -bmp in.jpg" djpeg -bmp -outfile "$work/dj.bmp" "$work/in.jpg"
measure "cjpeg -quality 85 in.bmp" cjpeg -quality 85 -outfile "$work/cj.jpg" "$work/in.bmp"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
