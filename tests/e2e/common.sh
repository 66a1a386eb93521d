# What the end-to-end scripts share; each sources it right after `set -euo pipefail`.

# e2e_enter_x "$@": where the test cannot run (a missing tool from E2E_TOOLS, or no root when
# E2E_NEEDS_ROOT says why it is needed) exits 77, "skipped"; else runs the script again inside
# Xvfb (a screen of E2E_SCREEN, 1024x768 by default; extra server arguments in E2E_XVFB_ARGS) and leaves a work folder in $work that goes
# away, with every process the script started, when it ends.
e2e_enter_x() {
  if [[ -z "${VANTOREL_E2E_IN_X:-}" ]]; then
    if [[ -n "${E2E_NEEDS_ROOT:-}" && $(id -u) -ne 0 ]]; then
      echo "needs root: $E2E_NEEDS_ROOT"
      exit 77
    fi
    local tool
    for tool in xvfb-run xdotool import xprop convert openbox ${E2E_TOOLS:-}; do
      command -v "$tool" >/dev/null || { echo "missing $tool"; exit 77; }
    done
    export VANTOREL_E2E_IN_X=1
    exec xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1024x768}x24 ${E2E_XVFB_ARGS:-}" "$0" "$@"
  fi
  work=$(mktemp -d)
  trap e2e_cleanup EXIT
  start_window_manager
}

# Every user's desktop has a window manager, which places, stacks and focuses windows: the
# tests run under one (openbox, started and stopped by its PID), ready once it has claimed
# the screen. E2E_NO_WM=1 leaves it out.
wm_pid=""
start_window_manager() {
  [[ -n "${E2E_NO_WM:-}" ]] && return 0
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  echo "FAILED: the window manager did not start"
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

# A window's own area on the screen (inside any frame the manager gave it): GX, GY, GW, GH.
geometry_of() {  # geometry_of WINDOW
  local info
  info=$(xwininfo -id "$1") || return 1
  GX=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
  GY=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
  GW=$(awk '/Width:/ { print $NF }' <<<"$info")
  GH=$(awk '/Height:/ { print $NF }' <<<"$info")
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
