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
# by a new one, twice at most.
start_xvfb() {
  local width=$1 height=$2 folder=$3 attempt until
  for attempt in 1 2 3; do
    local fixed=${WINDOW_CHECK_DISPLAY:-}
    # The server picks the lowest display without a lock file; a display whose socket a server
    # still holds without one (left by a server that was killed) makes it give up. A new attempt
    # takes a display of its own far from the usual ones.
    [ -z "$fixed" ] && [ "$attempt" -gt 1 ] && fixed=$((200 + RANDOM % 600))
    if [ -n "$fixed" ]; then
      Xvfb ":$fixed" -screen 0 "${width}x${height}x24" -nolisten tcp >"$folder/xvfb.log" 2>&1 &
      xvfb=$!
      export DISPLAY=":$fixed"
    else
      Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$folder/display" \
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
