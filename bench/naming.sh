#!/usr/bin/env bash
# Output naming at scale: 10,000 files of one name from different folders
# into one output folder, each proved on the disk as a run does.
# Goal: under one second.
#
#   bench/naming.sh [BUILD_DIR]   (default: build)
. "$(dirname "$0")/common.sh" "${1:-build}" quillo_bench_naming
"$build/bench/quillo_bench_naming" "${FILES:-10000}"
