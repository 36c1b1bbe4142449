#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the table of HTML's named character references that the Moodle import decodes:

    tools/moodlexml/html5_entities.inc

from Python's html.entities.html5 (the list of the HTML standard). Every name goes in as the
standard spells it: with its ";", and once more without it for the few old names a browser also
reads bare ("&copy", "&amp"). The table is sorted by name in byte order, for a binary search.

    scripts/html5-entities.py [--check]   (--check: write nothing, exit 1 if the file differs)
"""

import html.entities
import sys
from pathlib import Path

OUT = Path(__file__).resolve().parent.parent / "tools" / "moodlexml" / "html5_entities.inc"


def table() -> str:
    lines = [
        "// SPDX-FileCopyrightText: 2026 Course testing developers",
        "// SPDX-License-Identifier: GPL-3.0-or-later",
        "// Written by scripts/html5-entities.py from Python's html.entities.html5; do not edit.",
        "// { name, first code point, second code point or 0 }, sorted by name in byte order.",
    ]
    for name in sorted(html.entities.html5, key=lambda n: n.encode("ascii")):
        value = html.entities.html5[name]
        if not 1 <= len(value) <= 2:
            raise SystemExit(f"&{name} stands for {len(value)} characters")
        points = [f"0x{ord(c):X}" for c in value] + (["0"] if len(value) == 1 else [])
        lines.append(f'{{"{name}", {points[0]}, {points[1]}}},')
    return "\n".join(lines) + "\n"


def main() -> int:
    text = table()
    if sys.argv[1:] == ["--check"]:
        if OUT.read_text(encoding="ascii") != text:
            print(f"{OUT} is not what scripts/html5-entities.py writes", file=sys.stderr)
            return 1
        return 0
    if sys.argv[1:]:
        print("usage: html5-entities.py [--check]", file=sys.stderr)
        return 2
    OUT.write_text(text, encoding="ascii")
    return 0


if __name__ == "__main__":
    sys.exit(main())
