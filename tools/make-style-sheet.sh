#!/bin/sh
# Renders every shipped style's normal, mouse-over and current pictures at 1x and 2x with
# kelmor-cli button and puts them into docs/styles.png, one style a row, on a white page.
# Usage: tools/make-style-sheet.sh [KELMOR-CLI]   (default build/bin/kelmor-cli)
set -eu
cli=${1:-build/bin/kelmor-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tiles=""
for file in data/styles/*.ini; do
    name=$(basename "$file" .ini)
    mkdir -p "$work/$name"
    XDG_CONFIG_HOME="$work/config" "$cli" button --style "$file" -d "$work/$name" "$name" >/dev/null
    base=$(echo "$name" | tr 'A-Z' 'a-z')
    for picture in "$base" "$base-over" "$base-current" "$base@2x" "$base-over@2x" "$base-current@2x"; do
        flat="$work/$name/$picture.png"
        # A picture with transparent corners or a shadow is put onto the white page first.
        if [ "$(vipsheader -f bands "$flat")" = 4 ]; then
            vips flatten "$flat" "$work/$name/flat-$picture.png" --background "255 255 255"
            flat="$work/$name/flat-$picture.png"
        fi
        vips embed "$flat" "$work/$name/tile-$picture.png" 8 8 240 96 \
            --extend background --background "255 255 255"
        tiles="${tiles:+$tiles }$work/$name/tile-$picture.png"
    done
done
vips arrayjoin "$tiles" docs/styles.png --across 6
