# A Wayland desktop for the end-to-end scripts: sway run headless (no input devices, drawn
# with pixman) as an unprivileged user with a runtime folder of its own (sway refuses root),
# started by its PID and stopped with the script's other jobs. Window places come from
# swaymsg, captures from grim, clicks and keys from our own virtual pointer and keyboard
# (wl_input). Needs $work; sourced after common.sh.

readonly SW=1366 SH=768
runtime="$work/runtime"
display=""

as_user() {  # as_user COMMAND...: as the desktop's user, in its session
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH=/usr/bin:/bin TZ="${TZ:-UTC}" XDG_RUNTIME_DIR="$runtime" \
    WAYLAND_DISPLAY="$display" SWAYSOCK="$runtime/sway.sock" "$@"
}

start_sway() {  # ready once it answers; a check says whether it started
  chmod 755 "$work"
  mkdir -m 700 "$runtime"
  chown nobody: "$runtime"
  cat >"$work/sway.conf" <<CONF
output HEADLESS-1 mode ${SW}x$SH
default_border none
xwayland enable
CONF
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman SWAYSOCK="$runtime/sway.sock" \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
  check "sway starts headless" eventually 10 sway_listens
}
sway_listens() {
  display=$(find "$runtime" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | head -n 1)
  [[ -n "$display" ]] && as_user swaymsg -t get_version >/dev/null 2>&1
}

# The program ($program) in a folder of its own that the desktop's user owns, with that
# Setting.ini, started in the desktop's session with that environment; its PID in $app_pid.
start_as_user() {  # start_as_user FOLDER SETTINGS [NAME=VALUE...]
  app=$1
  mkdir "$app"
  cp "$program" "$app/vantorel"
  printf '%b' "$2" >"$app/Setting.ini"
  chown -R nobody: "$app"
  shift 2
  as_user env "$@" "$app/vantorel" >>"$work/app.log" 2>&1 &
  app_pid=$!
}

# A window of the program as sway has it: "x y width height", or nothing.
place_of() {  # place_of TITLE
  as_user swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(n):
    if n.get("name") == sys.argv[1] and n.get("type") in ("con", "floating_con"):
        r = n["rect"]
        print(r["x"], r["y"], r["width"], r["height"])
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))' "$1" | head -n 1
}
shown() { [[ -n "$(place_of "$1")" ]]; }
gone() { [[ -z "$(place_of "$1")" ]]; }

# One pointer and keyboard for the whole run, as a person has: steps go to it a line at a
# time, and each line is answered once done.
start_input() {  # start_input WL_INPUT
  cp "$1" "$work/wl_input"
  mkfifo -m 666 "$work/steps" "$work/answers"
  as_user "$work/wl_input" --size "${SW}x$SH" - <"$work/steps" >"$work/answers" \
    2>>"$work/input.log" &
  exec 7>"$work/steps" 8<"$work/answers"
}
input() {
  echo "$*" >&7
  local answer
  read -r -t 20 answer <&8 && [[ $answer == done ]]
}
click_at() { input move "$1" "$2" sleep 150 click; sleep 0.5; }

# The colour of one pixel of the output as "R G B".
screen_pixel() {
  as_user grim -g "$1,$2 1x1" - | convert png:- -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:-
}
grab_output() {  # grab_output FILE [X Y W H]: the output as shown, or a part of it
  if [[ -n "${2:-}" ]]; then
    as_user grim -g "$2,$3 ${4}x$5" - >"$1"
  else
    as_user grim - >"$1"
  fi
}
