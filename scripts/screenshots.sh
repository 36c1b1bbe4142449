#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program under Xvfb at 1024 x 768 and at 800 x 600, waits past the splash,
# walks through a few screens with xdotool and saves PNGs under build/screenshots/.
#   scripts/screenshots.sh [BINARY]     (ONLY=<walk> runs one walk, see the end of the file)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh test || exit $?
bin=$(realpath "${1:-$root/build/release/bin/course-testing}")
out=$root/build/screenshots
mkdir -p "$out"
if [ ! -x "$bin" ]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCOURSE_BUILD_TESTS=OFF \
        -DCOURSE_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build/release --target course-testing
fi
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"

shot() { import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }
source "$root/scripts/window-checks/common.bash"

# Registers a student on the menu (shown already) and opens the training screen; names the
# screenshots of the menu with the suffix $3.
register_and_train() {
  local w=$1 h=$2 tag=$3
  # Menu geometry: the window, Panel10 18 pixels in, Panel11 centred in it, Panel1 at 11, 10.
  local mw=$(( h < 624 ? 781 : w - 100 )) mh=$(( h < 624 ? 530 : h - 70 ))
  local mx=$(half $((w - mw))) my=$(half $((h - mh)))
  local px=$((mx + 18 + $(half $((mw - 38 - 630))) + 11)) py=$((my + 18 + $(half $((mh - 38 - 368))) + 10))
  click $((px + 4 + 302)) $((py + 229 + 44)) 1                     # entry panel
  click $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12)) 0.3         # Edit1
  xdotool type --delay 20 "Петров А. В."
  click $((px + 4 + 473 + 60)) $((py + 229 + 8 + 12)) 0.3          # Edit5
  xdotool type --delay 20 "ФК-21"
  click $((px + 4 + 128 + 80)) $((py + 229 + 48 + 9)) 0.3          # ComboBox1
  xdotool type --delay 20 "Лёгкая атлетика"
  click $((px + 4 + 431 + 78)) $((py + 229 + 45 + 10)) 1            # ComboBox2 drops down
  shot "menu-qualification-$tag"
  xdotool key Down Down Down Return; sleep 0.5
  shot "menu-registered-$tag"
  # "Тренировка..." (left 3, width 201) or, with CHOICE=control, "Контроль..." (left 209, 193).
  if [ "${CHOICE:-training}" = control ]; then
    click $((px + 209 + 96)) $((py + 320 + 12)) 2
  else
    click $((px + 3 + 100)) $((py + 320 + 12)) 2
  fi
  REVIEW_X=$((px + 407 + 100)) REVIEW_Y=$((py + 320 + 12))
}

run_at() {
  local w=$1 h=$2 disp=$3
  Xvfb ":$disp" -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  local xvfb=$!
  export DISPLAY=":$disp"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  setxkbmap ru 2>/dev/null || true # Russian letters typed by their own keys, none lost
  (cd "$root/course" && exec "$bin") >/tmp/screenshots-$w.log 2>&1 &
  local app=$!
  sleep 2.5; shot "splash-$w"
  sleep 5;   shot "textbook-$w"

  # Start bar: left by the halving rule, top 2, a 2-pixel border.
  local bar=$(( $(half "$w") - (h <= 623 ? 150 : 50) ))
  xdotool mousemove $((bar + 2 + 148 + 60)) 14; sleep 0.5; shot "startbar-hover-$w"
  click $((bar + 2 + 8 + 60)) 14 2; shot "menu-$w"

  register_and_train "$w" "$h" "$w"
  shot "training-opening-$w"
  # Training screen: client 782 x 536 centred (top 5 on low displays); bottom bar 45 high.
  local tx=$(half $((w - 782))) ty=$(( h < 624 ? 5 : $(half $((h - 536))) ))
  click $((tx + 16 + 66)) $((ty + 536 - 45 + 9 + 12)) 2            # "OK": the first question
  shot "training-question-$w"
  # Tick the first box from the keyboard (the answer button is skipped by Tab): the verdict strip
  # appears with its help button, which opens the question's textbook page.
  xdotool key Tab space; sleep 0.7
  shot "training-ticked-$w"
  click $((tx + 677 + 48)) $((ty + 466 + 2 + 7)) 3                  # "П о м о щ ь..."
  shot "training-help-$w"
  click $((bar + 2 + 8 + 60)) 14 2                                  # back through "Тестирование..."
  shot "training-back-$w"
  # "Следующий вопрос" until the screen's title says "Результат" (a video question holds the
  # button for its notice and playback).
  for _ in $(seq 40); do
    xdotool search --name '^Результат$' >/dev/null 2>&1 && break
    click $((tx + 16 + 66)) $((ty + 536 - 45 + 9 + 12)) 1
  done
  shot "training-result-$w"
  click $((tx + 16 + 66)) $((ty + 536 - 45 + 9 + 12)) 2            # "OK": back to the menu
  shot "menu-after-training-$w"

  click $((bar + 2 + 148 + 60)) 14 2; shot "help-$w"
  # "Выход" ends the program.
  click $((bar + 2 + 283 + 40)) 14 1
  local code=0
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then echo "program still running after Выход" >&2; kill "$app"; code=1; fi
  wait "$app" 2>/dev/null || code=$?
  echo "exit code at ${w}x${h}: $code"
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}

