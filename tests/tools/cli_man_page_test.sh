#!/usr/bin/env bash
# kelmor-cli's man page names every command and option that `kelmor-cli --help` lists.
# Usage: cli_man_page_test.sh KELMOR_CLI MAN_PAGE
set -euo pipefail
help=$("$1" --help)
page=$(sed 's/\\-/-/g; s/\\f[BIRP]//g' "$2")
missing=0
while read -r word; do
    grep -qF -- "$word" <<<"$page" || { echo "the man page lacks: $word"; missing=1; }
done < <(grep -oE -- '--[a-z0-9-]+|kelmor-cli [a-z]+( info)?|gif2bmp|bmp2gif' <<<"$help" | sort -u)
exit $missing
