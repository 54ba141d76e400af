#!/usr/bin/env bash
# Installs the build into a temporary prefix as a user would, checks the layout, validates
# the desktop entry and the AppStream metadata, and converts a video with the installed
# qxconvert, started through its launcher from another folder.
#   install-test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

id=example.quorlantix.ConverterLite
for f in bin/quorlantix bin/qxconvert lib/quorlantix/quorlantix lib/quorlantix/qxconvert \
         lib/quorlantix/qxhelp.html lib/quorlantix/qxhelp-pictures/page1.png \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ "$(ls "$prefix"/lib/quorlantix/QXProf*.prx | wc -l)" = 9 ] || fail "not all nine profiles are installed"
for size in 16 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$icon")" = "$size,$size" ] \
    || fail "the ${size}x${size} icon has another size"
done
[ -x "$prefix/bin/quorlantix" ] && [ -x "$prefix/bin/qxconvert" ] || fail "the launchers are not executable"
grep -q "^Icon=$id\$" "$prefix/share/applications/$id.desktop" || fail "the desktop entry names another icon"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# The installed converter finds its profiles beside itself, wherever it is started from.
ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=2 \
  -f lavfi -i sine=duration=2 -c:v mpeg2video -c:a mp2 -f vob "$work/clip.vob"
(cd / && "$prefix/bin/qxconvert" "$work/clip.vob" "$work/clip.wmv" --screen wide) || fail "the installed qxconvert"
codec=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height -of csv=p=0 "$work/clip.wmv")
[ "$codec" = "wmv2,320,200" ] || fail "the converted file is $codec"
echo "installed, validated and converted with the installed program"
