#!/usr/bin/env bash
# Sets everything up and runs every test. ./test.sh --sanitize builds and runs
# the core, serial port and command-line tests with AddressSanitizer and UBSan
# instead. ./test.sh --tsan runs the link, serial port and command-line tests
# under ThreadSanitizer (the serial port's watcher thread).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
ensure_packages

if [ "${1:-}" = "--sanitize" ]; then
  configure_and_build build-asan -DZOEDIT_SANITIZE=ON -DZOEDIT_BUILD_GUI=OFF -DZOEDIT_BUILD_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ctest --test-dir build-asan --output-on-failure -j 2
  exit
fi

if [ "${1:-}" = "--tsan" ]; then
  configure_and_build build-tsan -DZOEDIT_TSAN=ON -DZOEDIT_BUILD_GUI=OFF -DZOEDIT_BUILD_BENCH=OFF
  export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1"
  ctest --test-dir build-tsan --output-on-failure -j 2 -R "^(serial|link|cli)[.]"
  exit
fi

configure_and_build build

# The file reader's and the CSV reference reader's fuzzers, briefly, when
# clang is there.
if command -v clang++ >/dev/null && [ -d fuzz ] && [ -f fuzz/CMakeLists.txt ]; then
  CXX=clang++ configure_and_build build-fuzz -DZOEDIT_FUZZ=ON -DZOEDIT_BUILD_GUI=OFF \
    -DZOEDIT_BUILD_SERIAL=OFF -DZOEDIT_BUILD_TESTS=OFF -DZOEDIT_BUILD_BENCH=OFF
  scripts/run-fuzz.sh build-fuzz "${ZOEDIT_FUZZ_SECONDS:-20}"
  scripts/run-fuzz.sh build-fuzz "${ZOEDIT_CSV_FUZZ_SECONDS:-10}" order_csv
fi

ctest --test-dir build --output-on-failure -j 2

# The core and the command line (without the serial transfers) for Windows,
# with Debian's mingw-w64, so that nothing POSIX-only creeps into them. The
# window and the serial port need Qt for Windows, which Debian does not ship.
# Quiet unless it fails, so that CTest's summary stays the last line above.
cross_log=$(mktemp)
if ! configure_and_build build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DZOEDIT_BUILD_GUI=OFF -DZOEDIT_BUILD_SERIAL=OFF -DZOEDIT_BUILD_TESTS=OFF \
  -DZOEDIT_BUILD_BENCH=OFF >"$cross_log" 2>&1; then
  cat "$cross_log"
  rm -f "$cross_log"
  echo "test.sh: the Windows cross build (build-windows/) failed" >&2
  exit 1
fi
rm -f "$cross_log"
