#!/usr/bin/env python3
"""Lists the functions of C++ sources whose bodies pass a number of lines.

A function is a brace block opened at namespace or class scope after a parameter list; its length
counts the lines from its signature's first line to its closing brace. Comments, strings and
character literals are blanked first so that braces inside them do not count.
Usage: check-function-length.py LIMIT FILE... ; exits 1 when a function is longer than LIMIT.
"""
import re
import sys

SCOPES = re.compile(r"\b(namespace|class|struct|union|enum)\b[^()]*$|\bextern\s*$")
CONTROL = re.compile(r"^\s*(if|for|while|switch|catch|do|else)\b")
# A member initialised with braces in a constructor's initialiser list: `value_{x}`.
BRACE_INIT = re.compile(r"(?<!:)[:,]\s*\w[\w:]*\s*$")


def blank(text):
    """Replaces comments and literals by spaces, keeping the line ends."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|R"(\w*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'',
                         re.S)
    return pattern.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


def long_functions(path, limit):
    text = blank(open(path, encoding="utf-8").read())
    # Each open brace: whether it opens a function body (None for a brace initialiser), and
    # where its header starts.
    stack = []
    header_start = 0
    for at, char in enumerate(text):
        if char == "{":
            header = text[header_start:at]
            in_function = any(kind for kind, _ in stack)
            start = header_start + len(header) - len(header.lstrip())
            if not in_function and ")" in header and BRACE_INIT.search(header):
                stack.append((None, start))
                continue
            is_function = (not in_function and ")" in header and not SCOPES.search(header)
                           and not CONTROL.match(header) and "=" not in header.split("(")[0])
            stack.append((is_function, start))
            header_start = at + 1
        elif char == "}":
            if stack:
                is_function, start = stack.pop()
                if is_function is None:
                    continue
                if is_function:
                    first = text.count("\n", 0, start) + 1
                    last = text.count("\n", 0, at) + 1
                    if last - first + 1 > limit:
                        name = re.findall(r"([\w:~]+)\s*\(", text[start:at])
                        yield first, last - first + 1, name[0] if name else "?"
            header_start = at + 1
        elif char == ";":
            header_start = at + 1
        elif char == "#" and text.rfind("\n", 0, at) >= header_start - 1:
            # A preprocessor line belongs to no header.
            end = text.find("\n", at)
            header_start = len(text) if end < 0 else end + 1


def main():
    limit = int(sys.argv[1])
    found = False
    for path in sys.argv[2:]:
        for line, length, name in long_functions(path, limit):
            print(f"{path}:{line}: {name} has {length} lines (at most {limit})")
            found = True
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
