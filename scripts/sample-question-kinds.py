#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a question file holding one question of each kind found in a course's question file:
a text question, a picture question, a question with picture options and a video question.

    sample-question-kinds.py SOURCE.db TARGET.db

Used by scripts/screenshots.sh to show every kind of question in one short training test.
The records are copied byte for byte (Windows-1251, CR LF)."""
import sys


def main(source, target):
    lines = open(source, "rb").read().split(b"\r\n")
    if lines and lines[-1] == b"":
        lines.pop()
    pos = 0

    def block(ends):
        nonlocal pos
        start = pos
        while pos < len(lines) and lines[pos][:1] not in ends:
            pos += 1
        pos += 1
        return lines[start:pos]

    header = block(b".") + block(b".")  # title, parameters
    block(b".")  # the count, replaced below
    kinds = {}
    while pos < len(lines):
        record = block(b".\\") + block(b".\\")
        reference = block(b".\\")
        record += reference
        options = []
        while pos < len(lines):
            option = block(b".,")
            options += option
            if option[-1][:1] == b".":
                break
        record += options
        closing = reference[-1]
        picture_options = any(line[2:3] == b"!" for line in options if line[:1] not in b".,")
        if closing[:2] == b"\\$":
            kind = "video"
        elif closing[:1] == b"\\":
            kind = "picture"
        elif picture_options:
            kind = "picture options"
        else:
            kind = "text"
        kinds.setdefault(kind, record)
    chosen = [kinds[k] for k in ("text", "picture", "picture options", "video") if k in kinds]
    out = header + [str(len(chosen)).encode(), b"."]
    for record in chosen:
        out += record
    open(target, "wb").write(b"\r\n".join(out) + b"\r\n")
    print(f"{len(chosen)} questions: " + ", ".join(k for k in ("text", "picture", "picture options", "video") if k in kinds))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
