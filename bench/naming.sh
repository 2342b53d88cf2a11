#!/usr/bin/env bash
# Output naming at scale: 10,000 files of one name from different folders
# into one output folder, each proved on the disk as a run does.
# Goal: under one second. Then 1000 tagged FLAC files named from their tags
# (--name): the cost of reading each file's tags before the run.
#
#   bench/naming.sh [BUILD_DIR]   (default: build)
. "$(dirname "$0")/common.sh" "${1:-build}" quillo_bench_naming
"$build/bench/quillo_bench_naming" "${FILES:-10000}"
make_wav "$work/tagged.flac" 1 -metadata artist=Artist -metadata album=Album \
  -metadata track=7 -metadata title=Title
"$build/bench/quillo_bench_naming" "${TAGGED:-1000}" "$work/tagged.flac" \
  "{artist}/{album}/{track:02} {title}"
