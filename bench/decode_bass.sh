#!/usr/bin/env bash
# Times BassSource decoding a ten-minute stereo 44100 Hz MP3 and a ten-minute
# FLAC file next to the ffmpeg program decoding the same files to 16-bit PCM,
# and prints each ratio (goal: below 1.0, faster than ffmpeg).
#
#   bench/decode_bass.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
driver="$build/bench/quillo_bench_bass_decode"
[ -x "$driver" ] || cmake --build "$build" --target quillo_bench_bass_decode
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Ten minutes of stereo 44100 Hz: a tone on the left, pink noise on the right.
ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=600" \
  -f lavfi -i "anoisesrc=color=pink:sample_rate=44100:duration=600:amplitude=0.3" \
  -filter_complex "[0:a][1:a]amerge=inputs=2" -ac 2 "$work/in.wav"
ffmpeg -v error -i "$work/in.wav" -c:a libmp3lame -b:a 192k "$work/long.mp3"
ffmpeg -v error -i "$work/in.wav" -c:a flac "$work/long.flac"
rm "$work/in.wav"

for file in long.mp3 long.flac; do
  hyperfine --warmup 1 --runs "${RUNS:-5}" --export-json "$work/$file.json" \
    -n quillo "$driver $work/$file" \
    -n ffmpeg "ffmpeg -v error -i $work/$file -f s16le -y /dev/null"
done

python3 - "$work" <<'PY'
import json, sys
for name, label in (("long.mp3", "MP3"), ("long.flac", "FLAC")):
    results = {r["command"]: r for r in json.load(open(f"{sys.argv[1]}/{name}.json"))["results"]}
    quillo, ffmpeg = results["quillo"], results["ffmpeg"]
    # CPU time is the steadier measure on a busy machine; both are shown.
    print(f"{label} decode: BassSource {quillo['mean']:.2f} s, ffmpeg {ffmpeg['mean']:.2f} s, "
          f"ratio {quillo['mean'] / ffmpeg['mean']:.3f}; CPU {quillo['user']:.2f} s vs "
          f"{ffmpeg['user']:.2f} s, ratio {quillo['user'] / ffmpeg['user']:.3f} (goal below 1.0)")
PY
