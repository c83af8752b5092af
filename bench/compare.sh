#!/usr/bin/env bash
# Whole-process figures for one edit by the command line (import a 256 x 1152 picture of 200
# colours into bigf, save bigf and the palette) against what a modder would script instead:
# ImageMagick and Pillow mapping the same picture to a palette. Prints a Markdown table of the
# median wall time (hyperfine) and peak memory (/usr/bin/time -v) of each.
#
# Usage: bench/compare.sh [CLI]   (default: build/bench/src/cli/vosk-land-texture-cli,
#                                  made by: cmake --preset bench && cmake --build build/bench -j2)
# Needs: hyperfine, imagemagick, python3-pil, time (Debian packages).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${1:-$root/build/bench/src/cli/vosk-land-texture-cli}")"
runs="${RUNS:-30}"
# The system's own tools, not whatever a PATH puts first.
python=/usr/bin/python3
magick=/usr/bin/convert

for tool in "$cli" /usr/bin/hyperfine "$magick" "$python" /usr/bin/time; do
  if [ ! -x "$tool" ]; then
    echo "compare.sh: missing $tool" >&2
    exit 2
  fi
done
"$python" -c 'import PIL' 2>/dev/null || { echo "compare.sh: Pillow missing (python3-pil)" >&2; exit 2; }

# Files live in memory, so the figures are the tools' work and not the disk's (the command line
# flushes its saves to disk; on tmpfs that costs nothing).
base=/dev/shm
[ -d "$base" ] || base="${TMPDIR:-/tmp}"
work="$(mktemp -d "$base/vlt-compare.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

# The picture: 200 distinct colours, none black, 24 bits per pixel. The first 111 pixels bring
# the colours that find room in the palette; every later pixel is one of the other 89, the
# command line's worst case. PAL.png: a 256-colour palette holding those 111 colours and 145
# others, as a palette-mode picture for ImageMagick's -remap and Pillow's quantize.
"$python" - <<'PY'
import random
from PIL import Image
rng = random.Random(1152)
colors = []
seen = {(0, 0, 0)}
while len(colors) < 200:
    c = (rng.randrange(256), rng.randrange(256), rng.randrange(256))
    if c not in seen:
        seen.add(c)
        colors.append(c)
pixels = [colors[i] if i < 111 else colors[111 + rng.randrange(89)] for i in range(256 * 1152)]
picture = Image.new("RGB", (256, 1152))
picture.putdata(pixels)
picture.save("IN.bmp")
extra = []
while len(extra) < 145:
    c = (rng.randrange(256), rng.randrange(256), rng.randrange(256))
    if c not in seen:
        seen.add(c)
        extra.append(c)
palette = colors[:111] + extra
pal = Image.new("P", (16, 16))
pal.putpalette([v for c in palette for v in c])
pal.putdata(list(range(256)))
pal.save("PAL.png")
PY

cat > pil_remap.py <<'PY'
import sys
from PIL import Image
Image.open(sys.argv[1]).quantize(palette=Image.open(sys.argv[2]), dither=0).save(sys.argv[3])
PY

cmd_cli="$cli import_bigf_from_bitmap IN.bmp save_to_bigf bigf_out.dat save_to_pal out_pal.dat"
cmd_magick="$magick IN.bmp -remap PAL.png OUT_magick.bmp"
cmd_pil="$python pil_remap.py IN.bmp PAL.png OUT_pil.bmp"

# Every tool must succeed before it is timed.
for cmd in "$cmd_cli" "$cmd_magick" "$cmd_pil"; do
  $cmd >/dev/null
done
[ "$(stat -c %s bigf_out.dat)" = 294912 ] || { echo "compare.sh: the command line failed" >&2; exit 1; }

hyperfine -N --warmup 3 --runs "$runs" --export-json times.json --style basic \
  -n cli "$cmd_cli" -n imagemagick "$cmd_magick" -n pillow "$cmd_pil" >&2

peak_kb() {
  local best=0 kb
  for _ in 1 2 3; do
    kb="$(/usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}')"
    [ "$kb" -gt "$best" ] && best="$kb"
  done
  echo "$best"
}
# shellcheck disable=SC2086  # the commands are meant to split into words
{
  echo "cli $(peak_kb $cmd_cli)"
  echo "imagemagick $(peak_kb $cmd_magick)"
  echo "pillow $(peak_kb $cmd_pil)"
} >peaks.txt

"$python" - <<'PY'
import json
times = {r["command"]: r for r in json.load(open("times.json"))["results"]}
peaks = dict(line.split() for line in open("peaks.txt"))
cli = times["cli"]["median"]
faster_peer = min(times["imagemagick"]["median"], times["pillow"]["median"])
print("| Whole edit, 256 x 1152, 200 colours | Median (ms) | Ratio to the command line | Peak memory (MB) |")
print("|---|---:|---:|---:|")
for name, label in [("cli", "vosk-land-texture-cli"), ("imagemagick", "ImageMagick convert -remap"),
                    ("pillow", "Pillow quantize(palette=..., dither=0)")]:
    median = times[name]["median"] * 1000
    print(f"| {label} | {median:.1f} | {times[name]['median'] / cli:.1f}x | {int(peaks[name]) / 1024:.1f} |")
print()
print(f"The command line is {faster_peer / cli:.1f}x faster than the faster peer.")
PY
