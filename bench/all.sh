#!/usr/bin/env bash
# Every benchmark in one table: each row is Quillo's wall time and peak
# memory next to the ffmpeg programs doing the same work in the same run, and
# the ratios of wall time, memory and CPU time (user + system; steadier than
# wall time on a busy machine) (below 1.0: Quillo is faster or smaller). Each
# command runs RUNS times (default 3); the best times and the largest peak
# are kept.
#
#   bench/all.sh [BUILD_DIR]   (default: build)
#   SECONDS_OF_AUDIO=600 RUNS=5 bench/all.sh build
#
# A 24-bit 96000 Hz WAV to FLAC keeps its 24 bits in both programs.
# Goals: 20 files with -j 2 at most 0.55 of sequential ffmpeg on 2 cores; peak
# memory of one conversion at most 0.8 of ffmpeg's. Resampling: WAV to WAV at
# 48000 Hz at most 1.3 of `ffmpeg -ar 48000`, WAV to MP3 at 48000 Hz at most
# 1.05, WMA at 22050 Hz at most 1.1. ffmpeg has no AMR-NB encoder, so the AMR
# row (8000 Hz mono, resampled and folded) shows Quillo's figures alone. A
# --files-from list of 400,000 names of one file (~12 MB) converted: at most
# 90 bytes a name above the peak of converting that file alone (measured 80,
# before the names were moved instead of copied 160). An MP4 of 1,000 short
# AAC tracks: probing or converting it (the first track) peaks below 100 MB.
. "$(dirname "$0")/common.sh" "${1:-build}" quillo-cli quillo_bench_decode
cli="$build/cli/quillo-cli"
decode="$build/bench/quillo_bench_decode"
runs=${RUNS:-3}
length=${SECONDS_OF_AUDIO:-180}
export QUILLO_CONFIG="$work/quillo.conf"

make_wav "$work/long.wav" "$length"
make_wav "$work/hi.wav" "$length" -ar 96000 -c:a pcm_s24le
ffmpeg -v error -i "$work/long.wav" -c:a libmp3lame -b:a 192k "$work/long.mp3"
ffmpeg -v error -i "$work/long.wav" -c:a aac -b:a 192k "$work/long.m4a"
mkdir -p "$work/twenty" "$work/probe"
make_wav "$work/twenty/01.wav" 30
for i in $(seq -w 2 20); do cp "$work/twenty/01.wav" "$work/twenty/$i.wav"; done
make_wav "$work/probe/0.wav" 1
ffmpeg -v error -i "$work/probe/0.wav" -c:a libmp3lame "$work/probe/0.mp3"
# yes ends on SIGPIPE when head has its lines: not a failure.
(yes "$work/probe/0.wav" || true) | head -n 400000 >"$work/names"
# 1,000 copies of one 10-second AAC track in one MP4, copied, not encoded.
ffmpeg -v error -f lavfi -i "sine=duration=10" -c:a aac -b:a 8k "$work/one.m4a"
# shellcheck disable=SC2046
ffmpeg -v error -i "$work/one.m4a" $(printf -- '-map 0:a %.0s' $(seq 1000)) -c copy \
  "$work/tracks.mp4"
for i in $(seq 1 249); do
  cp "$work/probe/0.wav" "$work/probe/$i.wav"
  cp "$work/probe/0.mp3" "$work/probe/$i.mp3"
done

# measure COMMAND: prints "SECONDS KILOBYTES CPU_SECONDS", the best wall
# time, the largest peak resident size and the least CPU time over the runs.
measure() {
  local best="" peak=0 cpu="" seconds kb user system used
  for _ in $(seq "$runs"); do
    rm -rf "$work/out" && mkdir -p "$work/out"
    /usr/bin/time -o "$work/time" -f "%e %M %U %S" bash -c "$1" >/dev/null 2>&1 || true
    read -r seconds kb user system < <(tail -1 "$work/time")
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
    [ "$kb" -gt "$peak" ] && peak=$kb
    used=$(awk "BEGIN{print $user + $system}")
    if [ -z "$cpu" ] || awk "BEGIN{exit !($used < $cpu)}"; then cpu=$used; fi
  done
  echo "$best $peak $cpu"
}

