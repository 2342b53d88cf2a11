#!/usr/bin/env bash
# Times FrameworkSink encoding ten minutes of PCM to MP3 at 128 kbit/s next
# to the ffmpeg program doing the same work, and prints the ratio (goal:
# within 1.10 of ffmpeg).
#
#   bench/encode_mp3.sh [BUILD_DIR]   (default: build)
. "$(dirname "$0")/common.sh" "${1:-build}" quillo_bench_encode
driver="$build/bench/quillo_bench_encode"

make_wav "$work/in.raw" 600 -f s16le

hyperfine --warmup 1 --runs "${RUNS:-5}" --export-json "$work/times.json" \
  -n quillo "$driver $work/in.raw $work/quillo.mp3" \
  -n ffmpeg "ffmpeg -v error -y -f s16le -ar 44100 -ac 2 -i $work/in.raw -c:a libmp3lame -b:a 128k $work/ffmpeg.mp3"

python3 - "$work/times.json" <<'PY'
import json, sys
results = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
ratio = results["quillo"] / results["ffmpeg"]
print(f"FrameworkSink {results['quillo']:.2f} s, ffmpeg {results['ffmpeg']:.2f} s, ratio {ratio:.3f} (goal 1.10)")
PY
