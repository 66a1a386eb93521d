#!/usr/bin/env bash
# The real program in a real X server against real NTP servers on 127.0.0.1 to 127.0.0.12.
#   main_window_e2e.sh PROGRAM NTP_PROBE SCREENSHOT_FOLDER
# Exits 77 (skipped) where it cannot run: no root for port 123, or no X tools.
set -euo pipefail

program=$1
probe=$2
shots=${3:-}
E2E_NEEDS_ROOT="for port 123"
E2E_TOOLS="chronyd"
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"
source "$(dirname "$0")/program.sh"

screenshot() {  # screenshot NAME: the main window as it stands, into the screenshot folder
  [[ -n "$shots" ]] || return 0
  mkdir -p "$shots"
  window_origin
  grab_screen "$shots/$1.png" "640x600+$wx+$wy"
}

# 1. Calibrated against the local server; Return flashes the signal.
start_chronyd
launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\n"
check "window titled QUMRA appears" test -n "$window"
check "calibrated within 10 s" wait_calibrated
screenshot main_en
# A tap on the surface asks the window manager to move the window, and the button is up before
# it takes the pointer: the key after it is still the program's, and the window stays put.
before="$wx $wy"
xdotool mousemove $((wx + 100)) $((wy + 450)) click 1
sleep 0.3
xdotool windowfocus --sync "$window" key Return
saw_white=0
saw_black=0
disabled_meanwhile=0
for _ in $(seq 1 40); do
  read -r r g b < <(pixel $((wx + 156)) $((wy + 300)))
  ((r > 200)) && saw_white=1
  ((r < 50)) && saw_black=1
  if ((saw_white)) && ! button_enabled 330 290 && ! button_enabled 541 57; then disabled_meanwhile=1; fi
  sleep 0.1
done
check "the signal area flashed white" test "$saw_white" = 1
check "and black" test "$saw_black" = 1
check "Update and Calibrate disabled while it flashed" test "$disabled_meanwhile" = 1
sleep 1
read -r r g b < <(pixel $((wx + 156)) $((wy + 300)))
check "the signal area ends black" test "$r" -lt 50
geometry_of "$window"
check "the window stayed where it was before the tap ($GX $GY)" test "$GX $GY" = "$before"
check "Calibrate enabled again" button_enabled 330 290
check "Escape closes the program" quit_app
check "settings hold the server position" grep -q '^nSelNTPServerIndex=0' "$app/Setting.ini"
check "settings hold the zone" grep -q '^nSelTimeZoneIndex=56' "$app/Setting.ini"

launch "[Vantorel]\nbWelcomeScreen=0\nnSelLanguageIndex=1\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\n"
check "calibrated in Chinese too" wait_calibrated
screenshot main_zh
check "Escape closes the Chinese window" quit_app
stop_chronyd

# 2. No server: the prompt; OK runs the local clock, Escape leaves the placeholders.
for answer in ok escape; do
  launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\n"
  prompt=$(find_window '^Prompt$' 15)
  check "prompt appears after a failed run ($answer)" test -n "$prompt"
  if [[ -n "$prompt" ]]; then
    if [[ $answer == ok ]]; then
      eval "$(xdotool getwindowgeometry --shell "$prompt")"
      xdotool mousemove $((X + 281)) $((Y + 240)) click 1
      sleep 1.5
      check "OK: the local clock runs" weekday_shown
    else
      xdotool windowfocus --sync "$prompt" key Escape
      sleep 1.5
      check "Escape: placeholders stay" not weekday_shown
    fi
  fi
  check "Escape closes the program ($answer)" quit_app
done

e2e_finish
