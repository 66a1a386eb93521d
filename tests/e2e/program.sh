# The running program and its server, for the scripts that drive the main window; each sets
# $program (the executable) and $probe (ntp_probe) and sources this after common.sh.

chrony_pids=()
app_pid=""

# The program asks an address at most once every 4 s and as many at once as it needs offsets:
# a list of twelve addresses calibrates at once, as the built-in list's pools do. One chronyd
# serves each of 127.0.0.1 to 127.0.0.12; $SERVERS names them as a user's list.
SERVERS=$(seq -f '127.0.0.%g' 1 12 | paste -sd ';')
start_chronyd() {
  local n
  for n in $(seq 1 12); do
    chronyd -x -d -L 1 'port 123' "bindaddress 127.0.0.$n" 'allow 127.0.0.0/8' \
      'local stratum 10' 'cmdport 0' 'bindcmdaddress /' "pidfile $work/chronyd$n.pid" \
      >>"$work/chronyd.log" 2>&1 &
    chrony_pids+=($!)
  done
  for n in $(seq 1 12); do
    "$probe" "127.0.0.$n" 123 5
  done
}

stop_chronyd() {
  kill "${chrony_pids[@]}"
  wait "${chrony_pids[@]}" 2>/dev/null || true
  chrony_pids=()
}

launches=0
start_program() {  # start_program SETTINGS: the program in a folder of its own with that Setting.ini
  launches=$((launches + 1))
  app="$work/app$launches"
  mkdir -p "$app"
  cp "$program" "$app/vantorel"
  printf '%b' "$1" >"$app/Setting.ini"
  "$app/vantorel" 2>>"$work/app.log" &
  app_pid=$!
}
# A value of the program's Setting.ini as it is now.
value() { sed -n "s/^$1=//p" "$app/Setting.ini"; }

launch() {  # launch SETTINGS: started, and its main window on the screen
  start_program "$1"
  window=$(find_window '^QUMRA$')
  wait_managed "$window"
  wx=0
  wy=0
  window_origin
}

# Where the window's own area is on the screen now, in wx and wy. Asked again at each look:
# the window manager may frame and place the window a while after it appears.
window_origin() {
  [[ -n "${window:-}" ]] || return 0
  geometry_of "$window" 2>/dev/null || return 0
  wx=$GX
  wy=$GY
}

# ends_within SECONDS: the program's process is gone within that time, with status 0; one
# that is not is killed.
ends_within() {
  local status=0
  if ! timeout "$1" tail -s 0.02 --pid="$app_pid" -f /dev/null; then
    # Still there: where each of its threads waits, and what it said last, for the log.
    local task
    for task in /proc/"$app_pid"/task/*; do
      echo "  thread $(cat "$task/comm" 2>/dev/null) waits in $(cat "$task/wchan" 2>/dev/null)"
    done
    tail -n 15 "$work/app.log" 2>/dev/null | sed 's/^/  app: /'
    kill -9 "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    return 1
  fi
  wait "$app_pid" || status=$?
  app_pid=""
  ((status == 0))
}

quit_app() {  # quit_app [SECONDS (5)]: Escape closes the window and the process ends in time
  xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true
  ends_within "${1:-5}"
}

is_calibrated_dot() {  # the state label's dot: teal when calibrated, amber when not
  window_origin
  read -r r g b < <(pixel $((wx + 338)) $((wy + 59)))
  ((g > 150 && r < 150))
}

# The dot turns before the run hands the buttons back: a key pressed in between is a key
# for a disabled Calibrate. Calibrated is both, the dot and Update enabled again.
wait_calibrated() {
  for _ in $(seq 1 50); do
    is_calibrated_dot && button_enabled 541 57 && return 0
    sleep 0.2
  done
  return 1
}

button_enabled() {  # the face's fill left of its label: brighter when enabled
  window_origin
  read -r r g b < <(pixel $((wx + $1)) $((wy + $2)))
  ((r + g + b > 130))
}

weekday_shown() {  # any light text pixel across the weekday line
  local x
  window_origin
  for x in $(seq 440 4 520); do
    read -r r g b < <(pixel $((wx + x)) $((wy + 224)))
    ((r > 150)) && return 0
  done
  return 1
}
