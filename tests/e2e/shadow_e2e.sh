#!/usr/bin/env bash
# The main window's drop shadow on a white screen: a dark band right of and below the window
# where a compositing manager runs, none without one.
#   shadow_e2e.sh PROGRAM SCREENSHOT_FOLDER
set -euo pipefail

program=$1
shots=${2:-}
E2E_TOOLS="picom"
E2E_XVFB_ARGS="-wr"
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"

pixel_red() {
  local r _
  read -r r _ < <(pixel "$1" "$2")
  echo "$r"
}

for compositor in on off; do
  if [[ $compositor == on ]]; then
    start_compositor || { echo "FAILED: picom did not start"; failures=$((failures + 1)); }
  fi
  mkdir -p "$work/$compositor"
  cp "$program" "$work/$compositor/vantorel"
  # No server answers on 127.0.0.1:123 here: the run fails, and the window stays to be looked at.
  printf '[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=127.0.0.1\n' >"$work/$compositor/Setting.ini"
  "$work/$compositor/vantorel" 2>/dev/null &
  app=$!
  window=$(find_window '^QUMRA$')
  [[ -n "$window" ]] || { echo "FAILED: no window ($compositor)"; failures=$((failures + 1)); continue; }
  sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  right=$(pixel_red $((X + 640 + 3)) $((Y + 300)))
  below=$(pixel_red $((X + 320)) $((Y + 600 + 3)))
  far=$(pixel_red $((X + 640 + 40)) $((Y + 300)))
  if [[ -n "$shots" ]]; then
    mkdir -p "$shots"
    grab_screen "$shots/shadow_$compositor.png" "700x660+$X+$Y"
  fi
  if [[ $compositor == on ]]; then
    # The compositor paints its own backdrop; the band is darker than it.
    ok=$((right < far - 30 && below < far - 30))
  else
    ok=$((right > 250 && below > 250))
  fi
  if ((ok)); then
    echo "ok: compositor $compositor: right $right, below $below, beyond $far"
  else
    echo "FAILED: compositor $compositor: right $right, below $below, beyond $far"
    failures=$((failures + 1))
  fi
  kill "$app"
  wait "$app" 2>/dev/null || true
  stop_compositor
done
e2e_finish
