#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The question-file examples of the teachers' guide stay true: every complete file ("pdb"
block) and all single questions ("pdb-question" blocks, put together under a title) pass
pdbcheck --strict against the sample course, and there is an example of every kind.

usage: check_guide_examples.py PDBCHECK GUIDE COURSE_FOLDER
"""
import re
import subprocess
import sys
import tempfile
from pathlib import Path

pdbcheck, guide, course = sys.argv[1:4]
text = Path(guide).read_text(encoding="utf-8")
blocks = re.findall(r"^```(pdb|pdb-question)\n(.*?)^```$", text, re.M | re.S)
files = [body for kind, body in blocks if kind == "pdb"]
questions = [body for kind, body in blocks if kind == "pdb-question"]
failures = []
if not files or len(questions) < 6:
    failures.append(f"{len(files)} complete files and {len(questions)} questions in the guide")

# One question of each kind: a picture, picture options, a video, partial credit, negative points.
joined = "".join(questions)
for what, pattern in [("picture", r"^\\[^$]"), ("picture options", r"^\d !"),
                      ("video", r"^\\\$"), ("partial credit", r"^[,.]50$"),
                      ("negative points", r"^[,.]-\d")]:
    if not re.search(pattern, joined, re.M):
        failures.append(f"no example of {what}")

header = "Примеры вопросов руководства\n.\n.\n{count}\n.\n"
candidates = files + [header.format(count=len(questions)) + joined]
with tempfile.TemporaryDirectory() as tmp:
    for n, body in enumerate(candidates, 1):
        path = Path(tmp) / f"pdb{n}.db"
        path.write_bytes(body.replace("\n", "\r\n").encode("cp1251"))
        run = subprocess.run([pdbcheck, "--strict", "--course", course, str(path)],
                             capture_output=True, text=True)
        if run.returncode != 0:
            failures.append(f"example {n} is refused:\n{run.stdout}{run.stderr}\n{body}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
