#!/usr/bin/env bash
# Builds Quillo and takes screenshots of its window, its progress dialogs, its
# context menu and the options sheet's pages on a virtual display under a
# window manager (openbox), at the desktop font sizes users have (9, 10, 11
# and 14 pt) and at a screen scale of 2, one folder each, and under a
# Wayland compositor (weston) at 9 pt. Texts that do not fit their controls
# are printed.
# Usage: scripts/screenshots.sh [FOLDER] (default build/screenshots).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLO_BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots}"
"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLO_BUILD_TESTS=ON >&2
cmake --build "$build" -j"$(nproc)" --target quillo_ui_screenshots quillo_options_screenshots >&2

# Runs one screenshot program under openbox on a fresh virtual display.
shoot() {
  local folder="$1" points="$2" scale="$3" program="$4"
  QT_SCALE_FACTOR="$scale" xvfb-run -a -s "-screen 0 2400x1600x24" bash -c '
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    sleep 1
    "$@"
    status=$?
    kill "$wm" 2>/dev/null || true
    exit "$status"' _ "$build/ui/screenshots/$program" "$folder" "$points"
}

# Runs one screenshot program as a client of a Wayland compositor: weston on
# a fresh virtual display (its X11 back-end, drawn without GL). Each picture
# is the compositor's whole output, read from the virtual display, since a
# Wayland client cannot read the screen itself.
shoot_wayland() {
  local folder="$1" program="$2"
  xvfb-run -a -s "-screen 0 1400x900x24" bash -c '
    export XDG_RUNTIME_DIR
    XDG_RUNTIME_DIR="$(mktemp -d)"
    weston --backend=x11-backend.so --use-pixman --width=1400 --height=900 \
      --socket=quillo-shots --idle-time=0 >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
    compositor=$!
    for _ in $(seq 50); do
      [ -S "$XDG_RUNTIME_DIR/quillo-shots" ] && break
      sleep 0.2
    done
    WAYLAND_DISPLAY=quillo-shots QT_QPA_PLATFORM=wayland \
      QUILLO_SCREEN_GRAB="import -window root" "$@"
    status=$?
    kill "$compositor" 2>/dev/null || true
    rm -rf "$XDG_RUNTIME_DIR"
    exit "$status"' _ "$build/ui/screenshots/$program" "$folder" 9
}

for variant in 9pt:9:1 10pt:10:1 11pt:11:1 14pt:14:1 scale2:9:2; do
  IFS=: read -r name points scale <<<"$variant"
  mkdir -p "$out/$name"
  shoot "$out/$name" "$points" "$scale" quillo_ui_screenshots
  shoot "$out/$name" "$points" "$scale" quillo_options_screenshots
done

mkdir -p "$out/wayland"
shoot_wayland "$out/wayland" quillo_ui_screenshots
shoot_wayland "$out/wayland" quillo_options_screenshots
