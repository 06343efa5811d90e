#!/usr/bin/env bash
# The layer check passes on the tree as it is, and fails on each kind of breach planted in a
# copy of it: a Qt include in a core header no target lists, a core include of a desktop
# header, a circle between core folders, a Qt file in a pure folder, one tab's folder including
# another's.
# Usage: layer_check_test.sh SOURCE_ROOT
set -euo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect() { # expect pass|fail MESSAGE_PART
    local out status=0
    out=$(SOURCE_ROOT="$work" "$root/tools/check-core-includes.sh" 2>&1) || status=$?
    if [ "$1" = pass ] && [ $status -ne 0 ]; then
        echo "FAIL: the check refused the tree: $out"; exit 1
    fi
    if [ "$1" = fail ] && { [ $status -ne 1 ] || ! grep -qF -- "$2" <<<"$out"; }; then
        echo "FAIL: expected a refusal naming '$2', got status $status: $out"; exit 1
    fi
}
fresh() { rm -rf "$work/src" && cp -r "$root/src" "$work/src"; }

fresh && expect pass
fresh && printf '#pragma once\n#include <QString>\n' >"$work/src/core/imaging/planted.h" &&
    expect fail "src/core/imaging/planted.h includes a Qt header"
fresh && printf '#include "ui/tab_page.h"\n' >>"$work/src/core/project/string_grid.h" &&
    expect fail "src/core/project/string_grid.h (core) includes src/gui/ui/tab_page.h (gui)"
fresh && printf '#include "imaging/bitmap.h"\n' >>"$work/src/core/base/error.h" &&
    expect fail "The folders include each other in a circle"
fresh && printf '#include <QWidget>\n' >>"$work/src/gui/app/about_form.h" &&
    printf '#pragma once\nnamespace kelmor {}\n' >"$work/src/gui/app/planted.h" &&
    expect fail "src/gui/app holds Qt files and pure ones: planted.h"
fresh && printf '#include "pictures/pics_tab.h"\n' >>"$work/src/gui/project/projects_tab.cpp" &&
    expect fail "src/gui/project/projects_tab.cpp includes src/gui/pictures/pics_tab.h: only app"
echo "layer check: passes the tree, refuses each planted breach"
