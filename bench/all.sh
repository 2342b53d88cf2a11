#!/usr/bin/env bash
# Every benchmark in one table: each row is Quillo's wall time and peak
# memory next to the ffmpeg programs doing the same work in the same run, and
# the two ratios (below 1.0: Quillo is faster or smaller). Each command runs
# RUNS times (default 3); the best time and the largest peak are kept.
#
#   bench/all.sh [BUILD_DIR]   (default: build)
#   SECONDS_OF_AUDIO=600 RUNS=5 bench/all.sh build
#
# Goals: 20 files with -j 2 at most 0.55 of sequential ffmpeg on 2 cores; peak
# memory of one conversion at most 0.8 of ffmpeg's.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cli="$build/cli/quillo-cli"
decode="$build/bench/quillo_bench_decode"
[ -x "$cli" ] && [ -x "$decode" ] || cmake --build "$build" --target quillo-cli quillo_bench_decode
runs=${RUNS:-3}
length=${SECONDS_OF_AUDIO:-180}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUILLO_CONFIG="$work/quillo.conf"

# The material: stereo 44100 Hz, a tone on the left and pink noise on the right.
make_wav() {  # PATH SECONDS
  ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$2" \
    -f lavfi -i "anoisesrc=color=pink:sample_rate=44100:duration=$2:amplitude=0.3" \
    -filter_complex "[0:a][1:a]amerge=inputs=2" -ac 2 -y "$1"
}
make_wav "$work/long.wav" "$length"
ffmpeg -v error -i "$work/long.wav" -c:a libmp3lame -b:a 192k "$work/long.mp3"
ffmpeg -v error -i "$work/long.wav" -c:a aac -b:a 192k "$work/long.m4a"
mkdir -p "$work/twenty" "$work/probe"
make_wav "$work/twenty/01.wav" 30
for i in $(seq -w 2 20); do cp "$work/twenty/01.wav" "$work/twenty/$i.wav"; done
make_wav "$work/probe/0.wav" 1
ffmpeg -v error -i "$work/probe/0.wav" -c:a libmp3lame "$work/probe/0.mp3"
for i in $(seq 1 249); do
  cp "$work/probe/0.wav" "$work/probe/$i.wav"
  cp "$work/probe/0.mp3" "$work/probe/$i.mp3"
done

# measure COMMAND: prints "SECONDS KILOBYTES", the best wall time and the
# largest peak resident size over the runs.
measure() {
  local best="" peak=0 line seconds kb
  for _ in $(seq "$runs"); do
    rm -rf "$work/out" && mkdir -p "$work/out"
    /usr/bin/time -o "$work/time" -f "%e %M" bash -c "$1" >/dev/null 2>&1 || true
    line=$(tail -1 "$work/time")
    seconds=${line% *} kb=${line#* }
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  echo "$best $peak"
}

rows=()
row() {  # LABEL QUILLO_COMMAND FFMPEG_COMMAND
  rows+=("$1|$(measure "$2")|$(measure "$3")")
}
q="$cli convert --tags none -d $work/out"
ff="ffmpeg -v error -y -i $work/long.wav"
row "WAV to MP3 128k" "$q -f mp3 --bitrate 128000 $work/long.wav" \
  "$ff -c:a libmp3lame -b:a 128k $work/out/f.mp3"
row "WAV to FLAC" "$q -f flac $work/long.wav" "$ff -c:a flac $work/out/f.flac"
row "WAV to AAC 128k" "$q -f aac --bitrate 128000 $work/long.wav" \
  "$ff -c:a aac -b:a 128k $work/out/f.aac"
row "WAV to MP3 at 48000 Hz" "$q -f mp3 --bitrate 128000 --rate 48000 $work/long.wav" \
  "$ff -c:a libmp3lame -b:a 128k -ar 48000 $work/out/f.mp3"
row "MP3 decoding" "$decode framework $work/long.mp3" \
  "ffmpeg -v error -i $work/long.mp3 -f s16le -y /dev/null"
row "AAC decoding" "$decode framework $work/long.m4a" \
  "ffmpeg -v error -i $work/long.m4a -f s16le -y /dev/null"
row "20 files to MP3, -j 2" "$q -j 2 -f mp3 --bitrate 128000 $work/twenty" \
  "for f in $work/twenty/*.wav; do ffmpeg -v error -y -i \$f -c:a libmp3lame -b:a 128k $work/out/\$(basename \$f .wav).mp3; done"
row "probing 500 files" "$cli probe $work/probe/*" \
  "for f in $work/probe/*; do ffprobe -v error -show_format -show_streams \$f; done"

printf '%-26s %10s %10s %10s %10s %8s %8s\n' "work" "quillo s" "ffmpeg s" "quillo MB" \
  "ffmpeg MB" "time" "memory"
for r in "${rows[@]}"; do
  IFS='|' read -r label quillo ffmpeg <<<"$r"
  read -r qs qk <<<"$quillo"
  read -r fs fk <<<"$ffmpeg"
  awk -v l="$label" -v qs="$qs" -v qk="$qk" -v fs="$fs" -v fk="$fk" 'BEGIN {
    printf "%-26s %10.2f %10.2f %10.1f %10.1f %8.3f %8.3f\n", l, qs, fs, qk / 1024, fk / 1024,
           (fs > 0 ? qs / fs : 0), (fk > 0 ? qk / fk : 0) }'
done
