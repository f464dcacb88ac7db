# Shared by run.sh and test.sh: install what the build needs, configure, build.
# shellcheck shell=bash

ZOEDIT_PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
  qt6-base-dev qt6-serialport-dev qt6-svg-dev libgl-dev qt6-tools-dev-tools
  qt6-qpa-plugins fonts-dejavu-core fonts-liberation2 poppler-utils xvfb xauth
  clang clang-format libclang-rt-14-dev g++-mingw-w64-x86-64-posix
  librsvg2-bin desktop-file-utils appstream shared-mime-info libglib2.0-bin file man-db
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# ensure_packages [PACKAGE...]: those named, or the build's and tests' own.
ensure_packages() {
  local missing=() wanted=("$@")
  [ ${#wanted[@]} -gt 0 ] || wanted=("${ZOEDIT_PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# configure_and_build BUILD_DIR [cmake args...]
configure_and_build() {
  local dir=$1; shift
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout, so that another clone reuses the cache.
    export CCACHE_BASEDIR="$PWD"
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
  else
    cmake "$dir" "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$(nproc)"
}
