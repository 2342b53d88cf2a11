#!/usr/bin/env bash
# The bash completion that quillo-cli makes, sourced into bash and asked as
# the shell asks it: commands, the options of each command (the same as its
# --help lists), the words of an option's value, format names, folders and
# file names with spaces.
#
#   completion_test.sh QUILLO_CLI
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$cli" completion bash >completion.bash
bash -n completion.bash
# shellcheck disable=SC1091
source completion.bash
failures=0

# The completions of a command line whose last word is being typed.
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _quillo_cli 2>/dev/null
  [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() {  # EXPECTED WORD...
  local expected=$1 got
  shift
  got=$(complete_line "$@")
  if [ "$got" != "$expected" ]; then
    echo "FAIL: quillo-cli ${*:2}|: got '$got', expected '$expected'"
    failures=$((failures + 1))
  fi
}

mkdir "music dir" other
touch "music dir/a b.wav" notes.txt
expect "completion convert " quillo-cli co
expect "--if-exists " quillo-cli convert --if
expect "overwrite rename skip " quillo-cli convert --if-exists ""
expect "off on " quillo-cli join --dtx o
expect "none seq " quillo-cli convert --track ""
expect "flac " quillo-cli convert -f fla
expect "flac " quillo-cli convert --format = fla
expect "--files-from --json --null " quillo-cli probe a.wav --
expect "" quillo-cli convert --skip ""
expect "music dir other " quillo-cli convert -d ""
expect "music dir/a b.wav " quillo-cli convert "music dir/"
expect "bash " quillo-cli completion ""
expect "" quillo-cli formats ""

# Every option --help lists for convert is offered after "-", and no other
# (the options of join alone excepted).
from_help=$("$cli" --help | sed '/^Options of join:/,/^$/d' | sed -n '/^Options of/,/^Output/s/^  \(-[0-9a-z], \)\{0,1\}\(--[a-z0-9-]*\).*/\2/p' | sort)
offered=$(complete_line quillo-cli convert -- | tr ' ' '\n' | grep -- '^--' | sort)
if [ "$from_help" != "$offered" ]; then
  echo "FAIL: the options offered differ from --help:"
  diff <(echo "$from_help") <(echo "$offered") || true
  failures=$((failures + 1))
fi
[ "$(echo "$from_help" | wc -l)" -ge 35 ] || { echo "FAIL: too few options in --help"; exit 1; }

[ "$failures" -eq 0 ] || exit 1
echo "completion: every case as expected"
