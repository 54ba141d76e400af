#!/usr/bin/env bash
# Packages the build as scripts/make-deb does for a release (lintian must find no error
# and no warning) and checks what the package holds and asks for.
#   package-test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$source_dir/scripts/make-deb" --from "$build" --out "$work" > "$work/make-deb.log" 2>&1 \
  || { cat "$work/make-deb.log"; fail "scripts/make-deb"; }
cat "$work/make-deb.log"
deb=$(tail -n 1 "$work/make-deb.log")
[[ "$(basename "$deb")" =~ ^quorlantix_[0-9.]+_amd64\.deb$ ]] || fail "the package is called $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' > "$work/files"
for f in /usr/bin/quorlantix /usr/bin/qxconvert /usr/lib/quorlantix/quorlantix /usr/lib/quorlantix/qxconvert \
         /usr/lib/quorlantix/media/libqxmedia.so /usr/lib/quorlantix/QXProf2v.prx /usr/lib/quorlantix/qxhelp.html \
         /usr/share/man/man1/quorlantix.1.gz /usr/share/man/man1/qxconvert.1.gz \
         /usr/share/doc/quorlantix/copyright /usr/share/doc/quorlantix/changelog.gz \
         /usr/share/applications/example.quorlantix.ConverterLite.desktop \
         /usr/share/metainfo/example.quorlantix.ConverterLite.metainfo.xml \
         /usr/share/icons/hicolor/48x48/apps/example.quorlantix.ConverterLite.png; do
  grep -qx "$f" "$work/files" || fail "$f is not in the package"
done
! grep -q '^/usr/local\|/build/' "$work/files" || fail "the package holds files outside /usr"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libavcodec libavformat libqt6widgets6 qt6-qpa-plugins fonts-liberation; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[[ "$(dpkg-deb -f "$deb" Recommends)" == *qt6-wayland* ]] || fail "Qt's Wayland plugin is not recommended"
# Stripped: no debugging sections left in the program or the media module.
dpkg-deb -x "$deb" "$work/root"
for elf in usr/lib/quorlantix/quorlantix usr/lib/quorlantix/qxconvert usr/lib/quorlantix/media/libqxmedia.so; do
  ! readelf -S "$work/root/$elf" | grep -q '\.debug_' || fail "$elf is not stripped"
done
# No maintainer scripts: nothing needs doing when it is installed or removed.
dpkg-deb -e "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
  [ ! -e "$work/control/$script" ] || fail "the package has a $script"
done
echo "packaged $(basename "$deb"), $(stat -c %s "$deb") bytes, lintian clean"
