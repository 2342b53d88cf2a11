#!/usr/bin/env bash
# Sets up the machine, builds Quillo and runs it. With no arguments it opens
# the window when there is a display, and otherwise prints quillo-cli's help;
# arguments go to quillo-cli.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
if [ $# -eq 0 ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  cmake --build "$root/build" -j"$(nproc)" --target quillo >&2
  exec "$root/build/ui/quillo"
fi
cmake --build "$root/build" -j"$(nproc)" --target quillo-cli >&2
if [ $# -eq 0 ]; then set -- --help; fi
exec "$root/build/cli/quillo-cli" "$@"
