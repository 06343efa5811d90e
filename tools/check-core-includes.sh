#!/usr/bin/env bash
# The layer check. The sources live in three trees, one folder per subsystem in each:
#   src/core/  the Qt-free library        (may include: core)
#   src/cli/   kelmor-cli                 (may include: cli, core)
#   src/gui/   the desktop program        (may include: gui, core)
# It fails when
#   - a file of core or cli includes a Qt header (every file of those trees, listed by a
#     target or not);
#   - a quoted include reaches a tree its file may not include, or names a header that
#     exists in more than one tree;
#   - the folders' includes form a circle (inside a tree, arrows run one way down to base);
#   - a folder holds both Qt files and pure ones (a Qt file includes a Qt header, directly
#     or through project headers);
#   - a folder of one tab or window under src/gui includes another such folder: they share
#     only the layer below them (ui, imaging, prefs), and app wires them together;
#   - with a configured BUILD_DIR, a Qt-free target (listed by CMake in BUILD/core-sources,
#     see kelmor_core_sources in cmake/Kelmor.cmake) compiles a file outside core and cli.
# Usage: tools/check-core-includes.sh [BUILD_DIR] (SOURCE_ROOT in the environment checks
# another tree, for the check's own test).
set -euo pipefail
cd "${SOURCE_ROOT:-$(dirname "$0")/..}"
failed=0
fail() {
    echo "$*" >&2
    failed=1
}

mapfile -t files < <(find src/core src/cli src/gui -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
tree_of() {
    local rest=${1#src/}
    tree=${rest%%/*}
}
allowed() { # allowed FROM_TREE TO_TREE
    [ "$1" = "$2" ] || [ "$2" = core ]
}
# The desktop folders below the tabs and windows, which any of them may include; only app,
# which wires the tabs together, includes the tabs' own folders.
shared_gui_folder() {
    case $1 in src/gui/ui | src/gui/imaging | src/gui/prefs) return 0 ;; esac
    return 1
}

# Qt headers: <QWord>, <QtModule/...>, and the lower-case <qword.h> forms. A file that
# declares a Qt class ("class QWidget;") works on Qt types too.
qt='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/[^>"]*|q[a-z0-9_]*\.h)[>"]'
declared='^[[:space:]]*class[[:space:]]+Q[A-Za-z0-9_]*;'
declare -A qtFile=() includes=()
for file in "${files[@]}"; do
    tree_of "$file"
    if grep -qE "$qt" "$file"; then
        qtFile[$file]=1
        case $tree in
        core | cli) fail "$file includes a Qt header: $(grep -nE "$qt" "$file" | head -1)" ;;
        esac
    elif grep -qE "$declared" "$file"; then
        qtFile[$file]=1
    fi
done

# Quoted includes name project headers: beside the including file, or under a tree's root.
edges=()
for file in "${files[@]}"; do
    tree_of "$file"
    from=$tree dir=${file%/*}
    targets=()
    while IFS= read -r name; do
        found=()
        if [ -f "$dir/$name" ]; then
            found=("$(realpath -m --relative-to=. "$dir/$name")")
        else
            for root in core cli gui; do
                [ -f "src/$root/$name" ] && found+=("src/$root/$name")
            done
        fi
        if [ ${#found[@]} -gt 1 ]; then
            fail "$file: \"$name\" exists in more than one tree: ${found[*]}"
        elif [ ${#found[@]} -eq 1 ]; then
            tree_of "${found[0]}"
            allowed "$from" "$tree" || fail "$file ($from) includes ${found[0]} ($tree)"
            targets+=("${found[0]}")
            to=${found[0]%/*}
            [ "$dir" != "$to" ] && edges+=("$dir $to")
            if [ "$tree" = gui ] && [ "$dir" != "$to" ] && [ "$dir" != src/gui/app ] &&
                ! shared_gui_folder "$to"; then
                fail "$file includes ${found[0]}: only app includes a tab's own folder"
            fi
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    includes[$file]="${targets[*]:-}"
done

loops=$(mktemp)
if [ ${#edges[@]} -gt 0 ] && ! printf '%s\n' "${edges[@]}" | sort -u | tsort >/dev/null 2>"$loops"; then
    fail "The folders include each other in a circle: $(grep -v '^tsort: input contains a loop' "$loops" | sed 's/^tsort: //' | tr '\n' ' ')"
fi
rm -f "$loops"

# A file is a Qt file when it or a project header it reaches includes a Qt header.
changed=1
while [ $changed -eq 1 ]; do
    changed=0
    for file in "${files[@]}"; do
        [ -n "${qtFile[$file]:-}" ] && continue
        for header in ${includes[$file]}; do
            if [ -n "${qtFile[$header]:-}" ]; then
                qtFile[$file]=1
                changed=1
                break
            fi
        done
    done
done
declare -A kinds=()
for file in "${files[@]}"; do
    kind=pure
    [ -n "${qtFile[$file]:-}" ] && kind=Qt
    dir=${file%/*}
    case " ${kinds[$dir]:-} " in *" $kind "*) ;; *) kinds[$dir]="${kinds[$dir]:-} $kind" ;; esac
done
for dir in "${!kinds[@]}"; do
    case ${kinds[$dir]} in *pure*Qt* | *Qt*pure*)
        fail "$dir holds Qt files and pure ones: $(for f in "$dir"/*.h "$dir"/*.cpp; do
            [ -f "$f" ] && [ -z "${qtFile[$f]:-}" ] && printf '%s ' "${f##*/}"
        done)are pure" ;;
    esac
done

if [ $# -gt 0 ]; then
    lists=("$1"/core-sources/*.txt)
    [ -e "${lists[0]}" ] || { echo "no core source lists in $1/core-sources: configure $1 first" >&2; exit 2; }
    for list in "${lists[@]}"; do
        dir=$(head -1 "$list")
        tail -n +2 "$list" | while IFS= read -r source; do
            [ -z "$source" ] && continue
            case $source in /*) ;; *) source=$dir/$source ;; esac
            case $(realpath -m --relative-to=. "$source") in
            src/core/* | src/cli/*) ;;
            *) echo "$(basename "$list" .txt) is Qt-free but compiles $source" ;;
            esac
        done
    done | grep . >&2 && failed=1
fi

[ $failed -eq 0 ] || { echo "Layer check failed (above)." >&2; exit 1; }
echo "${#files[@]} files checked: core and cli are Qt-free, includes run gui -> core and cli -> core, no folder circles, no mixed folders, no tab reaching another tab's folder"
