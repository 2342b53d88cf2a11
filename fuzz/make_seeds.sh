#!/usr/bin/env bash
# Makes the fuzzers' seed corpora: small files of every kind each parser
# reads, written by ffmpeg, sox, sndfile-convert and the program's own
# writers (quillo-cli, for AMR and the settings file), plus hand-made bytes
# where no tool writes the format. Nothing here is committed as binary.
#
#   fuzz/make_seeds.sh OUT_DIR [QUILLO_CLI]
#
# OUT_DIR/<fuzzer>/ gets the seeds of each fuzzer. Without QUILLO_CLI the
# AMR and settings seeds the program writes are left out.
set -euo pipefail

out=${1:?usage: make_seeds.sh OUT_DIR [QUILLO_CLI]}
cli=${2:-}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for f in au_source_fuzz aiff_source_fuzz amr_source_fuzz midi_file_fuzz riff_info_fuzz \
         cda_fuzz wav_stream_fuzz settings_fuzz cue_sheet_fuzz; do
  mkdir -p "$out/$f"
done

ff() { ffmpeg -nostdin -v error -y "$@"; }

# A short stereo and mono signal: fuzzing is fastest on small inputs.
stereo=$work/stereo.wav
mono=$work/mono.wav
sox -n -r 8000 -c 2 -b 16 "$stereo" synth 0.04 sine 440 sine 660
sox -n -r 8000 -c 1 -b 16 "$mono" synth 0.04 sine 440

# AU: every PCM width, float, G.711 and the G.726 codings, both byte orders.
d=$out/au_source_fuzz
for enc in pcms8 pcm16 pcm24 pcm32 float32 float64 ulaw alaw; do
  sndfile-convert "-$enc" "$stereo" "$d/$enc.au"
done
sndfile-convert -endian=little -pcm16 "$stereo" "$d/little16.au"
for rate in 24k 32k 40k; do
  ff -i "$mono" -c:a adpcm_g726le -b:a "$rate" "$d/g726_$rate.au"
done

# AIFF and AIFF-C: PCM, sowt, float, G.711, IMA4, DWVW, GSM, and an ID3 chunk.
d=$out/aiff_source_fuzz
for bits in 8 16 24 32; do sox "$stereo" -b "$bits" "$d/pcm$bits.aiff"; done
sndfile-convert -alaw "$mono" "$d/alaw.aif"
sndfile-convert -ulaw "$mono" "$d/ulaw.aif"
sox "$stereo" -e floating-point -b 32 -t aifc "$d/float.aifc"
ff -i "$stereo" -c:a pcm_s16le -f aiff "$d/sowt.aifc"
ff -i "$stereo" -c:a adpcm_ima_qt -f aiff "$d/ima4.aifc"
for bits in 12 16 24; do sndfile-convert "-dwvw$bits" "$mono" "$d/dwvw$bits.aif"; done
ff -i "$mono" -c:a gsm "$work/gsm.mov"
ff -i "$work/gsm.mov" -c copy -f aiff "$d/gsm.aifc"
ff -i "$stereo" -metadata title=Song -metadata artist=Band -write_id3v2 1 "$d/id3.aiff"

# The PCM container stream: the WAV codings (block-coded ones have a "fact"
# chunk), a six-channel extensible WAV, and the other containers it reads.
d=$out/wav_stream_fuzz
for enc in pcmu8 pcm16 pcm24 float32 ulaw alaw ima-adpcm ms-adpcm; do
  sndfile-convert "-$enc" "$stereo" "$d/$enc.wav"
done
sndfile-convert -gsm610 "$mono" "$d/gsm610.wav"
ff -f lavfi -i sine=r=8000:d=0.02 -ac 6 "$d/six.wav"
sndfile-convert -pcm16 "$stereo" "$d/pcm16.w64"
sndfile-convert -pcm16 "$stereo" "$d/pcm16.caf"

