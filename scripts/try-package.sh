#!/usr/bin/env bash
# Inside a fresh Debian system (scripts/test-on-debian --package): installs the package
# as a user would, converts a file with qxconvert, starts the program under Xvfb and
# waits for its window, then purges the package and looks for anything left behind.
#
#   try-package.sh PACKAGE.deb SOURCE-VIDEO
set -euo pipefail
deb=$1
source_video=$2
xvfb_pid=
program_pid=
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

step() { printf '== %s\n' "$*"; }

step "apt-get install $deb"
apt-get update -q
apt-get install -y -q "$deb"
dpkg-query -L quorlantix | sort > /tmp/package-files

step "qxconvert"
qxconvert "$source_video" /tmp/out.wmv --screen wide --quality low
# An ASF file starts with its header object's identifier.
[ "$(od -An -tx1 -N4 /tmp/out.wmv | tr -d ' ')" = 3026b275 ] || { echo "not an ASF file" >&2; exit 1; }
echo "qxconvert wrote $(stat -c %s /tmp/out.wmv) bytes"

step "the program under Xvfb"
apt-get install -y -q --no-install-recommends xvfb xdotool
Xvfb :57 -screen 0 1024x768x24 -nolisten tcp &
xvfb_pid=$!
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X57 ] && break; sleep 0.1; done
# A user of its own, as on a desktop: the program keeps its settings in that user's home.
id qxuser >/dev/null 2>&1 || useradd -m qxuser
runuser -u qxuser -- env HOME=/home/qxuser DISPLAY=:57 QT_QPA_PLATFORM=xcb quorlantix &
program_pid=$!
# The window system's title of the main window is the program's own.
DISPLAY=:57 timeout 30 xdotool search --sync --onlyvisible --name 'Pocket PC' > /dev/null
echo "the window is shown"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=

step "apt-get purge quorlantix"
apt-get purge -y -q quorlantix
left=$(while read -r f; do [ -e "$f" ] && [ ! -d "$f" ] && echo "$f"; done < /tmp/package-files || true)
for d in /usr/lib/quorlantix /usr/share/doc/quorlantix; do [ -e "$d" ] && left="$left $d"; done
if [ -n "${left// /}" ]; then
  echo "left behind after purge: $left" >&2
  exit 1
fi
echo "purge left no file of the package"
