#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# What Orca says while a student goes through the program with keys: the program and Orca on an
# X display of their own (Xvfb, openbox, a session bus and the accessibility bus, as
# window-checks/screen-reader.sh sets them up), Orca's debug log written to a file, and the keys
# sent with xdotool: the start bar (Alt+Т), the registration menu and its fields, a training
# question (Tab to the tick boxes, Space, Return), its verdict, the next question and Alt+Х. Prints,
# step by step, the lines Orca spoke ("SPEECH OUTPUT" in its log; each step gets 3 s, STEP_PAUSE
# sets another). Speech itself goes nowhere (no sound card is needed). Says so when Orca had
# stopped working by the end.
#
# Run by hand, not by ./test.sh (this file is not executable); needs Orca, speech-dispatcher and a
# Russian locale (ru_RU.UTF-8) on the machine, none of which the other checks need:
#   bash scripts/orca-speech.sh BINARY [FOLDER]
# FOLDER (made if missing) keeps Orca's whole log (orca-debug.out), the steps' times and the
# program's output; without it they are removed at the end. The program is started as on a
# student's desktop, without QT_LINUX_ACCESSIBILITY_ALWAYS_ON (ORCA_ALWAYS_ON=1 sets it).
# ORCA_CUSTOMIZATIONS=FILE hands Orca FILE as its orca-customizations.py, for trying out how Orca
# would behave otherwise.
set -euo pipefail
bin=$(realpath "${1:?usage: orca-speech.sh BINARY [FOLDER]}")
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ORCA_SPEECH_SESSION:-}" ]; then
  # A session bus of its own, ended with the run.
  ORCA_SPEECH_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
