#!/usr/bin/env bash
# The real program closed while it works, and hammered with keys and clicks.
#   stress_e2e.sh PROGRAM NTP_PROBE VIRTUAL_WATCH
# Exits 77 (skipped) where it cannot run: no root for port 123, or no X tools.
set -euo pipefail

program=$1
probe=$2
watch=$3
E2E_NEEDS_ROOT="for port 123"
E2E_TOOLS="chronyd"
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"
source "$(dirname "$0")/program.sh"

settings='[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=127.0.0.1\nnSelTimeZoneIndex=56\n'

# 1. Closed during a calibration run: the server holds the query for its whole time-out.
"$probe" --silent 123 &
silent_pid=$!
launch "$settings"
sleep 1
check "Escape during a run (a query waiting on a silent server) ends it within 1 s" \
  quit_app 1

# 1b. The settings dialog's OK during such a run: the window turns Chinese at once, and the
# run's end, after five silences 4 s apart, keeps the choice.
launch "$settings"
sleep 1
face() {  # face FILE: the Calibrate button and the state label as they are on the screen now
  window_origin
  grab_screen "$1" "310x60+$((wx + 320))+$((wy + 40))"
  grab_screen "$1.button.png" "200x40+$((wx + 322))+$((wy + 264))"
}
face "$work/english.png"
click_in "$window" 574 15
settings_dlg=$(find_window '^Setting$')
check "the settings open during the run" test -n "$settings_dlg"
[[ -n "$settings_dlg" ]] && choose_chinese "$settings_dlg"
sleep 0.5
face "$work/chinese.png"
differs() { ! cmp -s <(convert "$1" rgb:-) <(convert "$2" rgb:-); }
check "the label turned Chinese while the run goes on" differs "$work/english.png" "$work/chinese.png"
check "and so did the Calibrate button" differs "$work/english.png.button.png" "$work/chinese.png.button.png"
check "the run is still under way (Update disabled)" not button_enabled 541 57
prompt=$(find_window '^警示$' 30)
check "the run's end asks in Chinese" test -n "$prompt"
[[ -n "$prompt" ]] && xdotool windowfocus --sync "$prompt" key Escape
sleep 0.5
check "Setting.ini still holds Chinese after the run" grep -q '^nSelLanguageIndex=1' "$app/Setting.ini"
check "Escape ends it" quit_app 2
kill "$silent_pid"
wait "$silent_pid" 2>/dev/null || true

# 2. Closed while the prompt is open (no server at all): a termination signal.
launch "$settings"
prompt=$(find_window '^Prompt$' 15)
check "the prompt is open" test -n "$prompt"
kill -TERM "$app_pid"
check "SIGTERM while the prompt is open ends it within 1 s" ends_within 1

start_chronyd
settings="[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\n"

# 3. Closed during a transmission.
launch "$settings"
check "calibrated" wait_calibrated
xdotool windowfocus --sync "$window" key Return
sleep 1.6
check "Escape during a transmission ends it within 1 s" quit_app 1

# 4. Return fifty times in a row, then Update twenty times: one transmission and one run at a
# time, every frame whole.
launch "$settings"
check "calibrated again" wait_calibrated
"$watch" --frames 10 --timeout 5 >"$work/watch.out" 2>"$work/watch.err" &
watch_pid=$!
sleep 0.5
xdotool windowfocus --sync "$window"
xdotool key --delay 80 --repeat 50 Return
status=0
wait "$watch_pid" || status=$?
frames=$(grep -c '^frame ' "$work/watch.out" || true)
echo "  fifty presses sent $frames frame(s)"
check "the frames of fifty presses all decode" not grep -q 'cannot be decoded' "$work/watch.err"
check "and there were some, fewer than the presses" test "$frames" -ge 1 -a "$frames" -le 5
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 541)) $((Y + 57)) click --delay 60 --repeat 20 1
sleep 3
check "still calibrated after twenty Updates" wait_calibrated
check "the program still answers: Escape ends it within 1 s" quit_app 1
stop_chronyd

check "no sanitizer report" not grep -qE 'AddressSanitizer|runtime error|ThreadSanitizer' "$work/app.log"
e2e_finish
