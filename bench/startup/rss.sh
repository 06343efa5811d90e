#!/usr/bin/env bash
# Memory after start-up: the resident set (VmRSS) of Kelmor and of the smallest Qt Widgets
# program with one editable drop-down box, 3 s after each was started on a private virtual
# X server with a fresh home and empty configuration and data folders, alternating run by
# run. Prints every run's figures, then the median megabytes of each program and their ratio.
#   bench/startup/rss.sh [BUILD_DIR] [RUNS]      (default: build, 3 runs each)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-3}"
kelmor="${KELMOR:-$build/bin/kelmor}" # KELMOR=PATH measures another build of it
minimal="$build/bench/startup/startup-minimal"
for program in "$kelmor" "$minimal"; do
    [ -x "$program" ] || { echo "$0: $program is missing (build first: make build)" >&2; exit 2; }
done
source "$root/bench/startup/private_x.sh" kelmor-rss

# Starts PROGRAM with a fresh home, waits 3 s and prints its VmRSS in kilobytes.
resident() { # program
    local home="$work/home" pid kb
    rm -rf "$home" && mkdir -p "$home/config" "$home/data"
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        "$1" 2>>"$work/programs.log" &
    pid=$!
    sleep 3
    kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -n "$kb" ] || { echo "$0: $1 ended before it was measured" >&2; cat "$work/programs.log" >&2; exit 1; }
    echo "$kb"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

: >"$work/kelmor.kb"
: >"$work/minimal.kb"
for run in $(seq "$runs"); do
    # Alternate which program goes first, so neither always follows the other.
    order=(kelmor minimal)
    [ $((run % 2)) -eq 0 ] && order=(minimal kelmor)
    for program in "${order[@]}"; do
        binary="$kelmor"
        [ "$program" = minimal ] && binary="$minimal"
        kb=$(resident "$binary")
        echo "$kb" >>"$work/$program.kb"
        printf 'run %d %-8s %8d kB\n' "$run" "$program" "$kb"
    done
done
kelmor_kb=$(median <"$work/kelmor.kb")
minimal_kb=$(median <"$work/minimal.kb")
printf '%-6s %5s %10s %11s %6s\n' case runs kelmor_mb minimal_mb ratio
awk -v r="$runs" -v k="$kelmor_kb" -v m="$minimal_kb" \
    'BEGIN { printf "%-6s %5d %10.1f %11.1f %6.2f\n", "rss", r, k / 1024, m / 1024, k / m }'