root=$(cd "$here/.." && pwd)
work=$(mktemp -d)
keep=${2:-}
[ -n "$keep" ] && mkdir -p "$keep" && keep=$(realpath "$keep")
xvfb='' app='' wm='' bus='' orca=''
source "$here/window-checks/common.bash"
finish() {
  local code=$?
  set +e
  stop_process "$orca"
  # The speech-dispatcher Orca started (its socket lies in this run's folder).
  for pid in $(pgrep -f -- "--socket-path $work/" || true); do kill "$pid" 2>/dev/null; done
  [ -n "$keep" ] && cp "$work"/*.out "$work"/*.log "$work/steps" "$keep/" 2>/dev/null
  stop_all_and_clean
  exit "$code"
}
trap finish EXIT
fail() {
  echo "orca-speech: $*" >&2
  [ -s "$work/program.log" ] && tail -n 15 "$work/program.log" >&2
  exit 1
}
# The topmost viewable window whose title matches the grep -E pattern.
titled() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^=]*= "\(.*\)"$/\1/p' |
      grep -Eq "$1" && echo "$id"
  done | tail -n 1
}
shown() { [ -n "$(titled "$1")" ]; }
# Presses KEY until a window titled PATTERN is on view (a press the program was not ready for is
# repeated).
press_until() { # KEY PATTERN WHAT
  local i
  for ((i = 0; i < 20; i++)); do
    xdotool key "$1"
    eventually 2 shown "$2" && return 0
  done
  fail "$3 did not come"
}
# Starts the step NAME: what Orca says from now on belongs to it. Orca is given time to speak
# what the last step brought.
step() { sleep "${STEP_PAUSE:-3}"; echo "$(date +%H:%M:%S.%6N) $1" >>"$work/steps"; }

start_xvfb 1024 768 "$work"
setxkbmap ru
program_environment "$work"
start_openbox "$work"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
bus=$!
eventually 10 sh -c 'xprop -root AT_SPI_BUS 2>/dev/null | grep -q unix' ||
  fail "the accessibility bus did not start"

# Speech through speech-dispatcher and espeak-ng into ALSA's null device: without a sound card
# the usual output made Orca hang on its first long utterance.
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
sed 's/^# *AudioOutputMethod .*/AudioOutputMethod "alsa"/' /etc/speech-dispatcher/speechd.conf \
  >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
# Orca in Russian with settings of its own (its defaults: the desktop layout), started before the
# program as on a student's desktop.
mkdir -p "$work/orca-settings"
[ -n "${ORCA_CUSTOMIZATIONS:-}" ] && cp "$ORCA_CUSTOMIZATIONS" "$work/orca-settings/orca-customizations.py"
LANG=ru_RU.UTF-8 LANGUAGE=ru orca -u "$work/orca-settings" --debug --debug-file="$work/orca-debug.out" \
  >"$work/orca.log" 2>&1 &
orca=$!
sleep 8
kill -0 "$orca" 2>/dev/null || fail "Orca ended: $(tail -n 3 "$work/orca.log")"

cp -r "$root/course" "$work/course"
step "запуск программы, учебник"
if [ "${ORCA_ALWAYS_ON:-0}" = 1 ]; then
  (cd "$work/course" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$bin") >"$work/program.log" 2>&1 &
else
  (cd "$work/course" && exec "$bin") >"$work/program.log" 2>&1 &
fi
app=$!
eventually 60 shown '^Учебник' || fail "the textbook did not come"
sleep 5

step "Alt+Т: меню регистрации"
press_until alt+Cyrillic_te '^Регистрация' "the menu"
step "Enter на панели «Вход для тестирования ...»"
xdotool key Return
step "набор фамилии"
xdotool type --delay 120 "Петров"
step "Tab: поле группы"
xdotool key Tab
step "набор группы"
xdotool type --delay 120 "ФК-21"
step "Tab: поле специализации"
xdotool key Tab
step "набор специализации"
xdotool type --delay 120 "Плавание"
step "Tab: список квалификации"
xdotool key Tab
step "стрелка вниз в списке квалификации"
xdotool key Down
step "Shift+Tab: назад в поле специализации"
xdotool key shift+Tab
step "Tab: снова список квалификации"
xdotool key Tab
step "Alt+Р: экран тренировки («Внимание!»)"
press_until alt+Cyrillic_er '^(Внимание!|Вопрос)' "the training screen"
step "Enter: вопрос 1"
press_until Return '^Вопрос' "training question 1"
step "Tab: первый флажок"
xdotool key Tab
step "Tab: второй флажок"
xdotool key Tab
step "Shift+Tab: снова первый флажок"
xdotool key shift+Tab
step "Пробел: флажок поставлен"
xdotool key space
step "Enter: ответ, вердикт"
xdotool key Return
step "Tab после вердикта"
xdotool key Tab
step "Enter: следующий вопрос"
xdotool key Return
step "Alt+Х: выход из программы"
xdotool key alt+Cyrillic_ha
step "конец"

# Orca writes its log as it goes and the rest when it ends; one that does not end in a quarter of
# a minute (Orca 43 can hang on its way out) is killed, losing the last few lines of its log.
kill "$orca" 2>/dev/null || true
for ((i = 0; i < 150; i++)); do kill -0 "$orca" 2>/dev/null || break; sleep 0.1; done
if kill -9 "$orca" 2>/dev/null; then
  echo "orca-speech: Orca did not end when told to and was killed: it had stopped working" >&2
fi
wait "$orca" 2>/dev/null || true
orca=''
[ -s "$work/orca-debug.out" ] || fail "Orca wrote no log"
python3 - "$work/steps" "$work/orca-debug.out" <<'PY'
import re
import sys

steps = [line.rstrip("\n").split(" ", 1) for line in open(sys.argv[1], encoding="utf-8")]
spoken = []
for line in open(sys.argv[2], encoding="utf-8", errors="replace"):
    m = re.match(r"(\d\d:\d\d:\d\d\.\d{6}) - SPEECH OUTPUT: (.*)", line)
    if m:
        # The voice's settings that follow the text are left out.
        spoken.append((m.group(1), re.sub(r"\s*ACSS:.*$| voice=\w+.*$", "", m.group(2))))
for i, (start, name) in enumerate(steps):
    end = steps[i + 1][0] if i + 1 < len(steps) else "99"
    print("== " + name)
    for when, text in spoken:
        if start <= when < end:
            print("   " + text)
PY
