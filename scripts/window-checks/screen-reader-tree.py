#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the program (already started under an accessibility bus) with keys and reads its
accessibility tree through AT-SPI as a screen reader does. Fails on any push button, tick box,
entry field or list on view without a name, and when the textbook's page, a question's text, the
clock or the verdict's announcement cannot be read. Used by screen-reader.sh; not run alone."""
import subprocess
import sys
import time

import pyatspi

ROLES_NEEDING_NAMES = {
    pyatspi.ROLE_PUSH_BUTTON: "button",
    pyatspi.ROLE_TOGGLE_BUTTON: "button",
    pyatspi.ROLE_CHECK_BOX: "tick box",
    pyatspi.ROLE_TEXT: "field",
    pyatspi.ROLE_ENTRY: "field",
    pyatspi.ROLE_PASSWORD_TEXT: "field",
    pyatspi.ROLE_COMBO_BOX: "list",
}


def fail(message):
    print("screen-reader: " + message, file=sys.stderr)
    sys.exit(1)


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "course-testing":
            return app
    return None


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # a node that went away meanwhile
        return False


def walk(node, depth=0, inside=False):
    """Every node on view below node, with its depth."""
    if node is None or depth > 60:
        return
    yield node, depth
    try:
        children = list(node)
    except Exception:
        return
    # Inside a web page every node counts: the engine marks only some of them as showing.
    web = node.getRole() in (pyatspi.ROLE_DOCUMENT_WEB, pyatspi.ROLE_DOCUMENT_FRAME) or inside
    for child in children:
        if child is not None and (web or showing(child)):
            yield from walk(child, depth + 1, web)


def window(title):
    app = program()
    if app is None:
        return None
    for win in app:
        if win is not None and showing(win) and win.name.startswith(title):
            return win
    return None


def wait_for(what, probe, seconds=60, shown=None):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    if shown is not None:  # what there was instead
        print("\n".join(dump(shown)[0]), file=sys.stderr)
    fail(what + " did not come")


def key(*keys):
    subprocess.run(["xdotool", "key", *keys], check=True)


def press_until(what, keys, probe):
    """Presses the keys until probe finds something: a press the program was not ready for (the
    answer button is out of use for a moment after each press) is repeated."""
    for _ in range(30):
        key(*keys)
        end = time.monotonic() + 1
        while time.monotonic() < end:
            found = probe()
            if found:
                return found
            time.sleep(0.1)
    app = program()
    on_view = [w.name for w in app if w is not None and showing(w)] if app else []
    fail("%s did not come (windows on view: %r)" % (what, on_view))


def dump(win):
    lines, unnamed = [], []
    for node, depth in walk(win):
        role, name = node.getRoleName(), node.name
        lines.append("  " * depth + "%s %r" % (role, name))
        if node.getRole() in ROLES_NEEDING_NAMES and not name.strip():
            unnamed.append("%s (%s)" % (ROLES_NEEDING_NAMES[node.getRole()], role))
    return lines, unnamed


def check_named(win, what):
    lines, unnamed = dump(win)
    if unnamed:
        print("\n".join(lines), file=sys.stderr)
        fail("%s: unnamed: %s" % (what, ", ".join(unnamed)))
    return lines


def names(win, role):
    return [n.name for n, _ in walk(win) if n.getRole() == role]


def main():
    wait_for("the program on the accessibility bus", program)
    textbook = wait_for("the textbook", lambda: window("Учебник"))
    # The textbook's page: a document with the page's text below the web view.
    def page_text():
        for node, _ in walk(textbook):
            if node.getRole() in (pyatspi.ROLE_DOCUMENT_WEB, pyatspi.ROLE_DOCUMENT_FRAME):
                texts = [n.name for n, _ in walk(node) if n.name.strip()]
                if len(texts) >= 3:
                    return texts
        return None
    wait_for("the textbook's page to screen readers", page_text, shown=textbook)
    check_named(textbook, "the textbook")

    def start_bar():
        for win in program():
            if win is not None and showing(win) and win.name == "Тестирование":
                buttons = names(win, pyatspi.ROLE_PUSH_BUTTON)
                if all(c in buttons for c in ("Тестирование...", "О программе...", "Выход")):
                    return win
        return None
    bar = wait_for("the start bar with its three buttons", start_bar, shown=program())
    check_named(bar, "the start bar")

    menu = press_until("the menu", ["alt+Cyrillic_te"], lambda: window("Регистрация"))
    wait_for("the menu's buttons", lambda: "Контроль..." in names(menu, pyatspi.ROLE_PUSH_BUTTON))
    check_named(menu, "the menu")
    if "Вход для тестирования ..." not in names(menu, pyatspi.ROLE_PUSH_BUTTON):
        fail("the entry panel is not a button to screen readers")
    # Return on the entry panel uncovers the fields (a press before the menu has the keyboard is
    # repeated).
    press_until("the fields", ["Return"],
                lambda: "Вход для тестирования ..." not in names(menu, pyatspi.ROLE_PUSH_BUTTON))
    check_named(menu, "the menu's fields")
    for text in ["Петров А. В.", "ФК-21", "Плавание"]:
        subprocess.run(["xdotool", "type", "--delay", "60", text], check=True)
        key("Tab")
    key("Down", "Down", "Down")
    time.sleep(0.5)

    press_until("the training screen", ["alt+Cyrillic_er"], lambda: window("Внимание!"))
    question = press_until("training question 1", ["Return"], lambda: window("Вопрос"))
    wait_for("the tick boxes", lambda: len(names(question, pyatspi.ROLE_CHECK_BOX)) >= 2)
    lines = check_named(question, "a question")
    boxes = names(question, pyatspi.ROLE_CHECK_BOX)
    if not all(b.startswith(("1) ", "2) ", "3) ", "4) ", "5) ", "Рисунок ")) for b in boxes):
        fail("tick boxes not named by their options: %r" % boxes)
    if "Осталось секунд" not in [n.name for n, _ in walk(question)]:
        print("\n".join(lines), file=sys.stderr)
        fail("no clock named on the question")
    labels = [n.name for n, _ in walk(question) if n.getRole() == pyatspi.ROLE_LABEL]
    if not any("?" in text or len(text) > 20 for text in labels):
        print("\n".join(lines), file=sys.stderr)
        fail("the question's text is not readable")
    # A tick: the verdict is handed over as a notification on view.
    key("Tab", "space")
    def verdict():
        return [n.name for n, _ in walk(question) if n.getRole() == pyatspi.ROLE_NOTIFICATION
                and n.name.startswith("Ответ")]
    said = wait_for("the verdict's notification", verdict)
    print("screen-reader: %d boxes named %r; verdict said: %r" % (len(boxes), boxes, said[0]))


main()
