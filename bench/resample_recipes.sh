#!/usr/bin/env bash
# The table from which the resampling adapter's soxr recipe was chosen: every
# recipe's SNR, passband flatness and speed, with `ffmpeg -ar 48000` writing
# the same half-scale 1 kHz tone as 16-bit as the bar to meet.
#
#   bench/resample_recipes.sh [BUILD_DIR]   (default: build)
. "$(dirname "$0")/common.sh" "${1:-build}" quillo_bench_resample
bench="$build/bench/quillo_bench_resample"
"$bench" --tone "$work/tone.s16"
ffmpeg -v error -f s16le -ar 44100 -ac 1 -i "$work/tone.s16" -ar 48000 -f s16le -y "$work/ffmpeg.s16"
"$bench" "$work/ffmpeg.s16"
