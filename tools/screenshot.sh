#!/usr/bin/env bash
# Renders docs/screenshot.png: Kelmor under a virtual X server with a sample
# project opened from the project list and its second button recalled.
# Usage: tools/screenshot.sh [BUILD_DIR]   (run `make` first)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
"$root/tools/install-deps.sh" xvfb xdotool x11-apps netpbm

work=/tmp/kelmor-demo
rm -rf "$work"
trap 'kill $kelmor $xserver 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/projects" "$work/images" "$work/config/kelmor" "$work/data"
printf '[PREFERENCES]\nButtons Directory=%s\nImage Directory=%s\n' "$work/projects" "$work/images" \
    > "$work/config/kelmor/KelmorPref.ini"

# Button pictures: a labelled 88 x 31 plate, dark for normal and light for mouse-over.
button() { # name label background foreground
    pbmtext -builtin fixed "$2" | pnmcrop -white | pnmpad -white -width 88 -height 31 |
        ppmchange white "$3" black "$4" | ppmtogif 2>/dev/null > "$work/images/$1"
}
for name in home news shop contact; do
    button "$name.gif" "${name^}" rgb:1e/46/8c white
    button "${name}2.gif" "${name^}" rgb:b4/d2/f0 rgb:1e/46/8c
done

# A small menu project: header row, then four buttons.
{
    echo "13,5"
    for c in $(seq 0 11); do echo "cw $c,108"; done
    echo "cw 12,245"
    row=0
    while IFS='|' read -r -a cells; do
        for c in "${!cells[@]}"; do echo "$c,$row,${cells[$c]}"; done
        row=$((row + 1))
    done <<'ROWS'
Normal Button|Width|Height|Frame|Link|Mouse Over|Width|Height|Sound|BG|BG Color|Page Title|Target Page
home.gif|88|31|_top|index.html|home2.gif|88|31|||#FFFFFF|Site menu|menu.html
news.gif|88|31|main|news.html|news2.gif|88|31|||||
shop.gif|88|31|main|shop.html|shop2.gif|88|31|||||
contact.gif|88|31|_blank|contact.html|contact2.gif|88|31|||||
ROWS
} | sed 's/$/\r/' > "$work/projects/menu.kxq"
cp "$work/projects/menu.kxq" "$work/projects/footer.kxq"
cp "$work/projects/menu.kxq" "$work/projects/gallery.kxq"

export DISPLAY=:97
Xvfb "$DISPLAY" -nocursor -screen 0 800x600x24 >/dev/null 2>&1 &
xserver=$!
sleep 1
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" "$build/src/app/kelmor" >/dev/null 2>&1 &
kelmor=$!
sleep 2

# The window (618 x 503) is centred on the 800 x 600 screen.
left=91 top=48
xdotool mousemove $((left + 45)) $((top + 406)) click 1    # "menu" in the project list
sleep 0.3
xdotool mousemove $((left + 419)) $((top + 238)) click --repeat 2 1    # recall "news.gif"
sleep 0.5
mkdir -p "$root/docs"
xwd -root -silent | xwdtopnm 2>/dev/null |
    pnmcut -left $left -top $top -width 618 -height 503 |
    pnmtopng -compression 9 > "$root/docs/screenshot.png"
echo "wrote $root/docs/screenshot.png"
