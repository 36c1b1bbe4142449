# Helpers shared by the real-window checks and scripts/screenshots.sh; sourced, not run (./test.sh
# runs only the executable *.sh files of this folder).

# Half of a non-negative number, a tie going to the even neighbour (as the screens centre).
half() { local v=$1 q=$(($1 / 2)); if (( v % 2 != 0 && q % 2 != 0 )); then q=$((q + 1)); fi; echo $q; }

# Runs COMMAND... every tenth of a second until it succeeds, for up to SECONDS; fails when it never
# did. A loaded machine may take seconds where an idle one takes a frame.
eventually() {
  local seconds=$1 i
  shift
  for ((i = 0; i < seconds * 10; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# Waits (up to 30 s) until a window titled exactly this (as window managers show it, _NET_WM_NAME)
# is viewable and prints its id.
window() {
  local id
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --name "^$1" 2>/dev/null); do
      [ "$(xprop -id "$id" _NET_WM_NAME | sed -n 's/^[^=]*= "\(.*\)"$/\1/p')" = "$1" ] && {
        echo "$id"
        return 0
      }
    done
    sleep 0.1
  done
  return 1
}

# For a check's failure, on standard error: the titles of the windows on view, which tell what
# stood in front, and the last lines of the program's output in LOG.
say_windows_and_last_words() { # LOG
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "  on view: $(xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^=]*= //p')" >&2
  done
  if [ -s "$1" ]; then
    echo "the program's last words:" >&2
    tail -n 15 "$1" >&2
  fi
}

# Left, top (on the display), width and height of a window's client area.
geometry() {
  xwininfo -id "$1" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | paste -sd' '
}

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Starts an Xvfb of WIDTH x HEIGHT on display :$WINDOW_CHECK_DISPLAY, or else on a free display
# it picks itself (its number is written to FOLDER/display), and waits until it answers. Sets
# `xvfb` (its process, for the check's clean-up) and exports DISPLAY; calls the check's `fail`
# when no display answers. A loaded machine can take many seconds to start the server, and many
# checks start servers at once: a server that ends or does not answer within a minute is replaced
# by a new one, twice at most. The server does not reset when its last client leaves (-noreset):
# a reset between the check's first short-lived clients made a window manager started in it fail
# to open the display.
start_xvfb() {
  local width=$1 height=$2 folder=$3 attempt until
  for attempt in 1 2 3; do
    local fixed=${WINDOW_CHECK_DISPLAY:-}
    # The server picks the lowest display without a lock file; a display whose socket a server
    # still holds without one (left by a server that was killed) makes it give up. A new attempt
    # takes a display of its own far from the usual ones.
    [ -z "$fixed" ] && [ "$attempt" -gt 1 ] && fixed=$((200 + RANDOM % 600))
    if [ -n "$fixed" ]; then
      Xvfb ":$fixed" -screen 0 "${width}x${height}x24" -nolisten tcp -noreset >"$folder/xvfb.log" 2>&1 &
      xvfb=$!
      export DISPLAY=":$fixed"
    else
      Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset 3>"$folder/display" \
        >"$folder/xvfb.log" 2>&1 &
      xvfb=$!
      until=$((SECONDS + 60))
      while [ ! -s "$folder/display" ] && kill -0 "$xvfb" 2>/dev/null && [ "$SECONDS" -lt "$until" ]; do
        sleep 0.1
      done
      DISPLAY=":$(head -n 1 "$folder/display" 2>/dev/null)"
      export DISPLAY
    fi
    until=$((SECONDS + 60))
    until xdpyinfo >/dev/null 2>&1 || ! kill -0 "$xvfb" 2>/dev/null || [ "$SECONDS" -ge "$until" ]; do
      sleep 0.1
    done
    # Answered by this check's own server, which is still running.
    if kill -0 "$xvfb" 2>/dev/null && xdpyinfo >/dev/null 2>&1; then
      return 0
    fi
    echo "no X server answered at $DISPLAY (attempt $attempt): $(tail -n 2 "$folder/xvfb.log" 2>/dev/null | tr '\n' ' ')" >&2
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  done
  fail "no X display"
}

# Starts the window manager MODE (openbox or xfwm4; anything else starts none) with its output in
# LOG, sets `wm` to its process (empty without one) and waits (half a minute at most) until it
# manages the display. One that ended at once for want of the display (a busy server may refuse
# a connection now and then) is started again, twice at most. When it ended for another reason
# (xfwm4 needs its settings service, which a bare X server may lack), `wm` is left empty and the
# reason said.
start_window_manager() {
  local attempt until
  for attempt in 1 2 3; do
    wm=''
    case "$1" in
      openbox) openbox --sm-disable >"$2" 2>&1 & wm=$! ;;
      xfwm4) xfwm4 --compositor=off --sm-client-disable >"$2" 2>&1 & wm=$! ;;
      *) return 0 ;;
    esac
    until=$((SECONDS + 30))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
      ! kill -0 "$wm" 2>/dev/null || [ "$SECONDS" -ge "$until" ]; do
      sleep 0.1
    done
    if kill -0 "$wm" 2>/dev/null; then
      sleep 0.5
      return 0
    fi
    grep -qi 'open the display\|cannot open display' "$2" || break
    echo "$1 could not open $DISPLAY (attempt $attempt)" >&2
    sleep 1
  done
  echo "$1 did not start: $(tail -n 2 "$2" | tr '\n' ' ')" >&2
  wm=''
}

