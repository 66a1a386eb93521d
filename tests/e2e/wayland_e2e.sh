#!/usr/bin/env bash
# The program on a Wayland desktop under sway (sway.sh), natively (Qt's Wayland platform) and
# under sway's Xwayland, driven by our own pointer and keyboard and read off the output by
# our own watch. What the compositor decides (where a window opens) is checked as such.
#   wayland_e2e.sh PROGRAM WL_INPUT WL_WATCH [SCREENSHOT_FOLDER]
set -euo pipefail

program=$1
wl_input="$2"
wl_watch="$3"
shots=${4:-}
source "$(dirname "$0")/common.sh"
if [[ $(id -u) -ne 0 ]]; then
  echo "needs root: to run the compositor as an unprivileged user in a network namespace"
  exit 77
fi
for tool in sway swaymsg grim convert setpriv; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 77; }
done
[[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ]] ||
  { echo "missing qt6-wayland"; exit 77; }
# No network: the run at start fails at once and asks, which gives the prompt to close.
if [[ -z "${VANTOREL_E2E_OWN_NET:-}" ]] && unshare --net true 2>/dev/null; then
  VANTOREL_E2E_OWN_NET=1 exec unshare --net bash "$0" "$@"
fi

work=$(mktemp -d)
source "$(dirname "$0")/sway.sh"
cleanup() {
  # What the program said last, where a check failed.
  ((failures == 0)) || sed 's/^/  app: /' "$work/app.log" 2>/dev/null | tail -n 20
  e2e_cleanup
}
trap cleanup EXIT
export TZ=UTC

