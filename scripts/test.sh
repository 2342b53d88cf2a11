#!/usr/bin/env bash
# Sets up the machine, builds Quillo with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
. scripts/compile_cache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLO_BUILD_TESTS=ON \
  "${cache_flags[@]}"
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
