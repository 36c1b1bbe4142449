#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A generated group of 30 students of the sample course through groupreport: the CSV opened
with Python's csv module as a spreadsheet would (UTF-8 with a byte-order mark, ";"), and the
HTML page self-contained with its two charts.

usage: check_group_csv.py SAMPLEGROUP GROUPREPORT QUESTION_FILE
"""
import csv
import re
import subprocess
import sys
import tempfile
from pathlib import Path

samplegroup, groupreport, question_file = sys.argv[1:4]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


with tempfile.TemporaryDirectory() as tmp:
    folder = Path(tmp) / "data1"
    subprocess.run([samplegroup, "--students", "30", "--questions", "10", question_file,
                    str(folder)], check=True, capture_output=True)
    csv_path, html_path = Path(tmp) / "group.csv", Path(tmp) / "group.html"
    run = subprocess.run([groupreport, "--csv", str(csv_path), "--html", str(html_path),
                          str(folder)], capture_output=True, text=True)
    check(run.returncode == 0, f"groupreport exit {run.returncode}: {run.stderr}")
    check("Чтение файлов" not in run.stderr, f"a progress bar outside a terminal: {run.stderr!r}")

    raw = csv_path.read_bytes()
    check(raw.startswith(b"\xef\xbb\xbf"), "no UTF-8 byte-order mark")
    with open(csv_path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    header, students = rows[0], rows[1:]
    check(header[:11] == ["ФИО", "Группа", "Специализация", "Квалификация", "Тест", "Дата",
                          "Время", "Задано вопросов", "Набрано баллов", "Максимум", "Процент"],
          f"header {header[:11]}")
    check(header[11:] == [f"Вопрос {i}" for i in range(1, 11)], f"question columns {header[11:]}")
    check(len(students) == 30, f"{len(students)} students")
    for row in students:
        check(len(row) == len(header), f"row length {len(row)}: {row}")
        asked, points, maximum, percent = int(row[7]), int(row[8]), int(row[9]), row[10]
        answers = [int(p) for p in row[11:11 + asked]]
        check(asked == 10 and maximum == 1000, f"asked/maximum {row}")
        check(sum(answers) == points, f"points of the questions do not add up: {row}")
        check(all(p in (-50, 0, 50, 100) for p in answers), f"points {answers}")
        check(percent == f"{points / 10:.1f}", f"percent {percent} for {points}")
        check(row[4] == "ИТОГОВОЕ ТЕСТИРОВАНИЕ", f"test {row[4]}")
        check(re.fullmatch(r"\d\d\.\d\d\.\d{4}", row[5]) and re.fullmatch(r"\d\d:\d\d:\d\d", row[6]),
              f"date and time {row[5]} {row[6]}")
        check(re.fullmatch(r"\S+ \S\. \S\.", row[0]), f"name {row[0]}")

    html = html_path.read_text(encoding="utf-8")
    check(html.count("<svg") == 2, "two charts expected")
    check("<script" not in html.lower(), "a script in the page")
    check(not re.search(r'(src|href)\s*=\s*["\']?(https?:|//)', html), "something loaded from outside")
    check(html.count("<tr><td class=\"n\">") >= 30, "the students' table")

for failure in failures[:20]:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
