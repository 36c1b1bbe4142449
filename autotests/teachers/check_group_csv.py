#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A generated group of 30 students of the sample course through groupreport: the two CSV files
opened with Python's csv module as a spreadsheet would (UTF-8 with a byte-order mark, ";", numbers
with a decimal comma, one column per question by its number; one row per student and question),
and the HTML page self-contained with its two charts.

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
    numbers = header[11:]
    check(all(re.fullmatch(r"№\d\d-Т\d\.", n) for n in numbers) and numbers == sorted(numbers)
          and len(set(numbers)) == len(numbers), f"question columns {numbers}")
    check(len(students) == 30, f"{len(students)} students")
    by_student = {}
    for row in students:
        check(len(row) == len(header), f"row length {len(row)}: {row}")
        asked, points, maximum, percent = int(row[7]), int(row[8]), int(row[9]), row[10]
        answers = {n: int(p) for n, p in zip(numbers, row[11:]) if p != ""}
        by_student[row[0]] = answers
        check(asked == 10 and maximum == 1000 and len(answers) == asked, f"asked/maximum {row}")
        check(sum(answers.values()) == points, f"points of the questions do not add up: {row}")
        check(all(p in (-50, 0, 50, 100) for p in answers.values()), f"points {answers}")
        check(percent == f"{points / 10:.1f}".replace(".", ","), f"percent {percent} for {points}")
        check(row[4] == "ИТОГОВОЕ ТЕСТИРОВАНИЕ", f"test {row[4]}")
        check(re.fullmatch(r"\d\d\.\d\d\.\d{4}", row[5]) and re.fullmatch(r"\d\d:\d\d:\d\d", row[6]),
              f"date and time {row[5]} {row[6]}")
        check(re.fullmatch(r"\S+ \S\. \S\.", row[0]), f"name {row[0]}")

    # The answers, one row per student and question, hold the same points as the table.
    answers_path = Path(tmp) / "group-ответы.csv"
    with open(answers_path, encoding="utf-8-sig", newline="") as f:
        rows = list(csv.reader(f, delimiter=";"))
    check(rows[0] == ["ФИО", "Группа", "Специализация", "Квалификация", "Тест", "Дата", "Время",
                      "Номер в тесте", "Вопрос", "Баллы", "Текст вопроса"], f"answers header {rows[0]}")
    check(len(rows) == 1 + 30 * 10, f"{len(rows) - 1} answer rows")
    long = {}
    for row in rows[1:]:
        long.setdefault(row[0], {})[row[8]] = int(row[9])
    check(long == by_student, "the answers differ from the table")

    html = html_path.read_text(encoding="utf-8")
    check(html.count("<svg") == 2, "two charts expected")
    check("<script" not in html.lower(), "a script in the page")
    check(not re.search(r'(src|href)\s*=\s*["\']?(https?:|//)', html), "something loaded from outside")
    check(html.count("<tr><td class=\"n\">") >= 30, "the students' table")

for failure in failures[:20]:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
