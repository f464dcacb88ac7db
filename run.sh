#!/usr/bin/env bash
# Sets everything up and runs the program on the bundled sample file.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
ensure_packages
configure_and_build build >/dev/null
sample=examples/sample.bin
echo "== zoedit-cli info $sample"
build/src/cli/zoedit-cli info "$sample"
echo
echo "== zoedit-cli export $sample --format csv --list tv"
build/src/cli/zoedit-cli export "$sample" --format csv --list tv
