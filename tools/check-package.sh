#!/usr/bin/env bash
# Checks the Debian package `make package` built in PACKAGE_DIR: unpacks it into a scratch
# root with dpkg-deb, compares its file list with the expected one, runs the desktop entry
# and AppStream validators on the unpacked files, and starts both programs from the
# unpacked tree with no build tree behind them.
# Usage: tools/check-package.sh [PACKAGE_DIR]   (default: build-package)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
"$root/tools/install-deps.sh" --package desktop-file-utils appstream

debs=("$build"/kelmor_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one kelmor_*.deb in $build" >&2; exit 1; }
deb=${debs[0]}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"

expected=(
    usr/bin/kelmor
    usr/bin/kelmor-cli
    usr/lib/kelmor/kelmor-drawing.so
    usr/lib/kelmor/kelmor-sound.so
    usr/lib/kelmor/kelmor-svg-render
    usr/share/applications/org.kelmor.Kelmor.desktop
    usr/share/icons/hicolor/scalable/apps/kelmor.svg
    usr/share/kelmor/samples/README
    usr/share/kelmor/samples/chime.wav
    usr/share/kelmor/samples/menu.kxq
    usr/share/man/man1/kelmor-cli.1.gz
    usr/share/man/man1/kelmor.1.gz
    usr/share/metainfo/org.kelmor.Kelmor.metainfo.xml
    usr/share/mime/packages/kelmor.xml
)
for size in 16 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/kelmor.png")
done
for name in home news contact; do
    expected+=("usr/share/kelmor/samples/$name.gif" "usr/share/kelmor/samples/${name}2.gif")
done
for style in Flat Rounded Pill Glass Outline Soft Midnight Amber; do
    expected+=("usr/share/kelmor/styles/$style.ini")
done
diff -u <(printf '%s\n' "${expected[@]}" | sort) \
        <(cd "$scratch/root" && find . -type f -o -type l | sed 's|^\./||' | sort)
echo "file list: ${#expected[@]} files as expected"

# The picture and text layout libraries, and the drawing and sound modules' though the program
# loads them only when needed.
for library in libqt6widgets6 libqt6multimedia6 libsndfile1 libspng0 libwebp7 libwebpmux3 libwebpdemux2 librsvg2-2 libpango-1.0-0 libpangocairo-1.0-0 libcairo2; do
    dpkg-deb -f "$deb" Depends | grep -q "$library" ||
        { echo "Depends lacks $library: $(dpkg-deb -f "$deb" Depends)" >&2; exit 1; }
done
desktop-file-validate "$scratch/root/usr/share/applications/org.kelmor.Kelmor.desktop"
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/org.kelmor.Kelmor.metainfo.xml"
for page in kelmor kelmor-cli; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$scratch/root/usr/share/man/man1/$page.1.gz" \
        2>"$scratch/man.err" >/dev/null
    if [ -s "$scratch/man.err" ]; then cat "$scratch/man.err" >&2; exit 1; fi
done

# The unpacked programs work from anywhere: the page of the installed sample is built, and
# the window starts with it and puts its embedded help pages into the data folder.
samples="$scratch/root/usr/share/kelmor/samples"
"$scratch/root/usr/bin/kelmor-cli" page "$samples/menu.kxq" "$scratch/index.html"
grep -q 'src="home.gif"' "$scratch/index.html"
# kelmor-cli finds the installed SVG renderer to draw the program's own icon.
"$scratch/root/usr/bin/kelmor-cli" info "$scratch/root/usr/share/icons/hicolor/scalable/apps/kelmor.svg" \
    >"$scratch/icon.info"
grep -q '^format: SVG' "$scratch/icon.info"
status=0
XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" QT_QPA_PLATFORM=offscreen \
    timeout 5 "$scratch/root/usr/bin/kelmor" "$samples/menu.kxq" || status=$?
[ "$status" -eq 124 ] || { echo "kelmor ended with status $status instead of running" >&2; exit 1; }
[ -f "$scratch/data/kelmor/help/index.html" ] || { echo "no help pages put in place" >&2; exit 1; }
echo "package $(basename "$deb") checked"
