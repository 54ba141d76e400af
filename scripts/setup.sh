# Shared set-up of ./test and ./run: install the Debian packages the build and the tests
# need, then configure and build with Ninja into build/. Sourced, not run.
# Supported: Debian 12 (bookworm) and Debian 13 (trixie).

QX_SUPPORTED_RELEASES="bookworm trixie"
QX_PACKAGES=(
  # the build
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev libfontconfig-dev
  libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
  libgtest-dev libgmock-dev
  # the fixtures and output checks, the windows' fonts
  ffmpeg fonts-dejavu-core fonts-liberation
  # what is installed and packaged: desktop entry, metadata, man pages, the package
  desktop-file-utils appstream groff-base man-db dpkg-dev lintian
  # window-system tests: X with a window manager, and a Wayland compositor
  xvfb openbox xdotool x11-utils weston qt6-wayland
)

# Says so when this is not one of the Debian releases the set-up is made for.
qx_check_release() {
  local codename=
  [ -r /etc/os-release ] && codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  case " $QX_SUPPORTED_RELEASES " in
    *" $codename "*) ;;
    *) echo "note: the set-up is made for Debian 12 (bookworm) and 13 (trixie); this is ${codename:-not Debian}, trying anyway" >&2 ;;
  esac
}

qx_missing_packages() {
  local pkg
  for pkg in "${QX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || printf '%s\n' "$pkg"
  done
}

qx_install_packages() {
  if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "error: this set-up needs Debian 12 or 13 (dpkg and apt-get); install the equivalents of: ${QX_PACKAGES[*]}" >&2
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

# Arguments go to CMake's configure step (./test passes -DQX_WERROR=ON).
qx_build() {
  local build_dir=${QX_BUILD_DIR:-build}
  if [ ! -f "$build_dir/build.ninja" ] || [ $# -gt 0 ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" || return 1
  fi
  cmake --build "$build_dir" || return 1
}

qx_setup() {
  qx_check_release
  qx_install_packages && qx_build "$@"
}
