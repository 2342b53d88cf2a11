#!/usr/bin/env bash
# What --verify costs: `quillo-cli convert` of a ten-minute 44100 Hz stereo
# WAV to FLAC, MP3 (128 kbit/s) and M4A, each with and without --verify, and
# the ratio of each pair. Checking decodes the output once more, so the ratio
# is about one plus the decoder's share of the encoder's time.
#
#   bench/verify.sh [BUILD_DIR]   (default: build)
#   SECONDS_OF_AUDIO=60 RUNS=5 bench/verify.sh build
. "$(dirname "$0")/common.sh" "${1:-build}" quillo-cli
cli="$build/cli/quillo-cli"

make_wav "$work/long.wav" "${SECONDS_OF_AUDIO:-600}"

quillo() {  # FORMAT [OPTIONS...]: one conversion into a fresh folder
  echo "rm -rf $work/q && QUILLO_CONFIG=$work/q.conf $cli convert -f $* --tags none -d $work/q $work/long.wav"
}
run() {  # NAME FORMAT [OPTIONS...]
  local name=$1
  shift
  hyperfine --warmup 1 --runs "${RUNS:-3}" --export-json "$work/$name.json" \
    -n plain "$(quillo "$@")" -n verified "$(quillo "$@" --verify)" >/dev/null
}
run flac flac
run mp3 mp3 --bitrate 128000
run m4a 6500 --bitrate 128000

python3 - "$work" <<'PY'
import json, sys
for name, label in (("flac", "WAV to FLAC"), ("mp3", "WAV to MP3 128k"), ("m4a", "WAV to M4A 128k")):
    r = {x["command"]: x for x in json.load(open(f"{sys.argv[1]}/{name}.json"))["results"]}
    p, v = r["plain"], r["verified"]
    print(f"{label}: {p['mean']:.2f} s, with --verify {v['mean']:.2f} s, ratio {v['mean'] / p['mean']:.3f}")
PY
