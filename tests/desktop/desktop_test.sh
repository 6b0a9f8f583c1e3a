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

# A display of our own: tests run side by side.
for n in $(seq 120 220); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  display=":$n"
  break
done
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 1

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
HOME="$scratch" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 "$program" "$samples" >"$scratch/app.log" 2>&1 &
pids+=($!)
window=$(xdotool search --sync --name 'Анализатор ЛОРВИ\. Версия' | head -1)
[ -n "$window" ] || fail "the window did not appear"
sleep 2  # the window manager frames it, the program fits it again

# The whole window on the screen, its title bar included.
read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
width=$(xwininfo -id "$window" | sed -n 's/.*Width: *//p')
height=$(xwininfo -id "$window" | sed -n 's/.*Height: *//p')
[ "$top" -gt 0 ] || fail "no title bar"
[ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] || fail "frame above or left of the screen"
[ $((x + width + right)) -le 1366 ] && [ $((y + height + bottom)) -le 768 ] ||
  fail "frame beyond the screen: client ${width}x${height}+${x}+${y}, frame $left $right $top $bottom"

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