# The viewable windows directly below the root, as the window system stacks them.
mapped() {
  xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p' | while read -r id; do
    if viewable "$id"; then echo "$id"; fi
  done | sort
}
more_mapped_than() { [ "$(mapped | wc -l)" -gt "$1" ]; }

mapped_count_is() { [ "$(mapped | wc -l)" -eq "$1" ]; }

# The colour of one pixel of the display, "#RRGGBB".
screen_colour() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*\(#[0-9A-F]\{6\}\).*/\1/p'; }
screen_colour_is() { [ "$(screen_colour "$1" "$2")" = "$3" ]; }
screen_colour_is_not() { local c; c=$(screen_colour "$1" "$2") && [ -n "$c" ] && [ "$c" != "$3" ]; }
# The window that has the keyboard is titled exactly this.
focus_titled() {
  local id
  id=$(xdotool getwindowfocus 2>/dev/null) || return 1
  [ "$(xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^=]*= "\(.*\)"$/\1/p')" = "$1" ]
}
pointer_at() { [ "$(xdotool getmouselocation | sed -n 's/^x:\([0-9]*\) y:\([0-9]*\) .*/\1 \2/p')" = "$1 $2" ]; }
# A click into a field that has taken effect. A window manager may hold the pointer, and so a
# click, until it has looked at the click, while the keys typed next go on to the field that had
# the keyboard; a move of the pointer after the click shows once the click has been let through.
click_field() {
  xdotool mousemove "$1" "$2" click 1 mousemove $(($1 + 1)) "$2"
  eventually 30 pointer_at $(($1 + 1)) "$2" || fail "a click at $1, $2 was not let through"
  sleep 0.2
}

# Registers "Петров А. В.", "ФК-21", "Плавание" and the fourth qualification on the menu whose
# panel stands at PX, PY (the check's `click X Y BUTTON PAUSE` and `fail` do the work). A loaded
# machine may take seconds for any step, so each waits for the state the last one leads to: the
# menu with the keyboard, the entry panel gone, each click into a field let through, the
# qualification list open and closed again (while open it holds the pointer, and a click would
# only close it).
register_candidate() {
  local px=$1 py=$2 shown
  eventually 30 focus_titled 'Регистрация и выбор режима тестирования' ||
    fail "the menu did not get the keyboard"
  # Where the name field lies, the entry panel's face shows until the panel is clicked.
  eventually 30 screen_colour_is $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12)) '#4DCFFB' ||
    fail "the menu's entry panel is not on view"
  click $((px + 4 + 302)) $((py + 229 + 44)) 1 0.3                # entry panel
  eventually 30 screen_colour_is_not $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12)) '#4DCFFB' ||
    fail "the entry panel did not uncover the registration fields"
  click_field $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12))      # Edit1
  xdotool type --delay 60 "Петров А. В."
  click_field $((px + 4 + 473 + 60)) $((py + 229 + 8 + 12))       # Edit5
  xdotool type --delay 60 "ФК-21"
  click_field $((px + 4 + 128 + 80)) $((py + 229 + 48 + 9))       # ComboBox1
  xdotool type --delay 60 "Плавание"
  shown=$(mapped | wc -l)
  click $((px + 4 + 431 + 78)) $((py + 229 + 45 + 10)) 1 0        # ComboBox2 drops down
  eventually 30 more_mapped_than "$shown" || fail "the qualification list did not drop down"
  xdotool key Down Down Down Return
  eventually 30 mapped_count_is "$shown" || fail "the qualification list did not close"
}

