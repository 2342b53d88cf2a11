#!/usr/bin/env bash
# The window's list at scale: adding a folder of 20,000 small files, and
# sorting 100,000 rows by each column, each with its peak memory.
# Goals: 1,000 files added per second, every sort under 0.5 s, under 300 MB.
#
#   bench/ui.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bench="$build/bench/quillo_bench_ui"
[ -x "$bench" ] || cmake --build "$build" --target quillo_bench_ui
"$bench" add "${FILES:-20000}"
"$bench" sort "${ROWS:-100000}"
