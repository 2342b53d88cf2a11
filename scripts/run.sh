#!/usr/bin/env bash
# Sets up the machine, builds Quillo and runs it with the given arguments
# (quillo-cli; with no arguments it prints its help).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build "$root/build" -j"$(nproc)" --target quillo-cli >&2
if [ $# -eq 0 ]; then set -- --help; fi
exec "$root/build/cli/quillo-cli" "$@"
