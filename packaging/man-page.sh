#!/bin/sh
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the manual page of one of the programs, in roff, from what the program itself prints
# with --help and --version, so that the page and the usage never part:
#
#   packaging/man-page.sh PROGRAM DATE > NAME.1
#
# The usage's first line "Использование: NAME ..." gives the synopsis, the lines up to the first
# blank line the description (its first sentence the one-line summary), each heading ending in
# ":" a section whose items ("  -x, --option ЗНАЧЕНИЕ  text", continued on deeper-indented lines)
# become tagged paragraphs; the version text closes the page.
set -eu
program=$1
date=$2
name=$(basename "$program")
help=$(QT_QPA_PLATFORM=offscreen "$program" --help 2>/dev/null)
version=$(QT_QPA_PLATFORM=offscreen "$program" --version 2>/dev/null)

printf '%s\n%s\n' "$help" "$version" | awk -v name="$name" -v date="$date" '
# Text for roff: backslashes shown as they are, a leading dot or quote kept as text.
function esc(s) {
  gsub(/\\/, "\\e", s)
  if (s ~ /^[.\x27]/) s = "\\&" s
  return s
}
function opt(s) { s = esc(s); gsub(/-/, "\\-", s); return s }
function flush_item() {
  if (item != "") { print ".TP"; print ".B " opt(item); print esc(text) }
  item = ""; text = ""
}
BEGIN { part = "usage" }
part == "usage" {
  line = $0
  sub(/^[^:]*: */, "", line)        # "Использование: "
  sub(/^[^ ]*/, "", line)           # the program as it was called
  sub(/^ */, "", line)
  print ".TH " toupper(name) " 1 \"" date "\" \"course-testing\" \"Тестирование по курсу\""
  synopsis = line
  part = "description"; first = 1
  next
}
part == "description" && $0 == "" { part = "sections"; next }
part == "description" {
  if (first) {
    summary = $0
    sub(/[.:;].*$/, "", summary)
    print ".SH ИМЯ"
    print name " \\- " esc(summary)
    print ".SH ОБЗОР"
    print ".B " name
    if (synopsis != "") print esc(synopsis)
    print ".SH ОПИСАНИЕ"
    first = 0
  } else print ".br"
  print esc($0)
  next
}
part == "sections" && /^[^ ].*:$/ && !seen_version {
  flush_item()
  heading = $0; sub(/:$/, "", heading)
  # Section names in capitals, as manual pages have them (awk changes only Latin letters).
  if (heading == "Параметры") heading = "ПАРАМЕТРЫ"
  else if (heading == "Аргументы") heading = "АРГУМЕНТЫ"
  print ".SH " toupper(heading)
  next
}
part == "sections" && /^  [^ ]/ {
  flush_item()
  line = $0; sub(/^ +/, "", line)
  if (match(line, /  +/)) {
    item = substr(line, 1, RSTART - 1); text = substr(line, RSTART + RLENGTH)
  } else { item = line; text = "" }
  next
}
part == "sections" && /^    +[^ ]/ && item != "" {
  line = $0; sub(/^ +/, "", line)
  text = text " " line
  next
}
part == "sections" && $0 == "" { flush_item(); next }
# The version text: its first line "NAME VERSION", then the licence.
part == "sections" && index($0, name " ") == 1 && !seen_version {
  flush_item()
  seen_version = 1
  print ".SH ВЕРСИЯ"
  print esc($0)
  print ".SH ЛИЦЕНЗИЯ"
  next
}
seen_version { print esc($0); next }
END {
  flush_item()
  print ".SH СМ. ТАКЖЕ"
  print "course\\-testing(1), pdbcheck(1), groupreport(1), moodlexml(1);"
  print "/usr/share/doc/course\\-testing/deployment.md"
}'
