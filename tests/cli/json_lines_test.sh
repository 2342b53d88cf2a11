#!/usr/bin/env bash
# quillo-cli convert, probe and join with --json over a mixed set of files
# named in a NUL-separated list (--files-from, standard input or a file, -0):
# a good file, a name with a line feed, a name that is not UTF-8, a file that
# is no audio, a video without sound. Every line must parse on its own
# (python3 -m json.tool), name its file losslessly and give the state the file
# had; the outputs are decoded and checked.
#
#   json_lines_test.sh QUILLO_CLI
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

tone() { ffmpeg -v error -y -f lavfi -i "sine=f=440:r=22050:d=$2" -ac 2 "$1"; }
tone good.wav 1
tone $'two\nlines.wav' 0.5
tone $'caf\xe9.wav' 0.25       # Latin-1 "café": not UTF-8
echo "not audio" > text.wav
ffmpeg -v error -y -f lavfi -i "testsrc=d=1:r=5" -an silent.mp4

printf '%s\0' good.wav $'two\nlines.wav' $'caf\xe9.wav' text.wav silent.mp4 >list
# Each command exits 1: some of its files failed.
expect_some_failed() {
  local status=0
  "$@" 2>stderr.txt || status=$?
  [ "$status" -eq 1 ] || { echo "$*: exit status $status, expected 1"; cat stderr.txt; exit 1; }
}
expect_some_failed "$cli" convert --json --config quillo.conf -f wav -d out --files-from - -0 -j 2 \
  <list >results.jsonl
expect_some_failed "$cli" probe --json --files-from list -0 >probe.jsonl
expect_some_failed "$cli" join --json --config quillo.conf -o joined.wav --files-from list -0 \
  >join.jsonl

for lines in results.jsonl probe.jsonl join.jsonl; do
  [ "$(wc -l <"$lines")" -eq 5 ] || { echo "expected 5 lines in $lines:"; cat "$lines"; exit 1; }
  while IFS= read -r line; do
    printf '%s\n' "$line" | python3 -m json.tool >/dev/null ||
      { echo "not JSON: $line"; exit 1; }
  done <"$lines"
done

python3 - results.jsonl probe.jsonl join.jsonl <<'PY'
import base64, json, sys, wave

def raw(record, key):
    """The path bytes: the base64 member when the text alone would lose them."""
    if key + "_base64" in record:
        return base64.b64decode(record[key + "_base64"])
    return None if record[key] is None else record[key].encode()

expected = {  # input: (state, frames per channel of the output)
    b"good.wav": ("ok", 22050),
    b"two\nlines.wav": ("ok", 11025),
    b"caf\xe9.wav": ("ok", 5513),
    b"text.wav": ("failed", None),
    b"silent.mp4": ("no-audio", None),
}
def records(path):
    by_input = {}
    for line in open(path, encoding="utf-8"):
        record = json.loads(line)
        by_input[raw(record, "input")] = record
    assert set(by_input) == set(expected), sorted(by_input)
    return by_input

def frames_of(path):
    with wave.open(open(path, "rb")) as audio:
        assert (audio.getframerate(), audio.getnchannels()) == (22050, 2)
        return audio.getnframes()

seen = records(sys.argv[1])
for name, (state, frames) in expected.items():
    record = seen[name]
    assert record["state"] == state, (name, record)
    assert record["seconds"] >= 0, record
    if state != "ok":
        assert record["output"] is None and record["reason"], record
        continue
    assert record["reason"] is None and record["volume"] == 100, record
    assert (record["rate"], record["channels"]) == (22050, 2), record
    output = raw(record, "output")
    assert output.endswith(name[:-4] + b".wav"), (output, name)
    assert abs(frames_of(output) - frames) <= 1, name
assert "\ufffd" in seen[b"caf\xe9.wav"]["input"]
assert seen[b"silent.mp4"]["status"] == "No audio in the file"
assert seen[b"text.wav"]["status"].startswith("Conversion Failure")

# probe: the properties of the audio files; the text file fails.
probed = records(sys.argv[2])
for name, (state, frames) in expected.items():
    if frames is not None:
        assert probed[name]["state"] == "ok", probed[name]
        assert (probed[name]["rate"], probed[name]["channels"]) == (22050, 2), probed[name]
assert probed[b"text.wav"]["state"] == "failed" and probed[b"text.wav"]["reason"]

# join: the audio files go into one output, as long as the three together.
joined = records(sys.argv[3])
for name, (state, frames) in expected.items():
    assert joined[name]["state"] == state, joined[name]
    assert joined[name]["output"] == ("joined.wav" if state == "ok" else None), joined[name]
assert abs(frames_of("joined.wav") - (22050 + 11025 + 5513)) <= 3
print("probe, convert and join: 5 lines each, each valid JSON; states, names and audio as expected")
PY
