#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the text files of the sample course from the UTF-8 sources beside this script.

    course/ortu/pdb12.db          the final test      (from course_questions.py)
    course/html/*.htm, book.css   the textbook        (from course_textbook.py)
    course/helphtml/*.htm, .css   the program's help  (from course_help.py)

Every file is written in Windows-1251 with CR LF line ends. The question file is read back
with the loading rules of the program and checked before the script ends: the shown text of
every question must start exactly at the question, the points of the right options must add
up to 100, and every picture, fragment and textbook page it names must exist.

    scripts/make-course-texts.py [--check]   (--check: write nothing, compare with the files)
"""

import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
COURSE = os.path.join(ROOT, "course")
sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, HERE)

import course_help  # noqa: E402
import course_questions  # noqa: E402
import course_textbook  # noqa: E402

ENCODING = "cp1251"
WRAP = 78

# Lines of the question file: the question block loses 6 characters when it is stored and the
# screens hide 9 more, so every question starts with a 15-character prefix such as
# "Вопрос №07-Т1. "; an option line starts with 2 characters that are cut ("1 ").
QUESTION_PREFIX = "Вопрос №{number:02d}-Т{theme}. "
QUESTION_CUT = 6
HIDDEN_ON_SCREEN = 9
REFERENCE_MARK = ">"


def fail(message):
    sys.exit(f"make-course-texts: {message}")


def wrap(text, first_prefix="", width=WRAP):
    """Splits text at single blanks into lines; joining them again, each followed by one blank
    as the loader does, gives the text followed by one blank."""
    if "  " in text or text != text.strip():
        fail(f"double or outer blanks in {text!r}")
    lines, line = [], first_prefix
    for word in text.split(" "):
        if line not in ("", first_prefix) and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = line + (" " if line not in ("", first_prefix) else "") + word
    lines.append(line)
    for continued in lines[1:]:
        if continued[0] in ".\\,":
            fail(f"a wrapped line would begin with a role character: {continued!r}")
    return lines


# ---------------------------------------------------------------------------------------------
# Question file
# ---------------------------------------------------------------------------------------------
def question_file_lines():
    lines = list(course_questions.TITLE) + ["."]
    for label, value in course_questions.PARAMETERS:
        lines += [label, str(value)]
    lines.append(".")
    lines += [str(len(course_questions.QUESTIONS)), "."]
    for number, q in enumerate(course_questions.QUESTIONS, start=1):
        prefix = QUESTION_PREFIX.format(number=number, theme=q["theme"])
        if len(prefix) != QUESTION_CUT + HIDDEN_ON_SCREEN:
            fail(f"question {number}: the prefix {prefix!r} is not 15 characters")
        lines += wrap(q["text"], prefix) + ["."]
        lines += [course_questions.THEMES[q["theme"]], "."]
        lines.append(REFERENCE_MARK + q["page"])
        lines.append("\\" + q["picture"] if q.get("picture") else ".")
        options = q["options"]
        for i, (text, points) in enumerate(options, start=1):
            lines += wrap(text, f"{i} ")
            lines.append(("," if i < len(options) else ".") + str(points))
    return lines


def load_question_file(lines):
    """The loading rules of the program, enough to check what we wrote."""
    it = iter(lines)

    def block(ends, join_closing):
        text = ""
        for line in it:
            if line[:1] in ends:
                if join_closing and line[:1] != ".":
                    text += line + " "
                return text, line
            text += line + " "
        fail("the file ends inside a block")

    title, _ = block(".", False)
    params = []
    for line in it:
        if line.startswith("."):
            break
        params.append((line, int(next(it).split()[0])))
    count_text, _ = block(".", False)
    count = int(count_text.split()[-1])
    questions = []
    for _ in range(count):
        text, _ = block(".\\", True)
        note, _ = block(".\\", True)
        ref, closing = block(".\\", False)
        q = dict(text=text[QUESTION_CUT:], note=note[:50],
                 page=("\\html\\" + ref[1:])[:50],
                 picture="\\images\\" + closing[1:] if closing.startswith("\\") else None,
                 options=[])
        while True:
            opt, closing = block(".,", False)
            q["options"].append((opt[2:], int(closing[1:])))
            if closing.startswith("."):
                break
        questions.append(q)
    if next(it, None) is not None:
        fail("lines after the last question")
    return title, params, questions


def check_question_file(lines):
    if any(not line for line in lines):
        fail("the question file holds an empty line")
    title, params, questions = load_question_file(lines)
    if title != " ".join(course_questions.TITLE) + " ":
        fail(f"title read back as {title!r}")
    if len(params) != len(course_questions.PARAMETERS):
        fail("parameters read back wrongly")
    kinds = {".jpg": 0, ".bmp": 0, ".gif": 0, ".avi": 0}
    picture_options = 0
    for number, (q, source) in enumerate(zip(questions, course_questions.QUESTIONS), start=1):
        where = f"question {number}"
        if q["text"][HIDDEN_ON_SCREEN:] != source["text"] + " ":
            fail(f"{where}: shown text {q['text'][HIDDEN_ON_SCREEN:]!r}")
        if not 2 <= len(q["options"]) <= 5:
            fail(f"{where}: {len(q['options'])} options")
        if sum(p for _, p in q["options"] if p > 0) != 100:
            fail(f"{where}: the right options do not add up to 100")
        for (text, points), (src_text, src_points) in zip(q["options"], source["options"]):
            if text != src_text + " " or points != src_points:
                fail(f"{where}: option read back as {text!r}, {points}")
            if text.startswith("!"):
                picture_options += 1
                if not os.path.isfile(os.path.join(COURSE, "images", text.strip())):
                    fail(f"{where}: no option picture {text.strip()}")
        page = q["page"].strip().replace("\\", "/").lstrip("/")
        if not os.path.isfile(os.path.join(COURSE, page)):
            fail(f"{where}: no textbook page {page}")
        if q["picture"]:
            name = q["picture"][len("\\images\\"):]
            if not os.path.isfile(os.path.join(COURSE, "images", name)):
                fail(f"{where}: no picture {name}")
            kinds[os.path.splitext(name)[1].lower()] += 1
    if min(kinds.values()) < 1 or kinds[".avi"] < 2 or picture_options < 2:
        fail(f"not every kind of media is used: {kinds}, {picture_options} picture options")
    return questions


# ---------------------------------------------------------------------------------------------
# Textbook
# ---------------------------------------------------------------------------------------------
HEAD = """<!DOCTYPE html>
<html lang="ru">
<head>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">
<title>{title}</title>
<link rel="stylesheet" href="{css}">
</head>
<body{body_class}>
"""

TOP = """<div class="top"><span class="course">{course}</span>
<a href="0000.htm">Начало</a><a href="001.htm">Содержание</a><a href="090.htm">Словарь</a><a href="003.htm">Видеофрагменты</a></div>
"""

READING_ORDER = ["002.htm"] + [c for _, _, chapters in course_textbook.THEMES for c in chapters] \
    + ["090.htm", "091.htm"]


def chapter_titles():
    return {c[0]: c[1] for c in course_textbook.CHAPTERS}


def theme_of(page):
    for number, title, chapters in course_textbook.THEMES:
        if page in chapters:
            return number, title
    return None


def textbook_page(file, short, heading, body):
    titles = chapter_titles()
    i = READING_ORDER.index(file)
    prev_link = (f'<a href="{READING_ORDER[i - 1]}">&larr; {titles[READING_ORDER[i - 1]]}</a>'
                 if i > 0 else '<a href="001.htm">&larr; Содержание</a>')
    next_link = (f'<a href="{READING_ORDER[i + 1]}">{titles[READING_ORDER[i + 1]]} &rarr;</a>'
                 if i + 1 < len(READING_ORDER) else '<a href="001.htm">Содержание &rarr;</a>')
    theme = theme_of(file)
    kicker = f'<p class="theme">Тема {theme[0]}. {theme[1]}</p>\n' if theme else ""
    return (HEAD.format(title=f"{short} — {course_textbook.COURSE}", css="book.css",
                        body_class="")
            + TOP.format(course=course_textbook.COURSE)
            + f'<div class="page">\n{kicker}<h1>{heading}</h1>\n{body.strip()}\n</div>\n'
            + f'<div class="nav"><span class="prev">{prev_link}</span>'
            + f'<span class="next">{next_link}</span></div>\n</body>\n</html>\n')


def contents_list(with_notes):
    titles = chapter_titles()
    out = []
    for number, title, chapters in course_textbook.THEMES:
        out.append(f'<li><span class="tnum">Тема {number}.</span> {title}<ul>')
        for c in chapters:
            out.append(f'<li><a href="{c}">{titles[c]}</a></li>')
        out.append("</ul></li>")
    items = "\n".join(out)
    extra = ""
    if with_notes:
        extra = ('<p class="note">Темы 5–7 курса изучаются на семинарских занятиях и в '
                 'электронный учебник не входят.</p>\n')
    return f'<ol class="toc">\n{items}\n</ol>\n{extra}'


def contents_page():
    body = ('<p>Учебник включает пять тем курса, выносимых на итоговое тестирование. Перед '
            'началом работы прочитайте <a href="002.htm">как работать с учебником</a>.</p>\n'
            + contents_list(True)
            + '<ul class="extras">\n<li><a href="003.htm">Видеофрагменты</a></li>\n'
            '<li><a href="090.htm">Словарь основных понятий</a></li>\n'
            '<li><a href="091.htm">Рекомендуемая литература</a></li>\n</ul>\n')
    return (HEAD.format(title=f"Содержание — {course_textbook.COURSE}", css="book.css",
                        body_class="")
            + TOP.format(course=course_textbook.COURSE)
            + f'<div class="page">\n<h1>Содержание</h1>\n{body}</div>\n'
            + '<div class="nav"><span class="prev"><a href="0000.htm">&larr; Начало</a></span>'
            + '<span class="next"><a href="002.htm">Как работать с учебником &rarr;</a></span>'
            + '</div>\n</body>\n</html>\n')


def fragments_page():
    boxes = "\n".join(course_textbook.video_box(f, t, "003.htm", d)
                      for f, t, _, d in course_textbook.FRAGMENTS)
    links = "\n".join(f'<li>«{t}» — <a href="{p}">{chapter_titles()[p]}</a></li>'
                      for _, t, p, _ in course_textbook.FRAGMENTS)
    body = ('<p>Короткие видеофрагменты иллюстрируют главные идеи курса. Каждый фрагмент '
            'длится несколько секунд; его можно остановить, перемотать к началу или к концу и '
            'просмотреть по частям кнопками окна просмотра.</p>\n' + boxes
            + '\n<h2>Где фрагменты встречаются в учебнике</h2>\n<ul>\n' + links + '\n</ul>\n')
    return (HEAD.format(title=f"Видеофрагменты — {course_textbook.COURSE}", css="book.css",
                        body_class="")
            + TOP.format(course=course_textbook.COURSE)
            + f'<div class="page">\n<h1>Видеофрагменты</h1>\n{body}</div>\n'
            + '<div class="nav"><span class="prev"><a href="001.htm">&larr; Содержание</a>'
            + '</span><span class="next"><a href="0000.htm">Начало &rarr;</a></span></div>\n'
            + '</body>\n</html>\n')


def start_page(large):
    cover = (f'<div class="cover">\n<p class="kicker">Электронный учебник</p>\n'
             f'<h1>{course_textbook.COURSE}</h1>\n'
             '<p class="sub">Учебное пособие для подготовки к итоговому компьютерному '
             'тестированию</p>\n</div>\n')
    intro = ('<p>Добро пожаловать! Учебник содержит краткое изложение тем курса, словарь '
             'основных понятий и видеофрагменты. Читайте главы по порядку или выберите нужную в '
             'содержании. Когда будете готовы, нажмите «Тестирование...» на панели в верхней '
             'части экрана и пройдите тренировочный тест.</p>\n')
    side = ('<div class="side">\n<h2>С чего начать</h2>\n<ul>\n'
            '<li><a href="002.htm">Как работать с учебником</a></li>\n'
            '<li><a href="001.htm">Содержание</a></li>\n'
            '<li><a href="003.htm">Видеофрагменты</a></li>\n'
            '<li><a href="090.htm">Словарь основных понятий</a></li>\n'
            '<li><a href="091.htm">Рекомендуемая литература</a></li>\n</ul>\n'
            + course_textbook.fragment("$film03.avi").replace("=081.htm", "=0000.htm"
                                                              if large else "=000.htm")
            + '\n</div>\n')
    if large:
        body = (cover + '<div class="page wide">\n' + intro
                + '<div class="columns">\n<div class="main">\n<h2>Темы курса</h2>\n'
                + contents_list(True) + '</div>\n' + side + '</div>\n</div>\n')
    else:
        body = (cover + '<div class="page">\n' + intro + '<h2>Темы курса</h2>\n'
                + contents_list(False)
                + '<p><a href="002.htm">Как работать с учебником</a> · '
                  '<a href="003.htm">Видеофрагменты</a> · '
                  '<a href="090.htm">Словарь</a></p>\n</div>\n')
    return (HEAD.format(title=f"{course_textbook.COURSE} — электронный учебник",
                        css="book.css", body_class=' class="start"' if large else
                        ' class="start small"')
            + body + '</body>\n</html>\n')


def placeholder_page():
    return (HEAD.format(title="Просмотр видеофрагмента", css="book.css",
                        body_class=' class="playing"')
            + '<div class="playing-box">\n<p class="reel">&#9654;</p>\n'
              '<h1>Идёт просмотр видеофрагмента</h1>\n'
              '<p>Фрагмент показывается в отдельном окне. Чтобы вернуться к учебнику, нажмите '
              'в окне просмотра кнопку «Выход»: откроется страница, с которой был запущен '
              'фрагмент.</p>\n</div>\n</body>\n</html>\n')


BOOK_CSS = """/* Textbook pages: plain, readable, with the program's blues. */
body { margin: 0; background: #f6f9ff; color: #1b1b2f;
       font-family: "Times New Roman", "Liberation Serif", "DejaVu Serif", serif;
       font-size: 17px; line-height: 1.5; }
