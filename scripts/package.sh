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
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rm -rf "$build/package"
if ! (cd "$build" && cpack -G DEB -B package) >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  exit 1
fi
debs=("$build"/package/zoedit_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package.sh: cpack made no single package in $build/package" >&2
  exit 1
fi

# The Qt plug-ins are loaded at run time, out of dpkg-shlibdeps' sight: each
# one that drawing the window loads (the platform, the icons, the printer
# support) must come from a package the .deb depends on, or an installed
# editor would lack its icons or its display.
depends=$(dpkg-deb -f "${debs[0]}" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')
QT_DEBUG_PLUGINS=1 "$build/src/zoedit" --screenshot "$scratch/window.png" examples/sample.bin 2>&1 |
  sed -n 's/^qt.core.library: "\(.*\)" loaded library$/\1/p' | sort -u >"$scratch/plugins"
[ -s "$scratch/plugins" ] || { echo "package.sh: the editor loaded no Qt plug-in" >&2; exit 1; }
unlisted=0
while read -r plugin; do
  owner=$(dpkg -S "$plugin" | cut -d: -f1)
  if ! grep -qx "$owner" <<<"$depends"; then
    echo "package.sh: $plugin comes from $owner, which the package does not depend on" >&2
    unlisted=1
  fi
done <"$scratch/plugins"
[ "$unlisted" -eq 0 ] || exit 1

if ! lintian --fail-on error "${debs[0]}" >"$scratch/lintian.log" 2>&1; then
  cat "$scratch/lintian.log" >&2
  exit 1
fi
grep -v "root privileges" "$scratch/lintian.log" >&2 || true
rm -f zoedit_*.deb
cp "${debs[0]}" .
basename "${debs[0]}"
