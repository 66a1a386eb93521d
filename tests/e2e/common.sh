# What the end-to-end scripts share; each sources it right after `set -euo pipefail`.

# e2e_enter_x "$@": where the test cannot run (a missing tool from E2E_TOOLS, or no root when
# E2E_NEEDS_ROOT says why it is needed) exits 77, "skipped"; else starts an X server of its
# own (Xvfb with a screen of E2E_SCREEN, 1024x768 by default; extra server arguments in
# E2E_XVFB_ARGS) and runs the script again against it, as root in a network namespace of its
# own (its own 127.0.0.1, so no server or port of the machine's is in its way, and a veth pair
# so the program sees a network). The run leaves a work folder in $work that goes away, with
# every process the script started, when it ends; the X server goes last.
e2e_enter_x() {
  if [[ -z "${VANTOREL_E2E_IN_X:-}" ]]; then
    if [[ -n "${E2E_NEEDS_ROOT:-}" && $(id -u) -ne 0 ]]; then
      echo "needs root: $E2E_NEEDS_ROOT"
      exit 77
    fi
    local tool
    for tool in Xvfb xdotool import xprop convert openbox ${E2E_TOOLS:-}; do
      command -v "$tool" >/dev/null || { echo "missing $tool"; exit 77; }
    done
    start_x
    export VANTOREL_E2E_IN_X=1
    local status=0
    if [[ $(id -u) -eq 0 ]] && unshare --net true 2>/dev/null; then
      VANTOREL_E2E_OWN_NET=1 unshare --net bash "$0" "$@" || status=$?
    else
      bash "$0" "$@" || status=$?
    fi
    exit "$status"
  fi
  work=$(mktemp -d)
  trap e2e_cleanup EXIT
  [[ -n "${VANTOREL_E2E_OWN_NET:-}" ]] && own_network
  start_window_manager
}

# The namespace's loopback, and a veth pair with an address: a machine on a network, as the
# program checks before it asks any server.
own_network() {
  ip link set lo up
  ip link add e2e0 type veth peer name e2e1
  ip addr add 10.231.0.1/24 dev e2e0
  ip link set e2e0 up
  ip link set e2e1 up
}

