#!/usr/bin/env bash
# The function-length check passes on the tree as it is, and measures planted functions as a
# reader counts them: braces in comments, strings and brace initialisers do not open or close a
# body, a lambda counts within its function, a constructor counts from its signature.
# Usage: function_length_test.sh SOURCE_ROOT
set -euo pipefail
root=$1
check="$root/tools/check-function-length.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$root" && git ls-files -z 'src/*.cpp' 'src/*.h' 2>/dev/null || find src -name '*.cpp' -print0 -o -name '*.h' -print0) |
    (cd "$root" && xargs -0 "$check" 60) || { echo "FAIL: the tree has functions over 60 lines"; exit 1; }

# body LINES: that many statement lines, one holding a brace in a string and a comment.
body() {
    echo '    const char* text = "}"; // }'
    for ((i = 2; i <= $1; ++i)); do echo '    call();'; done
}
{
    echo 'namespace n {'
    echo 'struct A { A(); int x{0}; int y{0}; };'
    echo 'A::A() : x{1}, y{2} {'; body 59; echo '}'            # 61 lines with its signature
    echo 'void fits() {'; body 58; echo '}'                    # 60 lines
    echo 'void withLambda() {'; echo '    auto f = [] {'; body 57; echo '    };'; echo '}'
    echo '} // namespace n'
} >"$work/planted.cpp"
out=$("$check" 60 "$work/planted.cpp") && { echo "FAIL: the planted functions passed"; exit 1; }
expected="$work/planted.cpp:3: A::A has 61 lines (at most 60)
$work/planted.cpp:124: withLambda has 61 lines (at most 60)"
[ "$out" = "$expected" ] || { echo "FAIL: expected:"; echo "$expected"; echo "got:"; echo "$out"; exit 1; }
echo "function length: passes the tree, measures each planted function"
