#!/usr/bin/env bash
# Times `quillo-cli convert` of a 24-bit 96000 Hz stereo WAV to FLAC (which
# keeps the 24 bits) next to the ffmpeg program doing the same conversion,
# and prints the ratio, with the output's bits as a check that both kept them.
#
#   bench/high_resolution.sh [BUILD_DIR]   (default: build)
#   SECONDS_OF_AUDIO=600 RUNS=5 bench/high_resolution.sh build
. "$(dirname "$0")/common.sh" "${1:-build}" quillo-cli
cli="$build/cli/quillo-cli"

make_wav "$work/hi.wav" "${SECONDS_OF_AUDIO:-300}" -ar 96000 -c:a pcm_s24le

quillo="rm -rf $work/q && QUILLO_CONFIG=$work/q.conf $cli convert -f flac --auto --tags none"
quillo+=" -d $work/q $work/hi.wav"
hyperfine --warmup 1 --runs "${RUNS:-3}" --export-json "$work/flac24.json" \
  -n quillo "$quillo" -n ffmpeg "ffmpeg -v error -y -i $work/hi.wav -c:a flac $work/f.flac" \
  >/dev/null

bits() {
  ffprobe -v error -select_streams a:0 -show_entries stream=bits_per_raw_sample \
    -of default=noprint_wrappers=1:nokey=1 "$1"
}
python3 - "$work" "$(bits "$work/q/hi.flac")" "$(bits "$work/f.flac")" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(f"{sys.argv[1]}/flac24.json"))["results"]}
q, f = r["quillo"], r["ffmpeg"]
print(f"24-bit 96000 Hz WAV to FLAC ({sys.argv[2]} and {sys.argv[3]} bits): quillo-cli "
      f"{q['mean']:.2f} s, ffmpeg {f['mean']:.2f} s, ratio {q['mean'] / f['mean']:.3f}")
PY
