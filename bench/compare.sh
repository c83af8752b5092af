#!/usr/bin/env bash
# Whole-process figures for one edit by the command line (import a 256 x 1152 picture of 200
# colours into bigf, save bigf and the palette) against the floor, `cp` of the same picture,
# and against what a modder would script instead: ImageMagick and Pillow mapping the same
# picture to a palette. Prints one Markdown table of the median wall time of each (one hyperfine
# run, so that all are measured under the same load), its peak memory (/usr/bin/time -v) and,
# for the command line and cp, the instructions they execute (valgrind's callgrind).
#
# Usage: bench/compare.sh [CLI]   (default: build/bench/src/cli/vosk-land-texture-cli,
#                                  made by: cmake --preset bench && cmake --build build/bench -j2)
# The command line is linked wholly statically only where Debian's libspng source is at hand:
# run scripts/build-mingw-deps once before configuring (it fetches it into build/mingw-deps).
# Needs: hyperfine, imagemagick, python3-pil, time, valgrind (Debian packages).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${1:-$root/build/bench/src/cli/vosk-land-texture-cli}")"
runs="${RUNS:-30}"
# The system's own tools, not whatever a PATH puts first.
python=/usr/bin/python3
magick=/usr/bin/convert

for tool in "$cli" /usr/bin/hyperfine "$magick" "$python" /usr/bin/time /usr/bin/valgrind /bin/cp; do
  if [ ! -x "$tool" ]; then
    echo "compare.sh: missing $tool" >&2
    exit 2
  fi
done
"$python" -c 'import PIL' 2>/dev/null || { echo "compare.sh: Pillow missing (python3-pil)" >&2; exit 2; }
if LC_ALL=C ldd "$cli" >/dev/null 2>&1; then
  echo "compare.sh: note: $cli loads shared libraries; see the usage above for a static one" >&2
fi

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
cmd_cp="/bin/cp IN.bmp OUT_cp.bmp"

# Every tool must succeed before it is timed.
for cmd in "$cmd_cli" "$cmd_cp" "$cmd_magick" "$cmd_pil"; do
  $cmd >/dev/null
done
[ "$(stat -c %s bigf_out.dat)" = 294912 ] || { echo "compare.sh: the command line failed" >&2; exit 1; }

hyperfine -N --warmup 3 --runs "$runs" --export-json times.json --style basic \
  -n cli "$cmd_cli" -n cp "$cmd_cp" -n imagemagick "$cmd_magick" -n pillow "$cmd_pil" >&2

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
  echo "cp $(peak_kb $cmd_cp)"
  echo "imagemagick $(peak_kb $cmd_magick)"
  echo "pillow $(peak_kb $cmd_pil)"
} >peaks.txt

# Instructions executed, the whole process from its first instruction (deterministic).
instructions() {
  /usr/bin/valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    awk '/Collected :/ {print $NF}'
}
# shellcheck disable=SC2086
{
  echo "cli $(instructions $cmd_cli)"
  echo "cp $(instructions $cmd_cp)"
} >instructions.txt

"$python" - <<'PY'
import json
times = {r["command"]: r for r in json.load(open("times.json"))["results"]}
peaks = dict(line.split() for line in open("peaks.txt"))
counts = dict(line.split() for line in open("instructions.txt"))
cli = times["cli"]["median"]
# CPU time (user + system, mean) beside the wall time: on a loaded machine the wall time also
# holds the waits for a core, which the CPU time leaves out.
print("| Whole edit, 256 x 1152, 200 colours | Median (ms) | Time over the command line's | "
      "CPU time (ms) | Peak memory (MB) | Instructions (M) |")
print("|---|---:|---:|---:|---:|---:|")
for name, label in [("cli", "vosk-land-texture-cli"), ("cp", "cp of the same picture (the floor)"),
                    ("imagemagick", "ImageMagick convert -remap"),
                    ("pillow", "Pillow quantize(palette=..., dither=0)")]:
    median = times[name]["median"] * 1000
    count = f"{int(counts[name]) / 1e6:.1f}" if name in counts else ""
    cpu = (times[name]["user"] + times[name]["system"]) * 1000
    print(f"| {label} | {median:.2f} | {times[name]['median'] / cli:.2f}x | {cpu:.2f} | "
          f"{int(peaks[name]) / 1024:.1f} | {count} |")
print()
cpu = {name: r["user"] + r["system"] for name, r in times.items()}
print(f"The command line takes {cli / times['cp']['median']:.2f}x the time of cp "
      f"({cpu['cli'] / cpu['cp']:.2f}x its CPU time) and is "
      f"{times['pillow']['median'] / cli:.1f}x faster than Pillow "
      f"({cpu['pillow'] / cpu['cli']:.1f}x in CPU time), "
      f"{times['imagemagick']['median'] / cli:.1f}x faster than ImageMagick.")
PY
