#!/usr/bin/env bash
# Installs every Debian package Quillo builds against, tests with or benchmarks with.
# Does nothing when they are all present already.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ninja-build ccache
  # media back-ends
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev
  libvorbis-dev libsoxr-dev libsndfile1-dev libmpg123-dev libflac-dev
  libwavpack-dev libopenmpt-dev libfluidsynth-dev timgm6mb-soundfont
  libtag1-dev libcdio-paranoia-dev libebur128-dev
  # cue sheets: detecting the text encoding of a sheet
  libuchardet-dev
  libopencore-amrnb-dev libopencore-amrwb-dev libvo-amrwbenc-dev libgsm1-dev
  # front ends
  qt6-base-dev
  # the window's translations: lrelease and lupdate, and Qt's own German and French
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  # tests and benchmarks
  libgtest-dev libgmock-dev ffmpeg sox sndfile-programs hyperfine time
  # a German locale built by a test, whose numbers have a decimal comma
  locales
  # the fuzzers (clang with its libFuzzer runtime), for scripts/quality.sh
  clang libclang-rt-dev
  # the window under a virtual display and a window manager, and its screenshots
  xvfb xauth imagemagick openbox
  # the same under a Wayland compositor: weston and Qt's Wayland platform
  weston qt6-wayland
  # the accessibility tree walked over the AT-SPI bus, and the GTK desktop
  # theme the options sheet's keys are tested under
  dbus at-spi2-core python3-pyatspi qt6-gtk-platformtheme
  # the Debian package: its manual pages, checks of its desktop entry, its
  # metadata and the package itself; GNU parallel for the test of chunked runs
  help2man desktop-file-utils appstream lintian parallel
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
