#!/usr/bin/env bash
# The window at scale: adding a folder of 20,000 small files, sorting 100,000
# rows by each column, each with its peak memory; and 20 files of 30 s
# converted to MP3 from the window (one file per processor) against the
# command line converting them one at a time (-j 1) and one per processor.
# And the window at rest: its resident memory once it is up, with no file
# added (the MIDI sound font is loaded by the first MIDI conversion only).
# Goals: 1,000 files added per second, every sort under 0.5 s, under 300 MB;
# the window's conversion at most 0.55 of -j 1 on 2 cores; at rest at most
# 120 MB.
#
#   bench/ui.sh [BUILD_DIR]   (default: build)
. "$(dirname "$0")/common.sh" "${1:-build}" quillo_bench_ui quillo-cli quillo
bench="$build/bench/quillo_bench_ui"
cli="$build/cli/quillo-cli"
QUILLO_CONFIG="$work/rest.conf" QT_QPA_PLATFORM=offscreen "$build/ui/quillo" >/dev/null 2>&1 &
window_pid=$!
sleep 3
awk '/^VmRSS/ { printf "window at rest: %.0f MB (goal: at most 120 MB)\n", $2 / 1024 }' \
  "/proc/$window_pid/status"
kill "$window_pid"
wait "$window_pid" 2>/dev/null || true
"$bench" add "${FILES:-20000}"
"$bench" sort "${ROWS:-100000}"

mkdir -p "$work/twenty"
make_wav "$work/twenty/01.wav" 30
for i in $(seq -w 2 20); do cp "$work/twenty/01.wav" "$work/twenty/$i.wav"; done
window=$("$bench" convert "$work/twenty" | sed -n 's/^convert: .* in \([0-9.]*\) s$/\1/p')
# seconds COMMAND...: the wall time of one run.
seconds() {
  local start
  start=$(date +%s.%N)
  "$@" >/dev/null
  awk -v start="$start" -v end="$(date +%s.%N)" 'BEGIN { printf "%.2f", end - start }'
}
export QUILLO_CONFIG="$work/quillo.conf"
one=$(seconds "$cli" convert -j 1 -f mp3 -d "$work/one" "$work/twenty")
all=$(seconds "$cli" convert -f mp3 -d "$work/all" "$work/twenty")
awk -v window="$window" -v one="$one" -v all="$all" 'BEGIN {
  printf "convert 20 files to MP3: window %.2f s, quillo-cli %.2f s, quillo-cli -j 1 %.2f s\n",
    window, all, one
  printf "window / quillo-cli -j 1: %.2f (goal: 0.55 on 2 idle cores); window / quillo-cli: %.2f\n",
    window / one, window / all
}'