# One question of each kind (text, picture, picture options, video) in a short training test:
# each question is shown, then again 5 and 12 seconds later (a video question's notice,
# playback and the options beside its last picture).
run_question_kinds() {
  local w=1024 h=768 disp=93
  local course; course=$(mktemp -d)
  cp -r "$root/course/." "$course/"
  python3 "$root/scripts/sample-question-kinds.py" "$root/course/ortu/pdb12.db" "$course/ortu/pdb12.db"
  Xvfb ":$disp" -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  local xvfb=$!
  export DISPLAY=":$disp"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  setxkbmap ru 2>/dev/null || true # Russian letters typed by their own keys, none lost
  (cd "$course" && exec "$bin") >/tmp/screenshots-kinds.log 2>&1 &
  local app=$!
  sleep 8
  local bar=$(( $(half "$w") - 50 ))
  click $((bar + 2 + 8 + 60)) 14 2
  register_and_train "$w" "$h" kinds
  local tx=$(half $((w - 782))) ty=$(half $((h - 536)))
  click $((tx + 16 + 66)) $((ty + 536 - 45 + 9 + 12)) 1.5          # "OK": the first question
  for n in 1 2 3 4; do
    shot "question-$n-a"; sleep 5; shot "question-$n-b"; sleep 7; shot "question-$n-c"
    click $((tx + 16 + 66)) $((ty + 536 - 45 + 9 + 12)) 1.5
  done
  kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true
  rm -rf "$course"
}

# A control test of one question of each kind, the supervisor code, then the review of the data
# file it wrote.
run_control_and_review() {
  local w=1024 h=768 disp=94
  local course; course=$(mktemp -d)
  cp -r "$root/course/." "$course/"
  python3 "$root/scripts/sample-question-kinds.py" "$root/course/ortu/pdb12.db" "$course/ortu/pdb12.db"
  Xvfb ":$disp" -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  local xvfb=$!
  export DISPLAY=":$disp"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  setxkbmap ru 2>/dev/null || true # Russian letters typed by their own keys, none lost
  (cd "$course" && exec "$bin") >/tmp/screenshots-control.log 2>&1 &
  local app=$!
  sleep 8
  local bar=$(( $(half "$w") - 50 ))
  click $((bar + 2 + 8 + 60)) 14 2
  CHOICE=control register_and_train "$w" "$h" control
  shot "control-opening"
  # Control screen: client 775 x 534 centred; bottom bar 51 high, Button1 at 16, 10 (177 x 31).
  local cx=$(half $((w - 775))) cy=$(half $((h - 534)))
  local bx=$((cx + 16 + 88)) by=$((cy + 534 - 51 + 10 + 15))
  click "$bx" "$by" 2                                               # "OK": the first question
  shot "control-question"
  for _ in $(seq 40); do
    xdotool search --name '^Результат$' >/dev/null 2>&1 && break
    click "$bx" "$by" 1.5
  done
  sleep 1; shot "control-result"
  xdotool type --delay 30 "739152"; xdotool key Return; sleep 2      # the supervisor code
  shot "menu-after-control"
  click "$REVIEW_X" "$REVIEW_Y" 2                                   # "Просмотр ответов..."
  local rx=$(half $((w - 782))) ry=$(half $((h - 536)))
  click $((rx + 105 + 108)) $((ry + 536 - 33 + 4 + 12)) 2          # "Открыть файл отчета..."
  shot "review-dialog"
  xdotool type --delay 30 "Петров А. В..txt"; xdotool key Return; sleep 2
  shot "review-question-1"
  click $((rx + 326 + 110)) $((ry + 536 - 33 + 4 + 12)) 1.5        # "Следующий вопрос"
  shot "review-question-2"
  kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true
  rm -rf "$course"
}

# Qt's own windows in Russian: the engine's page for a missing textbook page, the print dialog
# (with a stand-in print server offering one printer) and the review's file dialog.
run_russian_dialogs() {
  local w=1024 h=768
  local course; course=$(mktemp -d)
  cp -r "$root/course/." "$course/"
  rm "$course/html/011.htm"                                         # "1.1. ..." leads nowhere
  exec 3>"$course/display"
  Xvfb -displayfd 3 -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  local xvfb=$!
  exec 3>&-
  for _ in $(seq 50); do [ -s "$course/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$course/display")"
  python3 "$root/scripts/lab-printer.py" >"$course/printer" &
  local printer=$!
  for _ in $(seq 50); do [ -s "$course/printer" ] && break; sleep 0.1; done
  (cd "$course" && CUPS_SERVER="127.0.0.1:$(cat "$course/printer")" exec "$bin") \
    >/tmp/screenshots-russian.log 2>&1 &
  local app=$!
  sleep 8
  click 290 427 3                                                   # the missing page
  shot "textbook-missing-page"
  click 910 68 3                                                    # "Печать..."
  shot "textbook-print-dialog"
  xdotool key Escape; sleep 0.5
  local bar=$(( $(half "$w") - 50 ))
  click $((bar + 2 + 8 + 60)) 14 2                                  # "Тестирование..."
  local mw=$((w - 100)) mh=$((h - 70))
  local mx=$(half $((w - mw))) my=$(half $((h - mh)))
  local px=$((mx + 18 + $(half $((mw - 38 - 630))) + 11)) py=$((my + 18 + $(half $((mh - 38 - 368))) + 10))
  click $((px + 407 + 100)) $((py + 320 + 12)) 2                    # "Просмотр ответов..."
  local rx=$(half $((w - 782))) ry=$(half $((h - 536)))
  click $((rx + 105 + 108)) $((ry + 536 - 33 + 4 + 12)) 2          # "Открыть файл отчета..."
  shot "review-file-dialog"
  kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true
  kill "$printer" 2>/dev/null || true; wait "$printer" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true
  rm -rf "$course"
}

# ONLY=run_control_and_review scripts/screenshots.sh runs one of the walks alone.
if [ -n "${ONLY:-}" ]; then "$ONLY"; exit 0; fi

run_at 1024 768 91
run_at 800 600 92
run_question_kinds
run_control_and_review
run_russian_dialogs
