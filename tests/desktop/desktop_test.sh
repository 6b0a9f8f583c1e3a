#!/usr/bin/env bash
# The window on a real desktop: an X server, the openbox window manager and the accessibility bus
# that screen readers listen to. Run inside its own session bus (dbus-run-session).
#   desktop_test.sh PROGRAM SAMPLES_FOLDER PYTHON
# Checks that the whole window, frame and title bar included, lies on the screen and can be
# minimised; that the desktop can tell it by its class; and, through AT-SPI, that the styled
# buttons are push buttons that a screen reader can press and that moving in a grid is announced
# by that grid alone (accessibility_check.py).
set -euo pipefail
program=$1
samples=$2
python=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# A display of our own, its number chosen by the server: tests run side by side.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 300); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$scratch/display")"
# Each part is waited for, so that a loaded machine is slow, not wrong.
wait_for() {
  for _ in $(seq 300); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  fail "waited in vain for: $*"
}
wait_for xdotool getdisplaygeometry
# The window manager, once it says it manages the screen; a start that gives up is tried again.
start_window_manager() {
  for _ in 1 2 3; do
    openbox >"$scratch/openbox.log" 2>&1 &
    local wm=$!
    for _ in $(seq 100); do
      kill -0 "$wm" 2>/dev/null || break
      local check
      check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
      if [ -n "$check" ] && xprop -id "$check" _NET_WM_NAME 2>/dev/null | grep -q Openbox; then
        pids+=("$wm")
        return 0
      fi
      sleep 0.1
    done
    kill "$wm" 2>/dev/null || true
  done
  fail "the window manager did not start: $(cat "$scratch/openbox.log")"
}
start_window_manager

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 1

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
HOME="$scratch" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 "$program" "$samples" >"$scratch/app.log" 2>&1 &
pids+=($!)
window=$(xdotool search --sync --name 'Анализатор ЛОРВИ\. Версия' | head -1)
[ -n "$window" ] || fail "the window did not appear"

# The whole window on the screen, its title bar included: the window manager frames it after it
# is shown and the program fits it again, so wait for that, a while at most.
fits() {
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS)
  [[ "$extents" == *=* ]] || return 1
  read -r left right top bottom < <(echo "$extents" | sed 's/.*= //; s/,//g')
  geometry=$(xwininfo -id "$window")
  x=$(echo "$geometry" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(echo "$geometry" | sed -n 's/.*Absolute upper-left Y: *//p')
  width=$(echo "$geometry" | sed -n 's/.*Width: *//p')
  height=$(echo "$geometry" | sed -n 's/.*Height: *//p')
  [ "$top" -gt 0 ] && [ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] &&
    [ $((x + width + right)) -le 1366 ] && [ $((y + height + bottom)) -le 768 ]
}
# The frame may change once more after the first fit (a handle added below it): the fit has to
# hold for a second.
held=0
for _ in $(seq 100); do
  if fits; then held=$((held + 1)); else held=0; fi
  [ "$held" -ge 5 ] && break
  sleep 0.2
done
fits || fail "the frame is not on the screen: ${extents:-no frame}, client ${width:-?}x${height:-?}+${x:-?}+${y:-?}; the window manager said: $(cat "$scratch/openbox.log")"

# The desktop tells the window by its class, plain ASCII, as the desktop entry names it.
xprop -id "$window" WM_CLASS | grep -qx 'WM_CLASS(STRING) = "lorvi-analyser", "lorvi-analyser"' ||
  fail "window class: $(xprop -id "$window" WM_CLASS)"

# Minimised and back.
xdotool windowminimize "$window"
sleep 0.5
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN || fail "not minimised"
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 0.5

"$python" "$here/accessibility_check.py" || fail "accessibility"
echo "the window on the desktop: as it must be"
