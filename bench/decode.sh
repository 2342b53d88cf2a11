#!/usr/bin/env bash
# Times the decoding back-ends next to the ffmpeg program decoding the same
# ten-minute stereo 44100 Hz files to 16-bit PCM, and prints each ratio:
#   FrameworkSource on MP3 and AAC (goal: within 1.10 of ffmpeg),
#   BassSource (the audio library) on MP3 and FLAC (goal: below 1.0),
#   OggVorbisSource on Vorbis (goal: within 1.10 of a bare ov_read loop;
#   libvorbis itself takes about 1.8 times ffmpeg's own decoder's time),
#   AiffSource on 24-bit PCM and IMA4 (goal: within 1.10 of ffmpeg).
#
#   bench/decode.sh [BUILD_DIR]   (default: build)
. "$(dirname "$0")/common.sh" "${1:-build}" quillo_bench_decode
driver="$build/bench/quillo_bench_decode"

make_wav "$work/in.wav" 600
ffmpeg -v error -i "$work/in.wav" -c:a libmp3lame -b:a 192k "$work/long.mp3"
ffmpeg -v error -i "$work/in.wav" -c:a aac -b:a 192k "$work/long.m4a"
ffmpeg -v error -i "$work/in.wav" -c:a flac "$work/long.flac"
ffmpeg -v error -i "$work/in.wav" -c:a libvorbis -b:a 192k "$work/long.ogg"
ffmpeg -v error -i "$work/in.wav" -c:a pcm_s24be "$work/long.aiff"
ffmpeg -v error -i "$work/in.wav" -c:a adpcm_ima_qt "$work/long-ima4.aiff"
rm "$work/in.wav"

cases="framework:long.mp3 framework:long.m4a library:long.mp3 library:long.flac ogg:long.ogg
  aiff:long.aiff aiff:long-ima4.aiff"
for case in $cases; do
  backend=${case%%:*} file=${case#*:}
  hyperfine --warmup 1 --runs "${RUNS:-5}" --export-json "$work/$backend-$file.json" \
    -n quillo "$driver $backend $work/$file" \
    -n ffmpeg "ffmpeg -v error -i $work/$file -f s16le -y /dev/null" >/dev/null
done

python3 - "$work" $cases <<'PY'
import json, sys
names = {"framework": ("FrameworkSource", "goal 1.10"), "library": ("BassSource", "goal below 1.0"),
         "ogg": ("OggVorbisSource", "libvorbis alone: about 1.8"), "aiff": ("AiffSource", "goal 1.10")}
for case in sys.argv[2:]:
    backend, file = case.split(":")
    results = {r["command"]: r for r in json.load(open(f"{sys.argv[1]}/{backend}-{file}.json"))["results"]}
    quillo, ffmpeg = results["quillo"], results["ffmpeg"]
    name, goal = names[backend]
    # CPU time is the steadier measure on a busy machine; both are shown.
    print(f"{file} through {name}: {quillo['mean']:.2f} s, ffmpeg {ffmpeg['mean']:.2f} s, "
          f"ratio {quillo['mean'] / ffmpeg['mean']:.3f}; CPU ratio "
          f"{quillo['user'] / ffmpeg['user']:.3f} ({goal})")
PY
