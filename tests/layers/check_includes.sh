#!/usr/bin/env bash
# Every #include "folder/..." in src/ must name a folder that the including
# file's folder may use, as the README's "Which folder may include which"
# table says. CMake targets cannot catch a wrong-way include: every target has
# src/ on its include path. Prints each offending line and exits 1.
set -euo pipefail
root=${1:?usage: check_includes.sh SOURCE_DIR}
readme="$root/README.md"

# The table: lines "folder  may use: a b c" between the two marker lines.
declare -A allowed
in_table=0
while IFS= read -r line; do
  case "$line" in
    "<!-- layers begin -->") in_table=1; continue ;;
    "<!-- layers end -->") in_table=0; continue ;;
  esac
  [ "$in_table" = 1 ] || continue
  [[ "$line" =~ ^([a-z_/]+)[[:space:]]+may\ use:(.*)$ ]] || continue
  allowed[${BASH_REMATCH[1]}]=" ${BASH_REMATCH[2]} "
done < "$readme"
if [ "${#allowed[@]}" -eq 0 ]; then
  echo "no layer table found in $readme" >&2
  exit 1
fi

failures=0
while IFS= read -r -d '' file; do
  rel=${file#"$root/src/"}
  folder=${rel%%/*}
  [ "$folder" = "$rel" ] && folder=main  # src/main.cpp
  if [ -z "${allowed[$folder]+set}" ]; then
    echo "$rel: folder \"$folder\" is not in the layer table" >&2
    failures=$((failures + 1))
    continue
  fi
  while IFS= read -r hit; do
    number=${hit%%:*}
    used=$(sed -E 's/^[0-9]+:#include "([a-z_]+)\/.*/\1/' <<<"$hit")
    [ "$used" = "$folder" ] && continue
    if [[ "${allowed[$folder]}" != *" $used "* ]]; then
      echo "$rel:$number: $folder may not include $used/ (${hit#*:})" >&2
      failures=$((failures + 1))
    fi
  done < <(grep -nE '^#include "[a-z_]+/' "$file" || true)
done < <(find "$root/src" \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) against the layer table in README.md" >&2
  exit 1
fi
echo "every include of src/ follows the layer table"
