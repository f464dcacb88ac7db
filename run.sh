#!/usr/bin/env bash
# Sets everything up and starts the editor on the bundled sample file. Without
# a display it shows the sample through zoedit-cli instead.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
ensure_packages
configure_and_build build >/dev/null
sample=examples/sample.bin

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/zoedit "$sample"
fi

echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): showing $sample with zoedit-cli instead."
echo "== zoedit-cli info $sample"
build/src/cli/zoedit-cli info "$sample"
echo
echo "== zoedit-cli export $sample --format csv --list tv"
build/src/cli/zoedit-cli export "$sample" --format csv --list tv
