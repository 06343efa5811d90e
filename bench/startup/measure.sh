#!/usr/bin/env bash
# Start-up time to the first window: Kelmor against the smallest Qt Widgets program
# with one editable drop-down box, both started by startup-timer on a private virtual
# X server, alternating run by run. Two cases: a first run (empty configuration and
# data folders, as a new user has) and a returning user (both preference files
# present, help pages and sounds already installed, the folders they name filled).
# Prints, for each case, the median milliseconds to the window of each program and
# their ratio, then the same for the processor time used until then, which a busy
# machine disturbs less than the time on the clock.
#   bench/startup/measure.sh [BUILD_DIR] [RUNS]      (default: build, 30 runs each)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-30}"
timer="$build/bench/startup/startup-timer"
kelmor="${KELMOR:-$build/bin/kelmor}" # KELMOR=PATH measures another build of it
minimal="$build/bench/startup/startup-minimal"
for program in "$timer" "$kelmor" "$minimal"; do
    [ -x "$program" ] || { echo "$0: $program is missing (build first: make build)" >&2; exit 2; }
done
source "$root/bench/startup/private_x.sh" kelmor-startup

# One timed start of PROGRAM with the given configuration and data folders.
timed() { # config data program
    XDG_CONFIG_HOME="$1" XDG_DATA_HOME="$2" "$timer" "$3" 2>>"$work/programs.log" |
        tail -n1
}

# The returning user's folders: what the program installed on its first run, the
# two preference files, and a few files in every folder they name.
returning="$work/returning"
files="$returning/files"
mkdir -p "$returning/config/kelmor" "$returning/data"
for folder in projects images sounds gif bmp jpg html text frames; do mkdir -p "$files/$folder"; done
for name in home menu gallery; do cp "$root/tests/data/projects/home.kxq" "$files/projects/$name.kxq"; done
for name in one two three; do
    cp "$root/data/default.wav" "$files/sounds/$name.wav"
    : >"$files/gif/$name.gif" && : >"$files/bmp/$name.bmp" && : >"$files/jpg/$name.jpg"
    : >"$files/frames/$name.bmp" && : >"$files/text/$name.txt"
    cp "$root/data/help/index.html" "$files/html/$name.html"
done
cat >"$returning/config/kelmor/KelmorPref.ini" <<INI
[PREFERENCES]
Image Directory=$files/images
Sounds Directory=$files/sounds
Buttons Directory=$files/projects
Html Editor=/usr/bin/editor
Gif=$files/gif
Bmp=$files/bmp
Jpg=$files/jpg
Html2=$files/html
Text=$files/text
Bmp2=$files/frames
Html=1
Image=1
Project=1
Large Icons=0
Smalll Icons=1
Large Icons2=1
Smalll Icons2=0
Large Icons3=0
Smalll Icons3=1
Large Icons4=0
Smalll Icons4=1
INI
printf '[PREFERENCES]\nLoops=0\nSpeed=20\nCrop=1\nMerge=1\nPalette=1\n' \
    >"$returning/config/kelmor/KelGifPref.ini"
# This first start installs the help pages and sounds, and warms the disk cache.
timed "$returning/config" "$returning/data" "$kelmor" >/dev/null
timed "$returning/config" "$returning/data" "$minimal" >/dev/null

median() { # column
    awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END {
        if (NR == 0) exit 1
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

row() { # label runs kelmor minimal
    printf '%-14s %5d %10.1f %11.1f %6.2f\n' "$1" "$2" "$3" "$4" "$(awk -v k="$3" -v m="$4" 'BEGIN { print k / m }')"
}

printf '%-14s %5s %10s %11s %6s\n' case runs kelmor_ms minimal_ms ratio
for case in first-run returning; do
    : >"$work/kelmor.times"
    : >"$work/minimal.times"
    for run in $(seq "$runs"); do
        if [ "$case" = first-run ]; then
            fresh="$work/fresh-$run"
            config="$fresh/config" data="$fresh/data"
            mkdir -p "$config" "$data"
        else
            config="$returning/config" data="$returning/data"
        fi
        # Alternate which program goes first, so neither always follows the other.
        order=(kelmor minimal)
        [ $((run % 2)) -eq 0 ] && order=(minimal kelmor)
        for program in "${order[@]}"; do
            [ "$case" = first-run ] && rm -rf "$config" "$data" && mkdir -p "$config" "$data"
            binary="$kelmor"
            [ "$program" = minimal ] && binary="$minimal"
            ms=$(timed "$config" "$data" "$binary")
            [ -n "$ms" ] || { echo "$0: $program did not show a window" >&2; cat "$work/programs.log" >&2; exit 1; }
            echo "$ms" >>"$work/$program.times"
        done
        [ "$case" = first-run ] && rm -rf "$fresh"
    done
    row "$case" "$runs" "$(median 1 <"$work/kelmor.times")" "$(median 1 <"$work/minimal.times")"
    row "$case cpu" "$runs" "$(median 2 <"$work/kelmor.times")" "$(median 2 <"$work/minimal.times")"
done
