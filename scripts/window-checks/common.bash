# Helpers shared by the real-window checks and scripts/screenshots.sh; sourced, not run (./test.sh
# runs only the executable *.sh files of this folder).

# Half of a non-negative number, a tie going to the even neighbour (as the screens centre).
half() { local v=$1 q=$(($1 / 2)); if (( v % 2 != 0 && q % 2 != 0 )); then q=$((q + 1)); fi; echo $q; }

# Waits until a window titled exactly this (as window managers show it, _NET_WM_NAME) is viewable
# and prints its id.
window() {
  local id
  for _ in $(seq 100); do
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