# Writes a question file (Windows-1251, CR LF) of two questions alike, each with two options worth
# 50 points.
two_question_file() {
  python3 - "$1" <<'EOF'
import sys
lines = ["Проверочный тест", ".", ".", "2", "."]
for _ in range(2):
    lines += ["000000       1.Сколько будет два плюс два?", ".", "примечание", ".", "#012.htm", ".",
              "- четыре", ",50", "- четыре", ".50"]
open(sys.argv[1], "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1251"))
EOF
}
# The menu's places on a display of WIDTH x HEIGHT as the screens compute them (see
# scripts/screenshots.sh): sets mx, my (the menu), px, py (its panel) and bar (the start bar).
menu_places() {
  local w=$1 h=$2 mw mh
  mw=$((w - 100)) mh=$((h - 70))
  mx=$(half $((w - mw))) my=$(half $((h - mh)))
  px=$((mx + 18 + $(half $((mw - 38 - 630))) + 11)) py=$((my + 18 + $(half $((mh - 38 - 368))) + 10))
  bar=$(( $(half "$w") - 50 ))
}

# Opens the menu from the start bar and registers NAME (group FK-21, "Atletika", the fourth
# qualification), with the check's own `click X Y [SECONDS]` after menu_places. Latin letters
# only: xdotool types letters outside the keyboard map by remapping a key, which loses letters on
# a loaded machine.
open_menu_and_register() { # name
  click $((bar + 2 + 8 + 60)) 14 2                                 # "Тестирование..."
  click $((px + 4 + 302)) $((py + 229 + 44)) 1                     # entry panel
  click $((px + 4 + 104 + 150)) $((py + 229 + 8 + 12)) 0.3         # Edit1
  xdotool type --delay 60 "$1"
  click $((px + 4 + 473 + 60)) $((py + 229 + 8 + 12)) 0.3          # Edit5
  xdotool type --delay 60 "FK-21"
  click $((px + 4 + 128 + 80)) $((py + 229 + 48 + 9)) 0.3          # ComboBox1
  xdotool type --delay 60 "Atletika"
  click $((px + 4 + 431 + 78)) $((py + 229 + 45 + 10)) 1            # ComboBox2
  xdotool key Down Down Down Return; sleep 0.5
}
# "Контроль..." in the menu.
press_control() { click $((px + 209 + 96)) $((py + 320 + 12)) 3; }
# --- Shared by the checks that run the program under openbox and drive it with keys. ---

# Ends a process of the check (a program, a window manager, an X server) if it still runs.
stop_process() {
  if [ -n "$1" ]; then kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; fi
}
# The clean-up on exit: ends `app`, `wm` and `xvfb`, removes `work`, keeps the exit code.
stop_all_and_clean() {
  local code=$?
  set +e
  stop_process "$app"; stop_process "${bus:-}"; stop_process "$wm"; stop_process "$xvfb"
  rm -rf "$work"
  exit "$code"
}
# The program's surroundings in FOLDER: the web engine without its sandbox and GPU, a home and
# settings of its own.
program_environment() {
  export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
  export XDG_CONFIG_HOME="$1/config" HOME="$1/home"
  mkdir -p "$XDG_CONFIG_HOME" "$HOME"
}
# Starts openbox (its process in `wm`, its words in FOLDER/wm.log) and waits until it manages.
start_openbox() {
  start_window_manager openbox "$1/wm.log"
  [ -n "$wm" ] && xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    fail "openbox did not start: $(tail -n 2 "$1/wm.log" 2>/dev/null | tr '\n' ' ')"
}
# On the menu just opened by keys (the entry panel has the focus): opens the fields and fills
# them with Tab between them, the qualification "МС" chosen with the arrows. Needs `setxkbmap ru`.
register_by_keys() {
  local menu
  menu=$(xdotool search --onlyvisible --name '^Регистрация' 2>/dev/null | head -n 1)
  eventually 10 sh -c "[ \"\$(xdotool getwindowfocus 2>/dev/null)\" = '$menu' ]" ||
    fail "the menu did not get the keyboard"
  xdotool key Return; sleep 0.5
  xdotool type --delay 60 "Петров А. В."
  xdotool key Tab; xdotool type --delay 60 "ФК-21"
  xdotool key Tab; xdotool type --delay 60 "Плавание"
  xdotool key Tab Down Down Down; sleep 0.3
}
