#!/usr/bin/env bash
# run-fuzz.sh BUILD_DIR SECONDS [TARGET]: runs a fuzzer (TARGET channel_file,
# the default, or order_csv) for SECONDS on a scratch copy of its seed corpus
# (fuzz/corpus for the channel file, fuzz/corpus-order-csv for the CSV
# reference). Exits non-zero when it finds a crash; the input that caused it
# is kept in BUILD_DIR/fuzz/.
set -euo pipefail
build=${1:?usage: run-fuzz.sh BUILD_DIR SECONDS [TARGET]}
seconds=${2:-20}
target=${3:-channel_file}
root=$(cd "$(dirname "$0")/.." && pwd)
fuzzer=$(cd "$build" && pwd)/fuzz/fuzz_$target
[ -x "$fuzzer" ] || { echo "run-fuzz.sh: $fuzzer not built" >&2; exit 2; }
if [ "$target" = channel_file ]; then corpus=$root/fuzz/corpus; else corpus=$root/fuzz/corpus-${target//_/-}; fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$corpus"/* "$scratch"/
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$(dirname "$fuzzer")/" "$scratch"
