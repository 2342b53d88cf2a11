#!/usr/bin/env bash
# Builds Quillo and takes screenshots of its window, its progress dialogs, its
# context menu and the options sheet's pages on a virtual display.
# Usage: scripts/screenshots.sh [FOLDER] (default build/screenshots).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLO_BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots}"
"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLO_BUILD_TESTS=ON >&2
cmake --build "$build" -j"$(nproc)" --target quillo_ui_screenshots quillo_options_screenshots >&2
xvfb-run -a -s "-screen 0 1100x800x24" "$build/tests/ui/quillo_ui_screenshots" "$out"
xvfb-run -a -s "-screen 0 1100x800x24" "$build/tests/ui/quillo_options_screenshots" "$out"
