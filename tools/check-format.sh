#!/usr/bin/env bash
# Fails when a C++ file under version control differs from what clang-format
# (with the repository's .clang-format) makes of it; `make format` fixes them.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
