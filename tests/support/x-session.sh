#!/usr/bin/env bash
# Runs a test executable on an X server of its own (Xvfb) with a small window manager
# (openbox), for the window behaviour only a real window system shows. Listing the
# tests needs no display. QX_XVFB_SCREEN sets the screen (default 1280x800x24).
set -u
for arg in "$@"; do
  if [ "$arg" = "--gtest_list_tests" ]; then
    QT_QPA_PLATFORM=offscreen exec "$@"
  fi
done
for tool in Xvfb openbox xprop xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "error: $tool is missing (./test installs it)" >&2; exit 1; }
done
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
  [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 "${QX_XVFB_SCREEN:-1280x800x24}" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xserver=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "error: Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
openbox --config-file "$here/openbox-rc.xml" >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
  || { echo "error: openbox did not start:" >&2; cat "$work/openbox.log" >&2; exit 1; }
QT_QPA_PLATFORM=xcb "$@"
