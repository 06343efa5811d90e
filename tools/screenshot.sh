#!/usr/bin/env bash
# Renders the README's screenshots into docs/: each tab of the main window (projects.png,
# pics.png, html.png, gifs.png), the Play/Record Sound window (sound.png) and the Options
# dialog (options.png), from the real program under a virtual X server, with the sample
# project of data/samples opened from the command line.
# Usage: tools/screenshot.sh [BUILD_DIR]   (run `make` first)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
"$root/tools/install-deps.sh" xvfb xdotool x11-apps netpbm

# A fixed folder, as its path shows in the pictures.
work=/tmp/kelmor-sample
rm -rf "$work"
kelmor="" xserver=""
trap 'kill $kelmor $xserver 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/config/kelmor" "$work/data" "$work/frames"
cp -r "$root/data/samples" "$work/site"
# The page Build would write, for the Html tab; BMP frames for the Gifs tab.
"$build/bin/kelmor-cli" page --separator '<br>' "$work/site/menu.kxq" "$work/site/index.html"
for name in home news contact; do
    "$build/bin/kelmor-cli" convert gif2bmp "$work/site/$name.gif" "$work/frames/$name.bmp"
    "$build/bin/kelmor-cli" convert gif2bmp "$work/site/${name}2.gif" "$work/frames/${name}2.bmp"
done
{
    echo '[PREFERENCES]'
    for key in 'Image Directory' 'Sounds Directory' 'Buttons Directory' Gif Html2 Text; do
        echo "$key=$work/site"
    done
    echo "Bmp2=$work/frames"
} > "$work/config/kelmor/KelmorPref.ini"

export DISPLAY=:97
Xvfb "$DISPLAY" -nocursor -screen 0 1024x768x24 >/dev/null 2>&1 &
xserver=$!
sleep 1
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    "$build/bin/kelmor" "$work/site/menu.kxq" >/dev/null 2>&1 &
kelmor=$!
sleep 2

main=$(xdotool search --sync --onlyvisible --name 'Kelmor$' | head -1)
mkdir -p "$root/docs"
# Saves the window with the given id as docs/NAME.png.
capture() { # id name
    sleep 0.5
    xwd -id "$1" -silent | xwdtopnm 2>/dev/null | pnmtopng -compression 9 > "$root/docs/$2.png"
    echo "wrote $root/docs/$2.png"
}
# Clicks at a point of the main window, given relative to its top left corner.
click() { # x y [count]
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + $1)) $((Y + $2)) click --repeat "${3:-1}" 1
    sleep 0.3
}
# Shows a tab: clicks its caption on the tab bar along the main window's bottom edge.
tab() { # left edge of the caption
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + $1)) $((Y + HEIGHT - 12)) click 1
    sleep 0.3
}

click 419 238 2 # recall the second button into the editor tabs
capture "$main" projects
tab 126
click 56 171 # home2.gif into the picture view
capture "$main" pics
tab 200
click 60 117 # index.html into the editor
capture "$main" html
tab 267
capture "$main" gifs
tab 55

# The tool bar's "Play/Record Sounds..." and "Options..." buttons; with no window manager the
# sound window is moved off the screen rather than closed, out of the Options dialog's way.
click 251 40
sound=$(timeout 10 xdotool search --sync --onlyvisible --name '^Play/Record Sound$' | head -1)
capture "$sound" sound
xdotool windowmove "$sound" 2000 0
click 204 40
capture "$(timeout 10 xdotool search --sync --onlyvisible --name '^Options$' | head -1)" options
