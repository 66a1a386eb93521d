#!/usr/bin/env bash
# A long run of the real program: Update, Calibrate and the settings dialog driven in a loop.
# Resident memory after the warm-up may grow at most 5 %; threads and open files stay flat.
#   soak_e2e.sh PROGRAM NTP_PROBE [MINUTES (10)] [REPORT_FILE]
# Not part of the test command (it takes minutes): scripts/soak.sh runs it.
set -euo pipefail

program=$1
probe=$2
minutes=${3:-10}
report=${4:-}
E2E_NEEDS_ROOT="for port 123"
E2E_TOOLS="chronyd"
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"
source "$(dirname "$0")/program.sh"

start_chronyd
launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\n"
check "calibrated" wait_calibrated

sample() {  # seconds, resident kB, threads, open files
  echo "$1 $(awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status") \
$(awk '/^Threads/ { print $2 }' "/proc/$app_pid/status") $(ls "/proc/$app_pid/fd" | wc -l)"
}

start=$(date +%s)
warmup=60
rounds=0
dialogs=0
: >"$work/samples"
while (($(date +%s) - start < minutes * 60)) && kill -0 "$app_pid" 2>/dev/null; do
  click_in "$window" 560 57                                  # Update: a calibration run
  sleep 2
  xdotool windowfocus --sync "$window" key Return            # Calibrate: a transmission
  sleep 4.5
  click_in "$window" 574 15                                   # the settings dialog
  settings=$(find_window '^Setting$' 5)
  if [[ -n "$settings" ]]; then
    dialogs=$((dialogs + 1))
    xdotool windowfocus --sync "$settings" key Escape
  fi
  sleep 1
  rounds=$((rounds + 1))
  sample $(($(date +%s) - start)) >>"$work/samples"           # between actions: at rest
done

check "the program ran the whole time" kill -0 "$app_pid"
check "the settings dialog opened in every round" test "$dialogs" -eq "$rounds"
# After the warm-up: the first sample past it against the last.
read -r _ rss0 threads0 files0 < <(awk -v w="$warmup" '$1 >= w' "$work/samples" | head -n 1)
read -r _ rss1 threads1 files1 < <(tail -n 1 "$work/samples")
read -r rssmax threadsmax filesmax < <(awk -v w="$warmup" '$1 >= w {
  if ($2 > r) r = $2; if ($3 > t) t = $3; if ($4 > f) f = $4 } END { print r, t, f }' "$work/samples")
growth=$(awk -v a="$rss0" -v b="$rss1" 'BEGIN { printf "%.2f", 100 * (b - a) / a }')
summary="soak: $minutes min, $rounds rounds ($dialogs with the settings dialog); resident ${rss0} kB after warm-up, ${rss1} kB at the end (${growth} %), peak ${rssmax} kB; threads ${threads0} -> ${threads1} (peak ${threadsmax}); open files ${files0} -> ${files1} (peak ${filesmax})"
echo "$summary"
[[ -n "$report" ]] && { echo "$summary"; cat "$work/samples"; } >"$report"
check "resident memory grew at most 5 %" awk -v g="$growth" 'BEGIN { exit !(g <= 5) }'
check "threads flat" test "$threads1" -eq "$threads0" -a "$threadsmax" -le $((threads0 + 1))
check "open files flat" test "$files1" -eq "$files0" -a "$filesmax" -le $((files0 + 1))
check "the program closes" quit_app
stop_chronyd
check "no sanitizer report" not grep -qE 'AddressSanitizer|runtime error' "$work/app.log"
e2e_finish
