#!/bin/sh
# The size of the PNG encoder's files against `optipng -o2 -strip all` on the same pixels.
# For each picture of bench/imaging/png_size.cpp's set, optipng is given both our file and the
# plain RGBA one, and the smaller of its two results is the reference. Prints each picture's
# sizes and ratio, then the ratio of the totals.
# Usage: bench/png-size.sh [BUILD_DIR]
set -eu
build=${1:-build}
cmake --build "$build" --target png-size >/dev/null
command -v optipng >/dev/null || { echo "optipng is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/imaging/png-size" tests/data/corpora "$work"
ours_total=0
reference_total=0
printf '%-22s %10s %10s %7s\n' picture ours optipng ratio
for ours in "$work"/*.png; do
    case $ours in *.rgba.png | *.opt*.png) continue ;; esac
    name=$(basename "$ours" .png)
    cp "$ours" "$work/$name.opt1.png"
    cp "$work/$name.rgba.png" "$work/$name.opt2.png"
    optipng -quiet -o2 -strip all "$work/$name.opt1.png" "$work/$name.opt2.png"
    size=$(stat -c %s "$ours")
    a=$(stat -c %s "$work/$name.opt1.png")
    b=$(stat -c %s "$work/$name.opt2.png")
    reference=$((a < b ? a : b))
    ours_total=$((ours_total + size))
    reference_total=$((reference_total + reference))
    printf '%-22s %10d %10d %7s\n' "$name" "$size" "$reference" \
        "$(awk -v a="$size" -v b="$reference" 'BEGIN { printf "%.3f", a / b }')"
done
printf '%-22s %10d %10d %7s\n' total "$ours_total" "$reference_total" \
    "$(awk -v a="$ours_total" -v b="$reference_total" 'BEGIN { printf "%.3f", a / b }')"
