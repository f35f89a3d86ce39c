#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Marks the namespace-scope classes, functions and variables of public headers with
# MD5B64_API, the export mark of a shared library, and includes "md5b64/Export.h" for it.
# Run it on a header after adding declarations: it leaves marked lines alone, so a second
# run changes nothing. Templates, inline and constexpr definitions need no mark.
#   python3 tools/annotate-exports.py coders/*.h platform/*.h
import re
import sys

CLASS = re.compile(r"^(class|struct) (?!MD5B64_API\b)(\w+)(\s+final)?(\s*[:{].*)$")
EXTERN = re.compile(r"^extern (?!MD5B64_API\b)(?!\"C\")(.*)$")
# A declaration that starts a line at namespace scope and names a function: a type, a name and
# its parameter list, ending in ";" on this or a later line.
SKIP = re.compile(
    r"^(MD5B64_API|template|inline|constexpr|static|using|typedef|namespace|enum|friend|"
    r"return|#|//|/\*|\*|}|\{|class|struct|extern|public|private|protected)\b"
)
FUNCTION = re.compile(r"^[A-Za-z_][\w:<>,\s\*&]*[\s\*&]\w+\(")


def annotate(text):
    lines = text.split("\n")
    out = []
    changed = False
    depth = 0  # braces open other than namespaces
    in_macro = False
    pending = False  # inside a multi-line declaration already handled
    for line in lines:
        stripped = line.strip()
        new = line
        if in_macro:
            in_macro = line.endswith("\\")
        elif stripped.startswith("#define"):
            in_macro = line.endswith("\\")
            # A macro that declares a class (an error class) carries the mark in its body.
        elif depth == 0 and not pending:
            m = CLASS.match(line)
            if m:
                new = f"{m.group(1)} MD5B64_API {m.group(2)}{m.group(3) or ''}{m.group(4)}"
            else:
                m = EXTERN.match(line)
                if m:
                    new = f"extern MD5B64_API {m.group(1)}"
                elif FUNCTION.match(line) and not SKIP.match(line):
                    # A definition with a body is inline in a header: no mark.
                    statement_end = line.rstrip().endswith(";")
                    if "{" not in line:
                        new = "MD5B64_API " + line
                        pending = not statement_end
        elif pending and line.rstrip().endswith(";"):
            pending = False
        if new != line:
            changed = True
        out.append(new)
        if not in_macro and not stripped.startswith("#") and not stripped.startswith("//"):
            code = line.split("//")[0]
            if re.match(r"^\s*namespace\b", code):
                continue
            depth += code.count("{") - code.count("}")
            if depth < 0:
                depth = 0  # a namespace's closing brace
    text = "\n".join(out)
    if changed and '#include "md5b64/Export.h"' not in text:
        # The first include of the header, in a block of its own.
        guard = re.search(r"^#define MD5B64_\w+_H\n", text, re.M)
        if guard is None:
            raise SystemExit("no include guard to put the Export.h include after")
        at = guard.end()
        text = text[:at] + '\n#include "md5b64/Export.h"\n' + text[at:]
    return text


for path in sys.argv[1:]:
    with open(path, encoding="utf-8") as f:
        before = f.read()
    after = annotate(before)
    if after != before:
        with open(path, "w", encoding="utf-8") as f:
            f.write(after)
        print(f"annotated {path}")
