#!/usr/bin/env bash
# Reading a 256 x 1152 8-bit palette PNG, ours against Pillow, on the same file in /dev/shm:
# in-process (vlt_bench's png_read/file against Pillow's open and load in a timeit loop) and as
# whole processes in one hyperfine run (the command line's import_bigf_indices against a Python
# script that opens and loads it). Prints a Markdown table.
#
# Usage: bench/png_compare.sh [BUILD]   (default: build/bench, made by the bench preset)
# Needs: hyperfine, python3-pil (Debian packages).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build/bench}")"
bench="$build/bench/vlt_bench"
cli="$build/src/cli/vosk-land-texture-cli"
python=/usr/bin/python3
for tool in "$bench" "$cli" /usr/bin/hyperfine "$python"; do
  [ -x "$tool" ] || { echo "png_compare.sh: missing $tool" >&2; exit 2; }
done

base=/dev/shm
[ -d "$base" ] || base="${TMPDIR:-/tmp}"
work="$(mktemp -d "$base/vlt-png.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

# An indexed texture as a paint program saves it: runs of 1 to 8 pixels of one of 256 indices.
"$python" - <<'PY'
import random
from PIL import Image
rng = random.Random(22)
picture = Image.new("P", (256, 1152))
picture.putpalette([rng.randrange(256) for _ in range(768)])
data, value = [], 0
for _ in range(256 * 1152):
    if rng.random() < 0.25:
        value = rng.randrange(256)
    data.append(value)
picture.putdata(data)
picture.save("texture.png")
PY
cat > pil_read.py <<'PY'
import sys
from PIL import Image
Image.open(sys.argv[1]).load()
PY

ours_us="$(VLT_BENCH_PNG=texture.png "$bench" --benchmark_filter='^png_read/file$' \
  --benchmark_repetitions=9 --benchmark_report_aggregates_only=true --benchmark_format=json |
  "$python" -c 'import json, sys
r = [b for b in json.load(sys.stdin)["benchmarks"] if b["name"].endswith("_median")][0]
print(r["real_time"])')"
pil_us="$("$python" - <<'PY'
import timeit
from PIL import Image
runs = timeit.repeat(lambda: Image.open("texture.png").load(), number=50, repeat=9)
print(sorted(runs)[len(runs) // 2] / 50 * 1e6)
PY
)"
hyperfine -N --warmup 3 --runs 30 --export-json times.json --style basic \
  -n cli "$cli import_bigf_indices texture.png" -n pillow "$python pil_read.py texture.png" >&2

OURS="$ours_us" PIL="$pil_us" "$python" - <<'PY'
import json, os
times = {r["command"]: r["median"] * 1000 for r in json.load(open("times.json"))["results"]}
ours, pil = float(os.environ["OURS"]) / 1000, float(os.environ["PIL"]) / 1000
print("| Reading a 256 x 1152 palette PNG | Ours (ms) | Pillow (ms) | Pillow's time over ours |")
print("|---|---:|---:|---:|")
print(f"| In process (decode to pixels), median | {ours:.2f} | {pil:.2f} | {pil / ours:.2f}x |")
print(f"| Whole process (import_bigf_indices / open and load), median | {times['cli']:.2f} | "
      f"{times['pillow']:.2f} | {times['pillow'] / times['cli']:.2f}x |")
PY