rows=()
row() {  # LABEL QUILLO_COMMAND [FFMPEG_COMMAND]
  if [ -n "${3:-}" ]; then
    rows+=("$1|$(measure "$2")|$(measure "$3")")
  else
    rows+=("$1|$(measure "$2")|0 0 0")
  fi
}
q="$cli convert --tags none -d $work/out"
ff="ffmpeg -v error -y -i $work/long.wav"
row "WAV to MP3 128k" "$q -f mp3 --bitrate 128000 $work/long.wav" \
  "$ff -c:a libmp3lame -b:a 128k $work/out/f.mp3"
row "WAV to FLAC" "$q -f flac $work/long.wav" "$ff -c:a flac $work/out/f.flac"
row "24/96 WAV to 24-bit FLAC" "$q -f flac --auto $work/hi.wav" \
  "ffmpeg -v error -y -i $work/hi.wav -c:a flac $work/out/f.flac"
row "WAV to AAC 128k" "$q -f aac --bitrate 128000 $work/long.wav" \
  "$ff -c:a aac -b:a 128k $work/out/f.aac"
row "WAV to MP3 at 48000 Hz" "$q -f mp3 --bitrate 128000 --rate 48000 $work/long.wav" \
  "$ff -c:a libmp3lame -b:a 128k -ar 48000 $work/out/f.mp3"
row "WAV to WAV at 48000 Hz" "$q -f wav --rate 48000 $work/long.wav" \
  "$ff -ar 48000 $work/out/f.wav"
row "WAV to AMR (8000 Hz)" "$q -f amr $work/long.wav"
row "WAV to WMA at 22050 Hz" "$q -f wma --rate 22050 --bitrate 64000 --channels 2 $work/long.wav" \
  "$ff -c:a wmav2 -ar 22050 -ac 2 -b:a 64k $work/out/f.wma"
row "MP3 decoding" "$decode framework $work/long.mp3" \
  "ffmpeg -v error -i $work/long.mp3 -f s16le -y /dev/null"
row "AAC decoding" "$decode framework $work/long.m4a" \
  "ffmpeg -v error -i $work/long.m4a -f s16le -y /dev/null"
row "20 files to MP3, -j 2" "$q -j 2 -f mp3 --bitrate 128000 $work/twenty" \
  "for f in $work/twenty/*.wav; do ffmpeg -v error -y -i \$f -c:a libmp3lame -b:a 128k $work/out/\$(basename \$f .wav).mp3; done"
row "probing 500 files" "$cli probe $work/probe/*" \
  "for f in $work/probe/*; do ffprobe -v error -show_format -show_streams \$f; done"
row "list of 400,000 names" "$q -f wav --files-from $work/names"
row "its one file alone" "$q -f wav $work/probe/0.wav"
row "probing 1,000-track MP4" "$cli probe $work/tracks.mp4" \
  "ffprobe -v error -show_format $work/tracks.mp4"
row "1,000-track MP4 to WAV" "$q -f wav $work/tracks.mp4" \
  "ffmpeg -v error -y -i $work/tracks.mp4 -map 0:a:0 $work/out/f.wav"

printf '%-26s %9s %9s %9s %9s %9s %9s %7s %7s %7s\n' "work" "quillo s" "ffmpeg s" \
  "quillo MB" "ffmpeg MB" "q cpu s" "f cpu s" "time" "memory" "cpu"
for r in "${rows[@]}"; do
  IFS='|' read -r label quillo ffmpeg <<<"$r"
  read -r qs qk qc <<<"$quillo"
  read -r fs fk fc <<<"$ffmpeg"
  # A row without an ffmpeg command shows dashes in place of its figures.
  awk -v l="$label" -v qs="$qs" -v qk="$qk" -v qc="$qc" -v fs="$fs" -v fk="$fk" -v fc="$fc" '
  BEGIN {
    if (fk > 0)
      printf "%-26s %9.2f %9.2f %9.1f %9.1f %9.2f %9.2f %7.3f %7.3f %7.3f\n", l, qs, fs, qk / 1024,
             fk / 1024, qc, fc, (fs > 0 ? qs / fs : 0), qk / fk, (fc > 0 ? qc / fc : 0)
    else
      printf "%-26s %9.2f %9s %9.1f %9s %9.2f %9s %7s %7s %7s\n", l, qs, "-", qk / 1024, "-", qc,
             "-", "-", "-", "-" }'
done