start_sway
start_input "$wl_input"
cp "$wl_watch" "$work/wl_watch"
stage() {  # stage NAME ENVIRONMENT...: the program started with that environment, checked
  local name=$1
  shift
  start_as_user "$work/app-$name" '[Vantorel]\r\nbWelcomeScreen=0\r\n' "$@"

  check "$name: the main window opens as a window of its own size, not tiled" \
    eventually 10 eval '[[ "$(place_of QUMRA)" == *" 640 600" ]]'
  read -r wx wy _ _ <<<"$(place_of QUMRA)"
  [[ -n "$wx" ]] || return 0
  check "$name: without a network the prompt asks" eventually 10 shown Prompt
  read -r px py _ _ <<<"$(place_of Prompt)"
  echo "  main window at $wx,$wy; the prompt at $px,$py (the compositor's choice)"
  click_at $((px + 329 + 40)) $((py + 224 + 16))
  check "$name: the prompt's Cancel, clicked, closes it" eventually 3 gone Prompt

  # The corners are transparent: the desktop shows there, as beside the window.
  desktop=$(screen_pixel $((wx - 5)) $((wy + 5)))
  corner=$(screen_pixel "$wx" "$wy")
  inside=$(screen_pixel $((wx + 20)) $((wy + 20)))
  check "$name: the desktop shows through the window's corner ($corner, desktop $desktop, inside $inside)" \
    eval '[[ "$corner" == "$desktop" && "$inside" != "$desktop" ]]'

  # A drag from the surface moves the window by exactly the pointer's way.
  input move $((wx + 300)) $((wy + 20)) sleep 150 drag 150 80
  sleep 0.5
  check "$name: a drag by 150, 80 from the surface moves the window by that" \
    eval '[[ "$(place_of QUMRA)" == "$((wx + 150)) $((wy + 80)) 640 600" ]]'
  read -r wx wy _ _ <<<"$(place_of QUMRA)"
  # A tap: the button is up before the window system can take the pointer for a move.
  input move $((wx + 300)) $((wy + 20)) sleep 150 down up sleep 150 move $((wx + 400)) $((wy + 100))
  sleep 0.5
  check "$name: after a tap on the surface the window stays as the pointer moves on ($(place_of QUMRA))" \
    eval '[[ "$(place_of QUMRA)" == "$wx $wy 640 600" ]]'

  # Setting opens the settings; Escape closes them. "?" opens the help; its ✕ closes it.
  # The settings' zone list face is at (118, 100), 209 x 32. A row of its list other than the
  # chosen one is white in its margin, left of its text, at x 120.
  row_at() { [[ "$(screen_pixel $((sx + 120)) $((sy + $1)))" == "255 255 255" ]]; }
  click_at $((wx + 574)) $((wy + 15))
  check "$name: Setting, clicked, opens the settings" eventually 5 shown Setting
  read -r sx sy _ _ <<<"$(place_of Setting)"
  click_at $((sx + 200)) $((sy + 116))
  check "$name: the zone list, clicked, drops below its face" eventually 3 row_at 150
  input key Escape
  sleep 0.5
  check "$name: Escape with the list open closes the list only" \
    eval 'shown Setting && ! row_at 150'
  # Near the screen's bottom the list has no room below: it opens above its face.
  as_user swaymsg '[title="^Setting$"] move position '"$sx $((SH - 140))" >/dev/null
  sleep 0.5
  read -r sx sy _ _ <<<"$(place_of Setting)"
  click_at $((sx + 200)) $((sy + 116))
  check "$name: near the bottom (settings at $sx,$sy) the list opens above its face" \
    eventually 3 eval 'row_at 60 && ! row_at 134'
  input key Escape
  sleep 0.5
  input key Escape
  check "$name: Escape closes them" eventually 3 gone Setting
  click_at $((wx + 549)) $((wy + 15))
  check "$name: ?, clicked, opens the help" eventually 5 shown Help
  if shown Help; then
    read -r hx hy _ _ <<<"$(place_of Help)"
    echo "  the help at $hx,$hy (the compositor's choice)"
    # It does not hold the main window: "?" there, where the help leaves it free, hides it.
    if ((hx + 593 <= wx + 537)); then
      click_at $((wx + 549)) $((wy + 15))
      check "$name: with the help open, ? on the main window hides it" eventually 3 gone Help
      click_at $((wx + 549)) $((wy + 15))
      eventually 5 shown Help || true
    else
      echo "  the help covers the main window's ?"
    fi
    click_at $((hx + 564)) $((hy + 20))
    check "$name: the help's close button, clicked, closes it" eventually 3 gone Help
  fi

  # The signal as the compositor shows it, read off the output picture by picture: Alt+Return
  # sends the computer's own time. The signal area's middle is at (156, 334).
  rm -f "$runtime/watch.ready"
  as_user "$work/wl_watch" --at $((wx + 156)),$((wy + 334)) --timeout 10 \
    --ready-file "$runtime/watch.ready" >"$work/watch.out" 2>"$work/watch.err" &
  local watch_pid=$!
  if eventually 5 test -e "$runtime/watch.ready"; then
    input key alt+Return
    wait "$watch_pid" || true
  fi
  local line
  line=$(grep '^frame 1 ' "$work/watch.out" || true)
  sed 's/^/  /' "$work/watch.err"
  edges_late "$work/watch.out"
  check "$name: Alt+Return's frame, read off the screen, holds the second of its step 41" \
    eval '[[ -n "$line" && "$(cut -d" " -f3,4 <<<"$line")" == "$(expected "$line" local)" ]]'
  check "$name: and the flag of the computer's own time" eval '[[ "$(cut -d" " -f6 <<<"$line")" == 1 ]]'
  sleep 1  # the signal area back to its resting face before the capture

  if [[ -n "$shots" ]]; then
    mkdir -p "$shots"
    grab_output "$shots/wayland_$name.png" || true
  fi
  check "$name: no shadow is drawn, which could not follow the window" gone "QUMRA shadow"
  click_at $((wx + 625)) $((wy + 15))
  check "$name: the window's close button, clicked, ends the program" \
    eventually 5 not kill -0 "$app_pid"
}

stage native QT_QPA_PLATFORM=wayland
# Xwayland: sway starts it for the first X client; its display as sway's own programs see it.
as_user swaymsg exec 'echo $DISPLAY >'"$runtime/display" >/dev/null
check "sway's Xwayland has a display" eventually 5 test -s "$runtime/display"
stage xwayland QT_QPA_PLATFORM=xcb DISPLAY="$(cat "$runtime/display" 2>/dev/null)"
e2e_finish