# An X server on a display no other one holds: Xvfb picks it and names it on a descriptor
# once it listens, where a guessed display number can meet another server's. It is started
# outside the test's network namespace, where every X server of the machine is seen, and
# reached through its socket in /tmp/.X11-unix; it stops when the test's shell does.
start_x() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1024x768}x24" -nolisten tcp ${E2E_XVFB_ARGS:-} \
    3>"$display_file" >/dev/null 2>&1 &
  local pid=$!
  trap "kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -f '$display_file'" EXIT
  local display=""
  for _ in $(seq 1 200); do
    display=$(head -n 1 "$display_file" 2>/dev/null || true)
    [[ -n "$display" ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [[ -z "$display" ]]; then
    echo "FAILED: the X server did not start"
    exit 1
  fi
  export DISPLAY=":$display"
  unset XAUTHORITY
}

# Every user's desktop has a window manager, which places, stacks and focuses windows: the
# tests run under one (openbox, started and stopped by its PID), ready once it has claimed
# the screen. E2E_NO_WM=1 leaves it out.
wm_pid=""
start_window_manager() {
  [[ -n "${E2E_NO_WM:-}" ]] && return 0
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  # Within 10 s: on a loaded machine it once took longer than 5.
  for _ in $(seq 1 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  echo "FAILED: the window manager did not start"
  sed 's/^/  openbox: /' "$work/openbox.log" | tail -n 5
  failures=$((failures + 1))
}

# A compositing manager as most desktops run one (picom, drawing with XRender as Xvfb has no
# GL); it takes the screen within a second.
compositor_pid=""
start_compositor() {
  picom --backend xrender --config /dev/null >"$work/picom.log" 2>&1 &
  compositor_pid=$!
  sleep 1
  kill -0 "$compositor_pid" 2>/dev/null
}
stop_compositor() {
  [[ -n "$compositor_pid" ]] || return 0
  kill "$compositor_pid" 2>/dev/null || true
  wait "$compositor_pid" 2>/dev/null || true
  compositor_pid=""
}

e2e_cleanup() {
  local pids
  pids=$(jobs -p)
  [[ -n "$pids" ]] && kill $pids 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}

failures=0
not() { ! "$@"; }
eventually() {  # eventually SECONDS COMMAND...: the command succeeds within that time
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.2
  done
}
check() {  # check DESCRIPTION COMMAND...: one line of the verdict
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
e2e_finish() {
  echo "$failures failed"
  exit $((failures > 0))
}

# The screen as a person sees it, read from the root window: grab_screen FILE [WxH+X+Y]. Not
# `xwd -root`: on Xvfb it shows a window mapped over another one black, though the window is
# painted (`xwd -id` of it and `import` show its picture).
grab_screen() {
  if [[ -n "${2:-}" ]]; then
    import -window root -crop "$2" +repage "$1"
  else
    import -window root "$1"
  fi
}

# A digest of a part of a window as it is on the screen now.
looks() {  # looks WINDOW X Y W H
  geometry_of "$1"
  import -window root -crop "$4x$5+$((GX + $2))+$((GY + $3))" rgb:- | md5sum
}

# The colour of one screen pixel as "R G B".
pixel() {
  import -window root -crop "1x1+$1+$2" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:-
}

# The first window of that name, waiting up to SECONDS (10); empty when none came.
# Each look is one plain search: a window destroyed while xdotool walks the tree
# ends that search with BadWindow, and --sync would give up on the first one.
find_window() {
  local until=$((SECONDS + ${2:-10})) found
  while :; do
    found=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
    if [[ -n "$found" || $SECONDS -ge $until ]]; then
      printf '%s\n' "$found"
      return 0
    fi
    sleep 0.1
  done
}

# Waits until the window manager has taken the window in (framed, placed, mapped): a move
# made before that is undone by its placement, or reaches the program as a stale place.
wait_managed() {  # wait_managed WINDOW
  [[ -n "${1:-}" && -z "${E2E_NO_WM:-}" ]] || return 0
  for _ in $(seq 1 100); do
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' &&
      xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' && break
    sleep 0.05
  done
  sleep 0.3
}

# A window's own area on the screen (inside any frame the manager gave it): GX, GY, GW, GH.
geometry_of() {  # geometry_of WINDOW
  local info
  info=$(xwininfo -id "$1") || return 1
  GX=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
  GY=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
  GW=$(awk '/Width:/ { print $NF }' <<<"$info")
  GH=$(awk '/Height:/ { print $NF }' <<<"$info")
}

visible_windows() { xdotool search --onlyvisible --name '.*' 2>/dev/null | sort -u; }
# The windows that came up since the list in $1 was taken, one id a line.
new_windows() { comm -13 <(printf '%s\n' "$1") <(visible_windows); }

# The window's own menu, opened by a right click on its surface, and its entry DOWNS rows
# down chosen with Return. Keys wait for the menu to be on the screen: on a loaded machine
# it comes late, and keys or a click sent before it went to the window beneath, or the late
# menu took the next click meant for a button.
choose_from_menu() {  # choose_from_menu WINDOW DOWNS
  local before menu="" keys=()
  before=$(visible_windows)
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + 200)) $((Y + 15)) click 3
  for _ in $(seq 1 50); do
    menu=$(new_windows "$before" | head -n 1)
    [[ -n "$menu" ]] && break
    sleep 0.1
  done
  sleep 0.2
  for _ in $(seq 1 "$2"); do keys+=(Down); done
  xdotool key "${keys[@]}" Return
}

click_in() {  # click_in WINDOW X Y: a click at that point of the window
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
  sleep 0.4
}

choose_chinese() {  # choose_chinese SETTINGS_DIALOG: Chinese on the language page, then OK
  click_in "$1" $((103 * 2 + 50)) 47             # the language tab
  click_in "$1" $((140 + 100)) $((65 + 35 + 16)) # open the language list
  xdotool key Down Return
  sleep 0.4
  click_in "$1" 250 247 # OK
}

# expected FRAME_LINE ZONE_SECONDS|local: what a watch's frame line should hold, from its step
# 41's due time (a second boundary of the sender's clock).
expected() {
  local end
  end=$(awk '{printf "%.0f", $8}' <<<"$1")
  if [[ $2 == local ]]; then
    date -d "@$end" '+%Y-%m-%d %H:%M:%S'
  else
    date -u -d "@$((end + $2))" '+%Y-%m-%d %H:%M:%S'
  fi
}
edges_late() {  # edges_late WATCH_OUTPUT: how late the watch saw the steps' edges
  awk '/ late / {n++; s += $(NF-1); if ($(NF-1) > m) m = $(NF-1)}
       END {if (n) printf "  edges %d, late %.1f ms on average, %.1f ms at most\n", n, s / n, m}' "$1"
}
