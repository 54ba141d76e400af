#!/usr/bin/env bash
# Runs a test executable in a Wayland session of its own: weston's headless backend with
# pixman rendering, no panel and no animations, a plain background, and --debug so that
# weston-screenshooter may take pictures of the screen. Listing the tests needs none.
set -u
for arg in "$@"; do
  if [ "$arg" = "--gtest_list_tests" ]; then
    QT_QPA_PLATFORM=offscreen exec "$@"
  fi
done
for tool in weston weston-screenshooter; do
  command -v "$tool" >/dev/null 2>&1 || { echo "error: $tool is missing (./test installs it)" >&2; exit 1; }
done
work=$(mktemp -d)
cleanup() {
  [ -n "${compositor:-}" ] && kill "$compositor" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"
cat > "$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff208040
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
INI
# Weston 12 renamed the backend and renderer options.
major=$(weston --version 2>/dev/null | sed -n 's/^weston \([0-9]*\).*/\1/p')
if [ "${major:-0}" -ge 12 ]; then
  backend=(--backend=headless --renderer=pixman)
else
  backend=(--backend=headless-backend.so --use-pixman)
fi
export XDG_RUNTIME_DIR=$work/runtime
WAYLAND_DISPLAY=qx-test
weston "${backend[@]}" --width=1280 --height=800 --socket="$WAYLAND_DISPLAY" \
  --config="$work/weston.ini" --debug --idle-time=0 >"$work/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { echo "error: weston did not start:" >&2; cat "$work/weston.log" >&2; exit 1; }
export WAYLAND_DISPLAY
unset DISPLAY
QX_WAYLAND_BACKGROUND=208040 QT_QPA_PLATFORM=wayland "$@"
