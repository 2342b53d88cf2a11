#!/usr/bin/env bash
# Runs every fuzzer of a build for a while on its seeds, a few at once, and
# prints one line per fuzzer: inputs run, speed, corpus size, peak memory and
# the outcome. Fails when any fuzzer found a fault.
#
#   fuzz/run.sh BUILD_DIR [SECONDS_EACH] [QUILLO_CLI]
#
# BUILD_DIR is a clang build with QUILLO_FUZZ=ON and its `fuzzers` target
# built. Seeds are made afresh (fuzz/make_seeds.sh, with QUILLO_CLI for the
# seeds the program writes); what a fuzzer adds to them stays in
# BUILD_DIR/fuzz/corpus/NAME for the next run, a failing input lands in
# BUILD_DIR/fuzz/findings/ (replay one with `BUILD_DIR/fuzz/NAME FILE`).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: fuzz/run.sh BUILD_DIR [SECONDS_EACH] [QUILLO_CLI]}" && pwd)
seconds=${2:-20}
cli=${3:-}

fuzzers=()
for f in "$build"/fuzz/*_fuzz; do [ -x "$f" ] && fuzzers+=("$(basename "$f")"); done
[ ${#fuzzers[@]} -gt 0 ] || { echo "no fuzzers in $build/fuzz" >&2; exit 1; }

seeds=$build/fuzz/seeds
rm -rf "$seeds"
"$here/make_seeds.sh" "$seeds" "$cli" > /dev/null
logs=$build/fuzz/logs
rm -rf "$logs"
mkdir -p "$logs" "$build/fuzz/findings"

# Whatever opens must read to its end within bounded memory: no single
# allocation above 256 MB, no more than 1.5 GB in all (the sanitizers'
# bookkeeping included, its quarantine kept small).
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=64:detect_leaks=1
export UBSAN_OPTIONS=${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}halt_on_error=1:print_stacktrace=1
run_one() {
  local name=$1 corpus=$build/fuzz/corpus/$1
  mkdir -p "$corpus"
  "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 \
    -malloc_limit_mb=256 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/findings/$name-" "$corpus" "$seeds/$name" \
    > "$logs/$name.log" 2>&1
  echo $? > "$logs/$name.rc"
}
export -f run_one
export build seconds seeds logs

printf '%s\n' "${fuzzers[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one {}'

status=0

printf '%-18s %10s %8s %8s %8s  %s\n' fuzzer runs exec/s corpus peak-MB outcome
for name in "${fuzzers[@]}"; do
  log=$logs/$name.log
  final() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
  corpus=$(find "$build/fuzz/corpus/$name" -type f | wc -l)
  if [ "$(cat "$logs/$name.rc")" != 0 ]; then
    outcome="FAULT: $(grep -m1 -oE '(ERROR: [A-Za-z]+: .*|runtime error: .*|deadly signal|out-of-memory.*|timeout.*)' "$log" || echo 'see log')"
    status=1
  else
    outcome=clean
  fi
  printf '%-18s %10s %8s %8s %8s  %s\n' "$name" "$(final number_of_executed_units)" \
    "$(final average_exec_per_sec)" "$corpus" "$(final peak_rss_mb)" "$outcome"
done
[ "$status" -eq 0 ] || echo "Logs in $logs, failing inputs in $build/fuzz/findings" >&2
exit "$status"
