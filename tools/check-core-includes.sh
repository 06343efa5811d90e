#!/usr/bin/env bash
# Fails when a pure core file includes a Qt header. The core files are the
# sources of the pure targets (listed by CMake in BUILD/core-sources/, see
# kelmor_core_sources in cmake/Kelmor.cmake), the header beside each source,
# and every project header they include, directly or through other headers.
# Usage: tools/check-core-includes.sh [BUILD_DIR]   (a configured build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
lists=("$build"/core-sources/*.txt)
if [ ! -e "${lists[0]}" ]; then
    echo "no core source lists in $build/core-sources: configure $build first" >&2
    exit 2
fi

declare -A seen=()
queue=()
add() {
    local file
    file=$(realpath -m --relative-to=. "$1")
    if [ -f "$file" ] && [ -z "${seen[$file]:-}" ]; then
        seen[$file]=1
        queue+=("$file")
    fi
}

for list in "${lists[@]}"; do
    dir=""
    while IFS= read -r source; do
        [ -z "$source" ] && continue
        if [ -z "$dir" ]; then dir=$source; continue; fi
        case $source in /*) ;; *) source=$dir/$source ;; esac
        add "$source"
        add "${source%.cpp}.h"
    done <"$list"
done

# Quoted includes name project headers: beside the including file, under src/ or tools/.
i=0
while [ $i -lt ${#queue[@]} ]; do
    file=${queue[$i]}
    i=$((i + 1))
    while IFS= read -r name; do
        for base in "$(dirname "$file")" src tools; do
            [ -f "$base/$name" ] && add "$base/$name"
        done
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done

# Qt headers: <QWord>, <QtModule/...>, and the lower-case <qword.h> forms.
qt='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/[^>"]*|q[a-z0-9_]*\.h)[>"]'
if grep -nE "$qt" "${queue[@]}"; then
    echo "Pure core files include Qt headers (above); move that code to the Qt layer." >&2
    exit 1
fi
echo "${#queue[@]} core files checked: no Qt includes"
