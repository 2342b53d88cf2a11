#!/usr/bin/env bash
# Builds the Debian package from a build folder, checks it with lintian (no
# error or warning, no missing hardening), installs it with dpkg, checks that
# both programs are hardened, runs them and a conversion from the installed
# paths, validates the desktop entry and the AppStream metadata, removes the
# package and checks that none of its files is left. Prints the package's
# contents on the way.
# Needs root and dpkg; exits 77 (skipped) without them.
#
#   scripts/package_test.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

skip() {
  echo "SKIP: $*"
  exit 77
}
fail() {
  echo "FAIL: $*"
  exit 1
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v dpkg >/dev/null || skip "dpkg is missing: this is no Debian system"
for tool in cpack lintian readelf desktop-file-validate appstreamcli ffmpeg ffprobe; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done
if dpkg-query -W -f='${Status}' quillo 2>/dev/null | grep -q ' installed$'; then
  skip "a quillo package is installed already; remove it (dpkg -r quillo) to run this test"
fi

work=$(mktemp -d)
installed=
cleanup() {
  [ -z "$installed" ] || dpkg -r quillo >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# dpkg waits for no one: when another install holds its lock, try again.
dpkg_retrying() {
  local try
  for try in $(seq 1 30); do
    if dpkg "$@" >"$work/dpkg.log" 2>&1; then return 0; fi
    grep -q 'lock' "$work/dpkg.log" || break
    sleep 2
  done
  cat "$work/dpkg.log"
  return 1
}

echo "== cpack -G DEB"
start=$SECONDS
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/package/quillo_*.deb)
version=$(dpkg-deb -f "$deb" Version)
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, made in $((SECONDS - start)) s"
dpkg-deb -f "$deb" Depends Recommends
echo "== contents"
dpkg-deb -c "$deb" >"$work/contents.txt"
awk '$1 !~ /^d/ {printf "%10s  %s\n", $3, $6}' "$work/contents.txt"
for path in usr/bin/quillo usr/bin/quillo-cli usr/share/man/man1/quillo.1.gz \
  usr/share/man/man1/quillo-cli.1.gz usr/share/doc/quillo/copyright \
  usr/share/doc/quillo/changelog.gz usr/share/bash-completion/completions/quillo-cli \
  usr/share/applications/quillo.desktop usr/share/metainfo/io.github.quillo.Quillo.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/quillo.svg usr/share/icons/hicolor/48x48/apps/quillo.png \
  usr/share/quillo/quillo-help.html; do
  grep -q " \./$path\$" "$work/contents.txt" || fail "the package lacks /$path"
done

# lintian's errors and warnings fail the test, and so does any of its
# (informational) tags of missing hardening; lintian-explain-tags TAG says
# what a tag means.
echo "== lintian"
start=$SECONDS
lintian --display-info --fail-on error,warning "$deb" \
  >"$work/lintian.log" 2>"$work/lintian.err" ||
  { cat "$work/lintian.log" "$work/lintian.err"; fail "lintian reports errors or warnings"; }
cat "$work/lintian.log"
grep -E '^[EW]: ' "$work/lintian.log" >/dev/null && fail "lintian reports errors or warnings"
grep -E '^I: .* hardening-' "$work/lintian.log" >/dev/null && fail "lintian finds a program not hardened"
echo "lintian: no error or warning, in $((SECONDS - start)) s"

echo "== dpkg -i"
dpkg_retrying -i "$deb" || fail "dpkg -i failed"
installed=yes
mapfile -t files < <(dpkg-query -L quillo | while IFS= read -r f; do [ -d "$f" ] || echo "$f"; done)
echo "${#files[@]} files installed"

# The hardening of the installed programs, read from their ELF headers: a
# position-independent executable, read-only relocations bound at start-up,
# a stack protector and fortified libc calls.
hardened() {
  local program=$1 header segments dynamic symbols
  header=$(readelf -hW "$program")
  segments=$(readelf -lW "$program")
  dynamic=$(readelf -dW "$program")
  symbols=$(readelf --dyn-syms -W "$program")
  grep -E 'Type: +DYN' <<<"$header" >/dev/null || fail "$program is no position-independent executable"
  grep -E 'FLAGS_1.* PIE' <<<"$dynamic" >/dev/null || fail "$program is not marked PIE"
  grep GNU_RELRO <<<"$segments" >/dev/null || fail "$program has no read-only relocations"
  grep -E 'BIND_NOW|FLAGS_1.* NOW' <<<"$dynamic" >/dev/null || fail "$program is not bound at start-up"
  grep ' __stack_chk_fail' <<<"$symbols" >/dev/null || fail "$program has no stack protector"
  grep -E ' __[a-z]+_chk(@|$)' <<<"$symbols" >/dev/null || fail "$program calls no fortified function"
}
hardened /usr/bin/quillo
hardened /usr/bin/quillo-cli
echo "quillo and quillo-cli: PIE, RELRO, bindnow, stack protector, fortify"

[ "$(/usr/bin/quillo-cli --version)" = "quillo-cli $version" ] || fail "quillo-cli --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/quillo --version)" = "quillo $version" ] ||
  fail "quillo --version"
