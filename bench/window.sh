#!/usr/bin/env bash
# The window's first paint after start (hyperfine over whole runs of the program, which ends once
# every picture view has painted) and a bigf import in the window (command to the view painted
# again), on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise (e.g. xcb under Xvfb).
#
# Usage: bench/window.sh [BUILD]   (default: build/bench, made by the bench preset)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$root/build/bench}")/bench/vlt_window_bench"
[ -x "$program" ] || { echo "window.sh: missing $program (build the window too)" >&2; exit 2; }
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The program's own settings go to a folder it removes; Qt's caches stay in memory.
export TMPDIR=/dev/shm
runtime="$(mktemp -d /dev/shm/vlt-runtime.XXXXXX)"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$runtime}"
"$program" first-paint
hyperfine -N --warmup 3 --runs 30 --style basic -n "start to first paint" "$program first-paint"
"$program" import 30
