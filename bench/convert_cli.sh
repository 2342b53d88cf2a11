#!/usr/bin/env bash
# Times `quillo-cli convert` of a ten-minute 44100 Hz stereo WAV to MP3
# (128 kbit/s), FLAC and AAC next to the ffmpeg program doing the same
# conversion, and the same WAV to MP3 at 48000 Hz (resampling), and prints
# each ratio (goal: within 1.10 of ffmpeg without resampling).
#
#   bench/convert_cli.sh [BUILD_DIR]   (default: build)
. "$(dirname "$0")/common.sh" "${1:-build}" quillo-cli
cli="$build/cli/quillo-cli"

make_wav "$work/long.wav" 600

quillo() {  # FORMAT [OPTIONS...]: one conversion into a fresh folder
  echo "rm -rf $work/q && QUILLO_CONFIG=$work/q.conf $cli convert -f $* --tags none -d $work/q $work/long.wav"
}
run() {  # NAME QUILLO_COMMAND FFMPEG_COMMAND
  hyperfine --warmup 1 --runs "${RUNS:-3}" --export-json "$work/$1.json" \
    -n quillo "$2" -n ffmpeg "$3" >/dev/null
}
ff="ffmpeg -v error -y -i $work/long.wav"
run mp3 "$(quillo mp3 --bitrate 128000)" "$ff -c:a libmp3lame -b:a 128k $work/f.mp3"
run flac "$(quillo flac)" "$ff -c:a flac $work/f.flac"
run aac "$(quillo aac --bitrate 128000)" "$ff -c:a aac -b:a 128k $work/f.aac"
run mp3_48k "$(quillo mp3 --bitrate 128000 --rate 48000)" \
  "$ff -c:a libmp3lame -b:a 128k -ar 48000 $work/f48.mp3"

python3 - "$work" <<'PY'
import json, sys
for name, label in (("mp3", "WAV to MP3 128k"), ("flac", "WAV to FLAC"), ("aac", "WAV to AAC 128k"),
                    ("mp3_48k", "WAV to MP3 128k at 48000 Hz (resampling)")):
    r = {x["command"]: x for x in json.load(open(f"{sys.argv[1]}/{name}.json"))["results"]}
    q, f = r["quillo"], r["ffmpeg"]
    print(f"{label}: quillo-cli {q['mean']:.2f} s, ffmpeg {f['mean']:.2f} s, ratio {q['mean'] / f['mean']:.3f}")
PY
