#!/usr/bin/env bash
# A library run through GNU parallel as the README shows it: the file list
# cut into chunks, one quillo-cli per chunk, two job slots, the JSON lines of
# all chunks merged and checked against the list; then the same run again, as
# a retry would, over the outputs it left.
#
#   parallel_chunks_test.sh QUILLO_CLI
set -euo pipefail
cli=$1
command -v parallel >/dev/null || { echo "SKIP: GNU parallel is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir -p "library/disc one" library/two
for i in 1 2 3 4 5 6 7; do
  folder=library/two
  [ $((i % 2)) -eq 0 ] && folder="library/disc one"
  ffmpeg -v error -y -f lavfi -i "sine=f=$((200 * i)):r=16000:d=0.$i" "$folder/track $i.wav"
done
ffmpeg -v error -y -f lavfi -i "sine=f=1600:r=16000:d=0.8" $'library/two/track\n8.wav'
find library -name '*.wav' -print0 >list

run() {
  parallel --will-cite --pipe --recend '\0' -N 3 -j 2 \
    "$cli" convert --json --config quillo.conf -f flac -d out --keep-tree --if-exists overwrite \
    --files-from - -0 <list >"$1"
}
run first.jsonl
run again.jsonl

python3 - list first.jsonl again.jsonl <<'PY'
import json, os, subprocess, sys

names = open(sys.argv[1]).read().split("\0")[:-1]
for merged in sys.argv[2:]:
    lines = open(merged).read().splitlines()
    records = [json.loads(line) for line in lines]
    assert sorted(r["input"] for r in records) == sorted(names), merged
    for r in records:
        assert r["state"] == "ok", r
        seconds = int(r["input"].split()[-1][0]) / 10
        samples = subprocess.run(
            ["ffprobe", "-v", "error", "-select_streams", "a:0", "-count_packets", "-show_entries",
             "stream=sample_rate,channels,duration_ts", "-of", "json", r["output"]],
            check=True, capture_output=True, text=True).stdout
        stream = json.loads(samples)["streams"][0]
        assert (int(stream["sample_rate"]), stream["channels"]) == (16000, 1), stream
        assert int(stream["duration_ts"]) == round(16000 * seconds), (r["output"], stream)
left = [f for _, _, files in os.walk("out") for f in files if "quillo-part" in f]
assert not left, left
print(f"{len(names)} files in chunks of 3, twice: every line ok, every output whole")
PY
