#!/usr/bin/env bash
# The first start and the settings dialog, in a real X server. The program runs in a network
# namespace of its own with no network at all, so its calibration run asks nobody.
#   dialogs_e2e.sh PROGRAM SCREENSHOT_FOLDER
set -euo pipefail

program=$1
shots=${2:-}
E2E_NEEDS_ROOT="for a network namespace"
E2E_TOOLS="unshare"
source "$(dirname "$0")/common.sh"
if [[ -z "${VANTOREL_E2E_IN_X:-}" ]] && ! unshare --net true 2>/dev/null; then
  echo "no network namespaces here"
  exit 77
fi
e2e_enter_x "$@"
app_pid=""

start() {
  app="$work/app$1"
  mkdir -p "$app"
  cp "$program" "$app/vantorel"
  unshare --net "$app/vantorel" 2>>"$work/app.log" &
  app_pid=$!
}
stop() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

# 1. No settings: the welcome dialog; Escape writes nothing and the main window opens.
start 1
welcome=$(find_window '^Welcome Screen$')
check "first start opens the welcome dialog" test -n "$welcome"
[[ -n "$welcome" ]] && xdotool windowfocus --sync "$welcome" key Escape
main=$(find_window '^QUMRA$')
check "after Escape the main window opens" test -n "$main"
prompt=$(find_window '^Prompt$' 15)
check "and Escape wrote no settings file" test ! -e "$app/Setting.ini"
stop

# 2. OK writes the whole section; the Setting button's dialog turns the window Chinese.
start 2
welcome=$(find_window '^Welcome Screen$')
[[ -n "$welcome" ]] && click_in "$welcome" 281 240
main=$(find_window '^QUMRA$')
check "after OK the main window opens" test -n "$main"
for key in bWelcomeScreen bDST bDefualtServers nSelLanguageIndex nSelTimeZoneIndex nSelNTPServerIndex; do
  check "OK wrote $key" grep -q "^$key=" "$app/Setting.ini"
done
prompt=$(find_window '^Prompt$' 15)
[[ -n "$prompt" ]] && xdotool windowfocus --sync "$prompt" key Escape
sleep 0.5
click_in "$main" 574 15
settings=$(find_window '^Setting$')
check "the Setting button opens the settings dialog" test -n "$settings"
[[ -n "$settings" ]] && choose_chinese "$settings"
sleep 1
check "OK stored Chinese" grep -q '^nSelLanguageIndex=1' "$app/Setting.ini"
if [[ -n "$shots" && -n "$main" ]]; then
  mkdir -p "$shots"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  grab_screen "$shots/main_after_settings_zh.png" "640x600+$X+$Y"
fi
stop

e2e_finish
