# shellcheck shell=bash
# The set-up every benchmark script shares, sourced as
#   . "$(dirname "$0")/common.sh" "${1:-build}" TARGET...
# It works from the source tree with the build folder in $build, builds the
# TARGETs (quillo-cli, bench drivers) when one is missing, and gives a
# scratch folder $work that goes when the script ends.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
shift
for target; do
  if [ ! -x "$build/bench/$target" ] && [ ! -x "$build/cli/$target" ]; then
    cmake --build "$build" --target "$@"
    break
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make_wav PATH SECONDS [OPTION...]: stereo 44100 Hz, a tone on the left and
# pink noise on the right, so that an encoder has real work on both channels;
# the OPTIONs come before the output (-f s16le: raw PCM).
make_wav() {
  ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$2" \
    -f lavfi -i "anoisesrc=color=pink:sample_rate=44100:duration=$2:amplitude=0.3" \
    -filter_complex "[0:a][1:a]amerge=inputs=2" -ac 2 "${@:3}" -y "$1"
}
