#!/usr/bin/env bash
# Every C++ file of the project is laid out as .clang-format says; prints the
# files that are not, and how to fix them.
set -euo pipefail
root=${1:?usage: check_format.sh SOURCE_DIR CLANG_FORMAT}
clang_format=${2:?usage: check_format.sh SOURCE_DIR CLANG_FORMAT}
cd "$root"
bad=()
while IFS= read -r -d '' file; do
  "$clang_format" --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${bad[@]}" >&2
  echo "run: clang-format -i ${bad[*]}" >&2
  exit 1
fi
echo "every C++ file follows .clang-format"
