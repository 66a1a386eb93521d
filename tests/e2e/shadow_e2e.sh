#!/usr/bin/env bash
# The main window's drop shadow on a white screen: a dark band right of and below the window
# while a compositing manager runs, none without one, as one starts and stops.
#   shadow_e2e.sh PROGRAM SCREENSHOT_FOLDER
set -euo pipefail

program=$1
shots=${2:-}
E2E_TOOLS="picom xprop"
E2E_XVFB_ARGS="-wr"
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"

pixel_red() {
  local r _
  read -r r _ < <(pixel "$1" "$2")
  echo "$r"
}

band_is() {  # band_is on|off: the band right of and below the window is there, or not
  right=$(pixel_red $((X + 640 + 3)) $((Y + 300)))
  below=$(pixel_red $((X + 320)) $((Y + 600 + 3)))
  far=$(pixel_red $((X + 640 + 40)) $((Y + 300)))
  if [[ $1 == on ]]; then
    # The compositor paints its own backdrop; the band is darker than it.
    ((right < far - 30 && below < far - 30))
  else
    ((right > 250 && below > 250))
  fi
}
shot() { [[ -z "$shots" ]] || { mkdir -p "$shots" && grab_screen "$shots/shadow_$1.png" "700x660+$X+$Y"; }; }

# One run: no compositing manager at the start, one started while the program runs, then
# stopped again. The shadow follows each change.
cp "$program" "$work/vantorel"
# No server answers on 127.0.0.1:123 here: the run fails, and the window stays to be looked at.
printf '[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=127.0.0.1\n' >"$work/Setting.ini"
"$work/vantorel" 2>/dev/null &
app=$!
window=$(find_window '^QUMRA$')
check "the window opens" test -n "$window"
if [[ -n "$window" ]]; then
  sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  check "no shadow without a compositing manager" band_is off
  echo "  right $right, below $below, beyond $far"
  start_compositor || echo "FAILED: picom did not start"
  check "the shadow appears when one starts" eventually 3 band_is on
  echo "  right $right, below $below, beyond $far"
  shot on
  shadow=$(find_window '^QUMRA shadow$' 2)
  owner=$(xprop -id "$shadow" WM_TRANSIENT_FOR 2>/dev/null | awk '{ print $NF }')
  check "the shadow is transient for the window ($owner)" test "$((owner))" = "$((window))"
  stop_compositor
  check "and goes when it stops" eventually 3 band_is off
  echo "  right $right, below $below, beyond $far"
  shot off
fi
kill "$app"
wait "$app" 2>/dev/null || true
e2e_finish
