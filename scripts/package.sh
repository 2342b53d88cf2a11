#!/usr/bin/env bash
# Sets up the machine, builds Quillo and makes its Debian package
# (build/package/quillo_VERSION_ARCH.deb): both programs, the help page, the
# desktop entry, the icons, the AppStream metadata, the manual pages and the
# bash completion, with the dependencies dpkg-shlibdeps computes.
#   sudo dpkg -i build/package/quillo_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >&2
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build build -j"$(nproc)" >&2
cpack --config build/CPackConfig.cmake -G DEB -B build/package >&2
ls "$PWD"/build/package/quillo_*.deb
