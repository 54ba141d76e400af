# Shared set-up of ./test and ./run: install the Debian packages the build needs, then
# configure and build with Ninja into build/. Sourced, not run.

QX_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev
  libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
  libgtest-dev libgmock-dev
  ffmpeg fonts-dejavu-core fonts-liberation
  desktop-file-utils appstream
  xvfb openbox xdotool x11-utils
)

qx_missing_packages() {
  local pkg
  for pkg in "${QX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || printf '%s\n' "$pkg"
  done
}

qx_install_packages() {
  if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "error: this set-up needs Debian 12 (dpkg and apt-get); install the equivalents of: ${QX_PACKAGES[*]}" >&2
    return 1
  fi
  local missing
  missing=$(qx_missing_packages | tr '\n' ' ')
  missing=${missing% }
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" != 0 ]; then
    echo "error: missing Debian packages. Install them as root, then run this again:" >&2
    echo "  apt-get install -y --no-install-recommends $missing" >&2
    return 1
  fi
  echo "Installing Debian packages: $missing"
  apt-get update -q || { echo "error: apt-get update failed" >&2; return 1; }
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing \
    || { echo "error: apt-get install failed for: $missing" >&2; return 1; }
}

qx_build() {
  local build_dir=${QX_BUILD_DIR:-build}
  if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo || return 1
  fi
  cmake --build "$build_dir" || return 1
}

qx_setup() {
  qx_install_packages && qx_build
}