a { color: #0b5cc0; }
a:visited { color: #5a3fa0; }
a:hover { color: #d04000; }
.top { background: #000080; color: #ffffff; padding: 6px 18px;
       font-family: Arial, "Liberation Sans", "DejaVu Sans", sans-serif; font-size: 14px; }
.top .course { font-weight: bold; margin-right: 16px; }
.top a { color: #ffd24a; margin-right: 14px; text-decoration: none; }
.top a:hover { text-decoration: underline; }
.page { max-width: 46em; margin: 0 auto; padding: 10px 28px 24px; }
.page.wide { max-width: 64em; }
h1, h2, .theme, .nav, .video, .questions, .toc, dt {
       font-family: Arial, "Liberation Sans", "DejaVu Sans", sans-serif; }
h1 { color: #000080; font-size: 25px; margin: 14px 0 10px;
     border-bottom: 2px solid #85c4fc; padding-bottom: 4px; }
h2 { color: #1f4fa0; font-size: 19px; margin: 22px 0 6px; }
.theme { color: #5a7fb0; font-size: 13px; margin: 16px 0 0; text-transform: uppercase;
         letter-spacing: 1px; }
p { margin: 8px 0; }
li { margin: 3px 0; }
img { display: block; margin: 12px auto; border: 1px solid #85c4fc; }
.note { color: #5a5a70; font-size: 15px; font-style: italic; }
.video { border: 2px solid #249df7; background: #e8f4ff; border-radius: 6px;
         padding: 8px 14px; margin: 16px 0; font-size: 15px; }
.video a { font-weight: bold; font-size: 16px; text-decoration: none; }
.questions { background: #fff8e0; border-left: 4px solid #ffb76f; padding: 8px 14px;
             margin-top: 22px; font-size: 15px; }
.questions ol { margin: 4px 0; }
.toc { padding-left: 0; list-style: none; }
.toc > li { margin: 10px 0; font-weight: bold; color: #000080; }
.toc ul { font-weight: normal; margin: 4px 0; }
.tnum { color: #d06000; }
.extras { font-family: Arial, "Liberation Sans", "DejaVu Sans", sans-serif; }
dl dt { font-weight: bold; color: #000080; margin-top: 10px; }
dl dd { margin: 2px 0 0 24px; }
.books li { margin: 6px 0; }
.nav { max-width: 46em; margin: 0 auto 24px; padding: 8px 28px; font-size: 14px;
       border-top: 1px solid #c8dcf4; overflow: hidden; }
.nav .prev { float: left; }
.nav .next { float: right; }
.nav a { text-decoration: none; }
/* start pages */
.cover { background: #1b4f9f; background: linear-gradient(#08184f, #2b78c8); color: #ffffff;
         text-align: center; padding: 26px 20px 22px; }
.cover h1 { color: #ffffff; border: none; font-size: 34px; margin: 4px 0; }
.cover .kicker { color: #ffd24a; font-family: Arial, "Liberation Sans", sans-serif;
                 font-size: 15px; letter-spacing: 3px; text-transform: uppercase; margin: 0; }
.cover .sub { color: #cfe8ff; text-align: center; margin: 6px 0 0; }
.columns { overflow: hidden; }
.columns .main { float: left; width: 60%; }
.columns .side { float: right; width: 34%; background: #ffffff; border: 1px solid #c8dcf4;
                 border-radius: 6px; padding: 4px 14px 10px; margin-top: 18px; }
.small .cover { padding: 14px 10px 12px; }
.small .cover h1 { font-size: 24px; }
.small { font-size: 15px; }
/* page shown while a video fragment plays */
.playing { background: #00005b; color: #cfe8ff; }
.playing-box { max-width: 34em; margin: 120px auto 0; text-align: center;
               font-family: Arial, "Liberation Sans", "DejaVu Sans", sans-serif; }
.playing-box h1 { color: #ffd24a; border: none; }
.playing-box p { text-align: center; }
.reel { font-size: 54px; color: #85c4fc; margin: 0; }
"""

HELP_CSS = """/* Help pages of the program. */
body { margin: 0; background: #fffdf4; color: #1b1b2f;
       font-family: Arial, "Liberation Sans", "DejaVu Sans", sans-serif; font-size: 15px;
       line-height: 1.5; }
.top { background: #000080; color: #ffffff; padding: 8px 18px; font-size: 14px; }
.top a { color: #ffd24a; text-decoration: none; margin-left: 14px; }
.page { max-width: 48em; margin: 0 auto; padding: 8px 26px 26px; }
h1 { color: #000080; font-size: 23px; border-bottom: 2px solid #ffb76f; padding-bottom: 4px; }
h2 { color: #c05800; font-size: 18px; margin: 20px 0 6px; }
a { color: #0b5cc0; }
li { margin: 4px 0; }
.keys { border-collapse: collapse; margin: 10px 0; }
.keys th { background: #85c4fc; color: #000080; text-align: left; padding: 4px 10px; }
.keys td { border-bottom: 1px solid #d8e6f6; padding: 4px 10px; vertical-align: top; }
.keys td:first-child { font-weight: bold; color: #000080; white-space: nowrap; }
.contents li { font-size: 16px; }
.note { background: #eef6ff; border-left: 4px solid #249df7; padding: 6px 12px; }
"""


def help_page(file, heading, body):
    return (HEAD.format(title=heading, css="help.css", body_class="")
            + '<div class="top">Компьютерное тестирование · справка'
            + ('<a href="index.htm">Оглавление справки</a>' if file != "index.htm" else "")
            + '</div>\n'
            + f'<div class="page">\n<h1>{heading}</h1>\n{body.strip()}\n</div>\n'
            + '</body>\n</html>\n')


# ---------------------------------------------------------------------------------------------
def cp1251_crlf(text):
    if "\r" in text:
        fail("a text holds a CR of its own")
    try:
        return text.replace("\n", "\r\n").encode(ENCODING)
    except UnicodeEncodeError as e:
        fail(f"not representable in Windows-1251: {e.object[e.start:e.end]!r}")


def outputs():
    files = {}
    db_lines = question_file_lines()
    files["ortu/pdb12.db"] = cp1251_crlf("\n".join(db_lines) + "\n")
    for chapter in course_textbook.CHAPTERS:
        files["html/" + chapter[0]] = cp1251_crlf(textbook_page(*chapter))
    files["html/0000.htm"] = cp1251_crlf(start_page(True))
    files["html/000.htm"] = cp1251_crlf(start_page(False))
    files["html/001.htm"] = cp1251_crlf(contents_page())
    files["html/003.htm"] = cp1251_crlf(fragments_page())
    files["html/999.htm"] = cp1251_crlf(placeholder_page())
    files["html/book.css"] = cp1251_crlf(BOOK_CSS)
    for page in course_help.PAGES:
        files["helphtml/" + page[0]] = cp1251_crlf(help_page(*page))
    files["helphtml/help.css"] = cp1251_crlf(HELP_CSS)
    return files, db_lines


def main(argv):
    check_only = "--check" in argv
    files, db_lines = outputs()
    if check_only:
        stale = [name for name, data in files.items()
                 if not os.path.isfile(os.path.join(COURSE, name))
                 or open(os.path.join(COURSE, name), "rb").read() != data]
        if stale:
            fail("out of date: " + ", ".join(sorted(stale)))
    else:
        for name, data in files.items():
            path = os.path.join(COURSE, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
        for n in range(1, 12):  # only topic 12 is used by the program
            stray = os.path.join(COURSE, "ortu", f"pdb{n}.db")
            if os.path.exists(stray):
                os.remove(stray)
        for folder in ("otchet/print otchet", "otchet/data1"):
            os.makedirs(os.path.join(COURSE, folder), exist_ok=True)
            open(os.path.join(COURSE, folder, ".gitkeep"), "a").close()
    questions = check_question_file(db_lines)
    links = sum(len(re.findall(rb'href="\$', data)) for data in files.values())
    print(f"{len(questions)} questions, {sum(n.startswith('html/') for n in files)} textbook "
          f"files, {sum(n.startswith('helphtml/') for n in files)} help files, "
          f"{links} video links" + (" (up to date)" if check_only else ""))


if __name__ == "__main__":
    main(sys.argv[1:])
