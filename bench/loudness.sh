#!/usr/bin/env bash
# The cost of loudness normalization: `quillo-cli convert` of a 44100 Hz
# stereo WAV to MP3 (128 kbit/s) normalized by peak (the peak scan, then the
# conversion) and by loudness (the EBU R128 scan with true peak in the same
# read, then the conversion), and with ReplayGain tags measured during the
# conversion. Prints each time and its ratio to the peak-normalized one
# (goal: loudness at most 1.15). The loud white noise is the true-peak
# meter's worst case: no stretch of it is quiet enough to be skipped.
#
#   bench/loudness.sh [BUILD_DIR]   (default: build)
#   SECONDS_OF_AUDIO=600 RUNS=5 bench/loudness.sh build
. "$(dirname "$0")/common.sh" "${1:-build}" quillo-cli
cli="$build/cli/quillo-cli"
runs=${RUNS:-3}
length=${SECONDS_OF_AUDIO:-180}
export QUILLO_CONFIG="$work/quillo.conf"

make_wav "$work/long.wav" "$length"
ffmpeg -v error -f lavfi -i "anoisesrc=color=white:sample_rate=44100:duration=$length:amplitude=0.9" \
  -ac 2 -y "$work/noise.wav"

# The conversion runs on one thread, so its processor time (user and system)
# is its cost, and unlike the wall time it holds on a busy machine.
best() {  # COMMAND: the best processor time over the runs, in seconds
  local best="" seconds
  for _ in $(seq "$runs"); do
    rm -rf "$work/out"
    /usr/bin/time -o "$work/time" -f "%U %S" bash -c "$1" >/dev/null 2>&1
    seconds=$(tail -1 "$work/time" | awk '{ print $1 + $2 }')
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
  done
  echo "$best"
}

q="$cli convert -f mp3 --bitrate 128000 --tags none -d $work/out"
peak=$(best "$q --normalize $work/long.wav")
loud=$(best "$q --loudness -18 $work/long.wav")
keep=$(best "$q --keep-volume $work/long.wav")
noisePeak=$(best "$q --normalize $work/noise.wav")
noiseLoud=$(best "$q --loudness -18 $work/noise.wav")
rg=$(best "$cli convert -f mp3 --bitrate 128000 --tags source --replaygain on --keep-volume -d $work/out $work/long.wav")

printf '%-44s %8s %8s\n' "WAV to MP3 128k ($length s of audio)" "CPU s" "ratio"
for r in "normalized by peak|$peak" "normalized by loudness (EBU R128, true peak)|$loud" \
  "volume kept|$keep" "volume kept, ReplayGain tags|$rg" \
  "loud white noise, normalized by peak|$noisePeak|$noisePeak" \
  "loud white noise, normalized by loudness|$noiseLoud|$noisePeak"; do
  IFS='|' read -r label seconds base <<<"$r"
  awk -v l="$label" -v s="$seconds" -v p="${base:-$peak}" 'BEGIN { printf "%-44s %8.2f %8.3f\n", l, s, s / p }'
done
