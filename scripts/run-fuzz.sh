#!/usr/bin/env bash
# run-fuzz.sh BUILD_DIR SECONDS: runs the channel file fuzzer for SECONDS on a
# scratch copy of the seed corpus. Exits non-zero when it finds a crash; the
# input that caused it is kept in BUILD_DIR/fuzz/.
set -euo pipefail
build=${1:?usage: run-fuzz.sh BUILD_DIR SECONDS}
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
fuzzer=$(cd "$build" && pwd)/fuzz/fuzz_channel_file
[ -x "$fuzzer" ] || { echo "run-fuzz.sh: $fuzzer not built" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$root"/fuzz/corpus/* "$scratch"/
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$(dirname "$fuzzer")/" "$scratch"
