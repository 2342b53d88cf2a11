#!/usr/bin/env bash
# Fails when a lower layer includes a header of a layer above it. Each line
# of `layers` names a folder and the folders its sources may include; the
# front ends (ui/, cli/) and the back-ends sit on top and are not listed.
#
#   scripts/check_layers.sh [SOURCE_DIR]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}" || exit 2

layers=(
  "base:base"
  "catalog:base catalog"
  "settings:base catalog settings"
  "engine:base catalog settings engine"
)

status=0
for layer in "${layers[@]}"; do
  folder=${layer%%:*}
  allowed=${layer#*:}
  pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*\"(${allowed// /|})/"
  # Every quoted include of a project folder that is not an allowed one.
  while IFS= read -r hit; do
    [[ -z $hit ]] && continue
    echo "$hit: $folder/ may include only ${allowed// /, }" >&2
    status=1
  done < <(grep -rnE --include='*.h' --include='*.cpp' \
             '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/' "$folder" |
           grep -vE "^[^:]+:[0-9]+:${pattern#^}")
done
exit "$status"
