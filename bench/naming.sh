#!/usr/bin/env bash
# Output naming at scale: 10,000 files of one name from different folders
# into one output folder, each proved on the disk as a run does.
# Goal: under one second.
#
#   bench/naming.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bench="$build/bench/quillo_bench_naming"
[ -x "$bench" ] || cmake --build "$build" --target quillo_bench_naming
"$bench" "${FILES:-10000}"
