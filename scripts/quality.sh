#!/usr/bin/env bash
# The quality gates CI runs after scripts/test.sh: the whole suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/, then every
# fuzzer built with clang into build-fuzz/ and run on its seeds for a while.
# Prints the time of each stage; fails on the first fault.
#
#   scripts/quality.sh [SECONDS_PER_FUZZER]   (default 12)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-12}
jobs=$(nproc)
scripts/setup.sh
. scripts/compile_cache.sh

timings=()
stage() {  # NAME COMMAND...: runs a stage and notes its time
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  timings+=("$(printf '%-34s %4d s' "$name" $((SECONDS - start)))")
}

# A sanitizer report fails the test it came from. Line tables and light
# optimisation only: full optimisation under the sanitizers triples the
# build time, and the suite runs about as fast either way.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
# Leaks of system libraries a test loads (the GTK theme's D-Bus and GLib) are
# theirs, not ours: tests/lsan.supp names those modules and nothing of ours.
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
sanitizer_build() {
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-Og -g1" \
    "-DCMAKE_C_FLAGS_DEBUG=-Og -g1" -DQUILLO_SANITIZE=ON -DQUILLO_BUILD_TESTS=ON "${cache_flags[@]}"
  cmake --build build-asan -j"$jobs"
}
stage "sanitizer build (build-asan)" sanitizer_build
# The 4 GiB WAV test checks where RF64 starts, a rule of sizes the plain suite
# has just run; writing 4 GiB through the sanitizers alone takes a minute and
# a half, so it runs there only.
stage "suite under ASan and UBSan" ctest --test-dir build-asan --output-on-failure -j"$jobs" \
  -E WavOfFourGibibytesAndMoreIsRf64

# The fuzzers: instrumented parsers, the libraries they call left plain. The
# seeds the program writes come from the sanitizer build's quillo-cli.
fuzzer_build() {
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLO_FUZZ=ON -DQUILLO_BUILD_TESTS=OFF "${cache_flags[@]}"
  cmake --build build-fuzz -j"$jobs" --target fuzzers
}
stage "fuzzer build (build-fuzz, clang)" fuzzer_build
stage "fuzzers, ${seconds} s each" fuzz/run.sh build-fuzz "$seconds" build-asan/cli/quillo-cli

printf '%s\n' "${timings[@]}"
