#!/usr/bin/env bash
# quillo-cli convert --json over a mixed set of files named on standard input
# (--files-from - -0): a good file, a name with a line feed, a name that is
# not UTF-8, a file that is no audio, a video without sound. Every line must
# parse on its own (python3 -m json.tool), name its file losslessly and give
# the state the file had; the outputs are decoded and checked.
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

printf '%s\0' good.wav $'two\nlines.wav' $'caf\xe9.wav' text.wav silent.mp4 |
  "$cli" convert --json --config quillo.conf -f wav -d out --files-from - -0 -j 2 \
    >results.jsonl 2>stderr.txt && status=0 || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1 (some failed)"; cat stderr.txt; exit 1; }

[ "$(wc -l <results.jsonl)" -eq 5 ] || { echo "expected 5 lines:"; cat results.jsonl; exit 1; }
while IFS= read -r line; do
  printf '%s\n' "$line" | python3 -m json.tool >/dev/null ||
    { echo "not JSON: $line"; exit 1; }
done <results.jsonl

python3 - results.jsonl <<'PY'
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
seen = {}
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    seen[raw(record, "input")] = record
assert set(seen) == set(expected), sorted(seen)
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
    with wave.open(open(output, "rb")) as audio:
        assert (audio.getframerate(), audio.getnchannels()) == (22050, 2)
        assert abs(audio.getnframes() - frames) <= 1, (name, audio.getnframes())
assert "\ufffd" in seen[b"caf\xe9.wav"]["input"]
assert seen[b"silent.mp4"]["status"] == "No audio in the file"
assert seen[b"text.wav"]["status"].startswith("Conversion Failure")
print("5 lines, each valid JSON; states, names and outputs as expected")
PY
