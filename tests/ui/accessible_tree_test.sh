#!/usr/bin/env bash
# The accessibility tree over a real AT-SPI bus: a session bus of its own
# (which starts the accessibility bus on request), a virtual display, and the
# driver program walked by accessible_tree_test.py. Exit 77 (skipped) where a
# tool is missing.
set -euo pipefail
driver="$1"
here="$(cd "$(dirname "$0")" && pwd)"
python=/usr/bin/python3
command -v xvfb-run >/dev/null && command -v dbus-run-session >/dev/null || exit 77
[ -x /usr/libexec/at-spi-bus-launcher ] || exit 77
"$python" -c 'import pyatspi' 2>/dev/null || exit 77
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
exec xvfb-run -a dbus-run-session -- "$python" "$here/accessible_tree_test.py" "$driver"
