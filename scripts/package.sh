#!/usr/bin/env bash
# Makes the Debian package zoedit_VERSION_ARCH.deb in the checkout's top
# folder from the build that ./test.sh leaves in build/ (or BUILD_DIR), and
# checks it with lintian. Prints the package's path.
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build=${1:-build}
ensure_packages dpkg-dev file lintian
configure_and_build "$build" >/dev/null # nothing to do after ./test.sh
rm -rf "$build/package"
(cd "$build" && cpack -G DEB -B package >/dev/null)
debs=("$build"/package/zoedit_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || {
  echo "package.sh: cpack made no single package in $build/package" >&2
  exit 1
}
rm -f zoedit_*.deb
cp "${debs[0]}" .
deb=$(basename "${debs[0]}")
lintian --fail-on error "$deb" >&2
echo "$deb"