# Hand-made bytes: `b` prints escapes such as \x41; `le32`/`be32` a 32-bit
# number; `chunk ORDER ID FILE` a chunk holding FILE's bytes.
b() { printf '%b' "$@"; }
le32() { b "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
be32() { b "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 >> 24 & 255)) $(($1 >> 16 & 255)) $(($1 >> 8 & 255)) $(($1 & 255)))"; }
chunk() {
  local size
  size=$(wc -c < "$3")
  b "$2"
  "$1" "$size"
  cat "$3"
}
# A RIFF WAVE file of 8000 Hz mono 16-bit with the chunks of the file given
# after its "fmt " chunk.
wave() {
  { b 'WAVE'; b 'fmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x80\x3e\x00\x00\x02\x00\x10\x00'
    cat "$1"; } > "$work/form"
  chunk le32 RIFF "$work/form"
}

# RIFF INFO: the tags ffmpeg writes, Windows-1252 text, a genre byte, the
# part number in place of the track, and a DISP title.
d=$out/riff_info_fuzz
ff -i "$mono" -metadata title=Song -metadata artist=Band -metadata album=Album \
  -metadata date=2004-05-12 -metadata genre='(17)' -metadata comment=Nice \
  -metadata track=3 -metadata copyright='(c) Us' "$d/ffmpeg.wav"
b 'INFOINAM\x06\x00\x00\x00Caf\xe9\x00\x00IGRE\x01\x00\x00\x00\x11\x00' > "$work/info"
{ chunk le32 LIST "$work/info"; b 'data\x00\x00\x00\x00'; } > "$work/chunks"
wave "$work/chunks" > "$d/latin1.wav"
b 'INFOIPRT\x02\x00\x00\x007\x00ICRD\x02\x00\x00\x0099' > "$work/info"
{ chunk le32 LIST "$work/info"; b 'data\x00\x00\x00\x00'; } > "$work/chunks"
wave "$work/chunks" > "$d/part.wav"
b '\x01\x00\x00\x00Title\x00' > "$work/disp"
{ chunk le32 DISP "$work/disp"; b 'data\x00\x00\x00\x00'; } > "$work/chunks"
wave "$work/chunks" > "$d/disp.wav"

# MIDI: a format-0 song with tempo changes and running status, and a
# format-1 song with a system-exclusive message and drums on its second track.
d=$out/midi_file_fuzz
b '\x00\xff\x51\x03\x07\xa1\x20\x00\xc0\x00\x00\x90\x3c\x64\x60\x80\x3c\x00' \
  '\x00\x90\x40\x64\x60\x40\x00\x00\xff\x51\x03\x03\xd0\x90\x81\x40\xff\x2f\x00' > "$work/track"
{ b 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60'; chunk be32 MTrk "$work/track"; } \
  > "$d/two_notes.mid"
b '\x00\xff\x58\x04\x04\x02\x18\x08\x00\xff\x2f\x00' > "$work/track1"
b '\x00\xf0\x05\x7e\x7f\x09\x01\xf7\x00\x99\x24\x64\x83\x60\x24\x00\x00\xff\x2f\x00' \
  > "$work/track2"
{ b 'MThd\x00\x00\x00\x06\x00\x01\x00\x02\x01\xe0'; chunk be32 MTrk "$work/track1"
  chunk be32 MTrk "$work/track2"; } > "$d/sysex.mid"

# CDA: the stub of track 7, and a mount table with an escaped mount point.
d=$out/cda_fuzz
b 'CDDA' > "$work/cda"
b 'fmt \x18\x00\x00\x00\x01\x00\x07\x00\x78\x56\x34\x12\x96\x00\x00\x00\x10\x27\x00\x00' \
  '\x00\x02\x00\x00\x00\x0a\x02\x00' >> "$work/cda"
chunk le32 RIFF "$work/cda" > "$d/track07.cda"
cat > "$d/mountinfo" <<'EOF'
22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw
35 22 11:0 / /media/disc ro,nosuid shared:20 - iso9660 /dev/sr0 ro
36 22 8:17 / /media/ann/My\040Disc rw shared:21 - vfat /dev/sdb1 rw
EOF

# Settings: hand-edited files (lists, quotes, escapes, a broken line).
d=$out/settings_fuzz
cat > "$d/edited.conf" <<'EOF'
[Options]
Folder=/home/user/Music
FilterExts=wav, mp3;M4A
EnableExtFilter=1
OutputFormat=2000
WAVSampleRate= 48000
WMAChannels=5
Volume=abc
ID3\Title=One, two
ID3\Artist="Quoted \"name\""
ID3\Year=2024
ID3\TrackNumType=2
broken line
[Other]
Key=1
EOF

# Cue sheets: quoted and unquoted values, a pregap, two files, and the same
# sheet in UTF-16 and in a legacy code page.
d=$out/cue_sheet_fuzz
printf 'REM GENRE "Rock"\r\nREM DATE 1999\r\nPERFORMER "A"\r\nTITLE "B"\r\nFILE "a.flac" WAVE\r\n  TRACK 01 AUDIO\r\n    TITLE "One"\r\n    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    INDEX 00 00:01:00\r\n    INDEX 01 00:01:10\r\n' > "$d/pregap.cue"
printf 'REM COMMENT made by hand\nFILE a.wav WAVE\nTRACK 1 AUDIO\nTITLE Caf\xe9 au lait\nINDEX 01 00:00:00\nFILE "b.wav" WAVE\nTRACK 2 AUDIO\nINDEX 01 00:00:30\n' > "$d/unquoted.cue"
iconv -f ISO-8859-1 -t UTF-16 "$d/unquoted.cue" > "$d/utf16.cue"

# What the program itself writes: AMR and AWB files in several modes, and
# the settings file it saves.
if [ -n "$cli" ]; then
  d=$out/amr_source_fuzz
  for seed in "nb122.amr:amr --band nb --mode 12.2" "nb475dtx.amr:amr --band nb --mode 4.75 --dtx on" \
              "wb2385.amr:amr --band wb --mode 23.85" "wb660.awb:awb --mode 6.60"; do
    rm -rf "$work/amr" && mkdir "$work/amr"
    # shellcheck disable=SC2086  # the options are split on purpose
    "$cli" convert --config "$work/amr.conf" -f ${seed#*:} -d "$work/amr" "$mono" >/dev/null
    mv "$work/amr"/* "$d/${seed%%:*}"
  done
  "$cli" convert --config "$out/settings_fuzz/saved.conf" --save -f wav --rate 22050 \
    --title "A, b" --artist 'Q "x" \ y' --track 4 -d "$work" "$mono" >/dev/null
fi
echo "Seeds in $out:"
for f in "$out"/*/; do echo "  $(basename "$f"): $(ls "$f" | wc -l)"; done