echo "quillo-cli --version: $(/usr/bin/quillo-cli --version)"

# A conversion by the installed program, decoded again.
ffmpeg -v error -f lavfi -i "sine=f=440:r=32000:d=1.5" -ac 2 "$work/tone.wav"
/usr/bin/quillo-cli convert --json --config "$work/quillo.conf" -f flac -d "$work/out" \
  "$work/tone.wav" >"$work/result.jsonl" || fail "quillo-cli convert: $(cat "$work/result.jsonl")"
grep -q '"state": "ok"' "$work/result.jsonl" || fail "convert: $(cat "$work/result.jsonl")"
IFS=, read -r rate channels samples < <(ffprobe -v error -select_streams a:0 -show_entries \
  stream=sample_rate,channels,duration_ts -of csv=p=0 "$work/out/tone.flac")
[ "$rate $channels $samples" = "32000 2 48000" ] ||
  fail "the converted file has $rate Hz, $channels channels, $samples samples"
echo "quillo-cli convert: tone.wav -> tone.flac, 32000 Hz, 2 channels, 48000 samples"

gzip -dc /usr/share/man/man1/quillo-cli.1.gz | grep 'files\\-from' >/dev/null ||
  fail "quillo-cli.1 lacks --files-from"
gzip -dc /usr/share/man/man1/quillo.1.gz | grep '\\-\\-version' >/dev/null || fail "quillo.1 lacks --version"
if command -v man >/dev/null; then
  man -l /usr/share/man/man1/quillo-cli.1.gz 2>/dev/null | grep -- '--files-from FILE' >/dev/null ||
    fail "the manual page of quillo-cli does not read"
fi
bash -c 'source /usr/share/bash-completion/completions/quillo-cli && complete -p quillo-cli' \
  >/dev/null || fail "the bash completion does not load"
desktop-file-validate /usr/share/applications/quillo.desktop || fail "desktop-file-validate"
appstream=$(appstreamcli validate --no-net /usr/share/metainfo/io.github.quillo.Quillo.metainfo.xml 2>&1) ||
  { echo "$appstream"; fail "appstreamcli validate"; }
if echo "$appstream" | grep -qE '^[EWI]:'; then echo "$appstream"; fail "appstreamcli validate"; fi
echo "desktop-file-validate and appstreamcli validate: clean"

echo "== dpkg -r"
dpkg_retrying -r quillo || fail "dpkg -r failed"
installed=
status=$(dpkg-query -W -f='${Status}' quillo 2>/dev/null || true)
case "$status" in
  "" | *not-installed) ;;
  *) fail "after dpkg -r the package is \"$status\"" ;;
esac
left=0
for f in "${files[@]}"; do
  if [ -e "$f" ] || [ -L "$f" ]; then
    echo "left behind: $f"
    left=$((left + 1))
  fi
done
[ -e /usr/share/quillo ] && { echo "left behind: /usr/share/quillo"; left=$((left + 1)); }
[ "$left" -eq 0 ] || fail "$left files left after dpkg -r"
echo "dpkg -r: all ${#files[@]} files gone"
echo "package test passed"
