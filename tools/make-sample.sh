#!/usr/bin/env bash
# Writes the sample project in data/samples/: menu.kxq with three buttons, their
# normal and mouse-over pictures (drawn with netpbm as BMPs and turned into GIFs by
# `kelmor-cli convert bmp2gif`) and chime.wav, the sound every button plays.
# The README beside them states their licence.
# Usage: tools/make-sample.sh [BUILD_DIR]   (kelmor-cli must be built)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
"$root/tools/install-deps.sh" netpbm python3
out="$root/data/samples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# A labelled 88 x 31 plate; colours from the 216-colour palette bmp2gif maps to.
plate() { # file label background foreground
    pbmtext -builtin fixed "$2" | pnmcrop -white | pnmpad -white -width 88 -height 31 |
        ppmchange white "$3" black "$4" | ppmtobmp > "$work/plate.bmp" 2>/dev/null
    "$build/bin/kelmor-cli" convert bmp2gif "$work/plate.bmp" "$out/$1"
}
labels=(Home News Contact)
for label in "${labels[@]}"; do
    name=${label,,}
    plate "$name.gif" "$label" rgb:00/33/99 white
    plate "${name}2.gif" "$label" rgb:99/cc/ff rgb:00/33/99
done

# A short two-note chime, 8-bit mono at 11025 Hz.
python3 - "$out/chime.wav" <<'PY'
import math, sys, wave
rate = 11025
samples = bytearray()
for freq, length in ((880, 0.09), (1320, 0.14)):
    n = int(rate * length)
    for i in range(n):
        fade = 1 - i / n
        samples.append(128 + int(90 * fade * math.sin(2 * math.pi * freq * i / rate)))
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(1)
    w.setframerate(rate)
    w.writeframes(bytes(samples))
PY

# The project: the header row, then one row per button; page settings in row 1.
{
    echo "13,4"
    for c in $(seq 0 11); do echo "cw $c,108"; done
    echo "cw 12,245"
    row=0
    while IFS='|' read -r -a cells; do
        for c in "${!cells[@]}"; do echo "$c,$row,${cells[$c]}"; done
        row=$((row + 1))
    done <<'ROWS'
Normal Button|Width|Height|Frame|Link|Mouse Over|Width|Height|Sound|BG|BG Color|Page Title|Target Page
home.gif|88|31|_self|index.html#home|home2.gif|88|31|chime.wav||#FFFFFF|Kelmor sample menu|index.html
news.gif|88|31|_self|index.html#news|news2.gif|88|31|chime.wav||#FFFFFF|Kelmor sample menu|index.html
contact.gif|88|31|_self|index.html#contact|contact2.gif|88|31|chime.wav||#FFFFFF|Kelmor sample menu|index.html
ROWS
} | sed 's/$/\r/' > "$out/menu.kxq"
echo "wrote $out"
