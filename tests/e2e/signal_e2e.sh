#!/usr/bin/env bash
# The light signal read off a real screen: the virtual watch decodes what Return and
# Alt+Return send, against a real NTP server on 127.0.0.1:123.
#   signal_e2e.sh PROGRAM NTP_PROBE VIRTUAL_WATCH
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

watch_pid=""
start_watch() {  # start_watch FRAMES: the watch on the program's window, sampling at once
  rm -f "$work/watch.ready" "$work/watch.out"
  "$watch" --frames "$1" --timeout 15 --ready-file "$work/watch.ready" \
    >"$work/watch.out" 2>"$work/watch.err" &
  watch_pid=$!
  for _ in $(seq 1 50); do
    [[ -e "$work/watch.ready" ]] && return 0
    sleep 0.1
  done
  return 1
}

frames_read() { grep -c '^frame ' "$work/watch.out" || true; }

# send KEY FLAG ZONE_SECONDS|local WHAT: one frame sent by the key, read and checked.
send() {
  local key=$1 flag=$2 zone=$3 what=$4 line
  if ! start_watch 1; then
    check "$what: the watch starts" false
    return
  fi
  xdotool windowfocus --sync "$window" key "$key"
  local status=0
  wait "$watch_pid" || status=$?
  line=$(grep '^frame 1 ' "$work/watch.out" || true)
  check "$what: the frame decodes" test "$status" = 0 -a -n "$line"
  # The watch's edges and the run's own account of its offsets: late steps all alike point at
  # the correction, a single one at the screen.
  [[ -n "$line" ]] || { cat "$work/watch.err"; grep -h 'calibrated:' "$work/app.log"; return; }
  echo "  read: $line"
  edges_late "$work/watch.out"
  grep -h 'calibrated:' "$work/app.log" | tail -1 | sed 's/^/  /'
  check "$what: the time of its step 41" test "$(cut -d' ' -f3,4 <<<"$line")" = "$(expected "$line" "$zone")"
  check "$what: flag $flag" test "$(cut -d' ' -f6 <<<"$line")" = "$flag"
}

start_chronyd
export TZ=Asia/Kolkata  # the computer's own zone, apart from every zone shown

launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\nbDST=0\n"
check "calibrated" wait_calibrated
send Return 0 $((8 * 3600)) "Return, UTC+8"
sleep 0.5
send alt+Return 1 local "Alt+Return, the computer's own time"
check "the program closes" quit_app

launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=50\nbDST=1\n"
check "calibrated at +5:45" wait_calibrated
send Return 0 $((6 * 3600 + 45 * 60)) "Return, UTC+5:45 with daylight saving"
check "the program closes" quit_app

launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=18\nbDST=1\n"
check "calibrated at -3:30" wait_calibrated
send Return 0 $((-2 * 3600 - 30 * 60)) "Return, UTC-3:30 with daylight saving"

# Ten in a row: each Return as soon as the watch has read the frame before.
if start_watch 10; then
  for n in $(seq 1 10); do
    xdotool windowfocus --sync "$window" key Return
    for _ in $(seq 1 60); do
      (($(frames_read) >= n)) && break
      kill -0 "$watch_pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  status=0
  wait "$watch_pid" || status=$?
  check "ten transmissions in a row all decode" test "$status" = 0 -a "$(frames_read)" = 10
  ((status == 0)) || cat "$work/watch.err"
  bad=0
  while read -r line; do
    [[ $(cut -d' ' -f3,4 <<<"$line") == "$(expected "$line" -9000)" ]] || bad=$((bad + 1))
  done < <(grep '^frame ' "$work/watch.out")
  check "and each holds the time of its step 41" test "$bad" = 0
  grep -h 'samples in' "$work/watch.err" || true
else
  check "the watch starts for ten frames" false
fi
check "the program closes" quit_app
stop_chronyd
e2e_finish
