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
kill "$silent_pid"
wait "$silent_pid" 2>/dev/null || true

# 2. Closed while the prompt is open (no server at all): a termination signal.
launch "$settings"
prompt=$(find_window '^Prompt$' 15)
check "the prompt is open" test -n "$prompt"
kill -TERM "$app_pid"
check "SIGTERM while the prompt is open ends it within 1 s" ends_within 1

start_chronyd

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
