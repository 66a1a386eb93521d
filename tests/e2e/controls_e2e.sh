#!/usr/bin/env bash
# Every control of every window, clicked as a person clicks it, under openbox on a 1366 x 768
# laptop screen, in both languages: one line per control, each with the effect it must have
# on the screen or in the settings file. Standard dialogs (add a server, a question, About)
# are answered as a person answers them: by their default button's Return, or Escape.
#   controls_e2e.sh PROGRAM NTP_PROBE
set -euo pipefail

program=$1
probe=$2
E2E_NEEDS_ROOT="for port 123 and a network namespace"
E2E_TOOLS="chronyd"
E2E_SCREEN=1366x768
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"
source "$(dirname "$0")/program.sh"
export TZ=UTC

readonly SW=1366 SH=768
lang_name=(en zh)
settings_title=('^Setting$' '^设置$')
prompt_title=('^Prompt$' '^警示$')
help_title='^Help$'

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }
shown() { [[ -n "$(visible "$1")" ]]; }
hidden() { [[ -z "$(visible "$1")" ]]; }
on_screen() {  # on_screen WINDOW: wholly inside the screen
  geometry_of "$1" || return 1
  ((GX >= 0 && GY >= 0 && GX + GW <= SW && GY + GH <= SH))
}
click() {  # click WINDOW X Y: one click of the left button there, as a person makes it
  geometry_of "$1"
  xdotool mousemove $((GX + $2)) $((GY + $3)) click 1
  sleep 0.5
}
moved_to() {  # moved_to WINDOW X Y: the manager put it there
  xdotool windowmove --sync "$1" "$2" "$3" 2>/dev/null || true
  sleep 0.4
}

start_chronyd

for lang in 0 1; do
  l=${lang_name[$lang]}
  launch "[Vantorel]\nbWelcomeScreen=0\nnSelLanguageIndex=$lang\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\nbDST=0\n"
  check "$l: the window opens, calibrated" wait_calibrated

  # Update: a run again, which waits out the spacing since the first (Update disabled the
  # while), and ends calibrated.
  click "$window" 583 57
  check "$l: Update starts a run (Update disabled)" not button_enabled 541 57
  check "$l: and the run ends calibrated" eventually 10 eval 'is_calibrated_dot && button_enabled 541 57'

  # The help: "?" opens it beside the window, on the screen wherever the window stands, and
  # its close button closes it while the main window is modal.
  for corner in "0 0" "$((SW - 640)) 0" "0 $((SH - 600))" "$((SW - 640)) $((SH - 600))"; do
    moved_to "$window" $corner
    click "$window" 549 15
    help=$(visible "$help_title")
    geometry_of "$window"
    main_at="$GX,$GY" mx=$GX my=$GY
    check "$l: ? with the window at $main_at opens the help wholly on the screen" \
      eval '[[ -n "$help" ]] && on_screen "$help"'
    if [[ -n "$help" ]]; then
      geometry_of "$help"
      echo "  help at $GX,$GY ${GW}x$GH"
      # Docked right where it fits, else left, at the window's height kept on the screen.
      dock_x=$((mx + 640 + GW <= SW ? mx + 640 : mx - GW))
      dock_y=$((my + GH <= SH ? my : SH - GH))
      check "$l: and docks beside it at $dock_x,$dock_y" test "$GX,$GY" = "$dock_x,$dock_y"
    fi
    click "$window" 549 15
    check "$l: ? again closes it" hidden "$help_title"
  done
  moved_to "$window" 300 80
  click "$window" 549 15
  help=$(visible "$help_title")
  [[ -n "$help" ]] && click "$help" 564 20
  check "$l: the help's close button closes it" hidden "$help_title"

  # Calibrate: the signal area flashes white.
  click "$window" 392 290
  saw_white=0
  for _ in $(seq 1 40); do
    window_origin
    read -r r g b < <(pixel $((wx + 156)) $((wy + 334)))
    ((r > 200 && g > 200 && b > 200)) && { saw_white=1; break; }
    sleep 0.1
  done
  check "$l: Calibrate flashes the signal area" test "$saw_white" = 1
  sleep 3

  # The settings: each tab, the zone list's row, DST, the server list's rows and buttons,
  # Restore defaults, OK, Cancel and the close button.
  click "$window" 574 15
  settings=$(visible "${settings_title[$lang]}")
  check "$l: Setting opens the settings on the screen" eval '[[ -n "$settings" ]] && on_screen "$settings"'
  if [[ -n "$settings" ]]; then
    page() { looks "$settings" 0 65 440 166; }
    click "$settings" 154 47
    servers_page=$(page)
    click "$settings" 257 47
    language_page=$(page)
    click "$settings" 51 47
    zone_page=$(page)
    check "$l: each tab shows its own page" \
      test "$servers_page" != "$language_page" -a "$language_page" != "$zone_page" -a "$zone_page" != "$servers_page"
    box=$(looks "$settings" 345 107 16 17)
    click "$settings" 353 115
    check "$l: DST toggles its box" test "$(looks "$settings" 345 107 16 17)" != "$box"
    click "$settings" 218 116   # the zone list drops; its second row
    geometry_of "$settings"
    xdotool mousemove $((GX + 160)) $((GY + 132 + 1 + 16 + 8)) click 1
    sleep 0.5
    click "$settings" 154 47
    click "$settings" 88 91     # the first server
    click "$settings" 275 109   # Add: a name, then OK
    add=$(visible 'NTP')
    check "$l: Add opens its dialog" test -n "$add"
    if [[ -n "$add" ]]; then
      xdotool windowfocus --sync "$add" key Return # OK with nothing typed: stays open
      sleep 0.3
      check "$l: its OK with no name keeps it open" shown 'NTP'
      xdotool windowfocus --sync "$add" type 'time.example.org'
      xdotool key Return
      sleep 0.5
      check "$l: its OK with a name closes it" hidden 'NTP'
    fi
    click "$settings" 275 109
    add=$(visible 'NTP')
    [[ -n "$add" ]] && { xdotool windowfocus --sync "$add" type 'not.this.one'; xdotool key Escape; sleep 0.4; }
    check "$l: its Cancel closes it" hidden 'NTP'
    click "$settings" 88 117    # the second server: Edit, a new name, OK
    click "$settings" 275 152
    edit=$(visible 'NTP')
    check "$l: Edit opens its dialog" test -n "$edit"
    [[ -n "$edit" ]] && { xdotool windowfocus --sync "$edit" key ctrl+a type 'edited.example.org'; xdotool key Return; sleep 0.4; }
    click "$settings" 88 91
    click "$settings" 275 197   # Delete, answered No
    confirm=$(visible '^(Confirm detele|删除确认)$')
    check "$l: Delete asks first" test -n "$confirm"
    [[ -n "$confirm" ]] && { xdotool windowfocus --sync "$confirm" key Tab Return; sleep 0.4; }
    click "$settings" 275 197   # Delete, answered Yes
    confirm=$(visible '^(Confirm detele|删除确认)$')
    [[ -n "$confirm" ]] && { xdotool windowfocus --sync "$confirm" key Return; sleep 0.4; }
    click "$settings" 250 247   # OK
    check "$l: OK closes the settings" hidden "${settings_title[$lang]}"
    check "$l: and the file holds DST" test "$(value bDST)" = 1
    check "$l: the zone picked from the list" test "$(value nSelTimeZoneIndex)" != 56
    servers=$(value strServers)
    check "$l: the added server" grep -q 'time.example.org' <<<"$servers"
    check "$l: the edited one" grep -q 'edited.example.org' <<<"$servers"
    check "$l: the first server deleted on Yes only (two of twelve gone)" \
      test "$(tr ';' '\n' <<<"$servers" | grep -c '^127\.')" = 10
    check "$l: and nothing from the cancelled Add" not grep -q 'not.this.one' <<<"$servers"

    click "$window" 574 15
    settings=$(visible "${settings_title[$lang]}")
    click "$settings" 154 47
    click "$settings" 115 246   # Restore defaults
    click "$settings" 357 247   # Cancel
    check "$l: Cancel closes the settings" hidden "${settings_title[$lang]}"
    check "$l: and keeps the file (the user's list)" test "$(value bDefualtServers)" = 0
    click "$window" 574 15
    settings=$(visible "${settings_title[$lang]}")
    click "$settings" 154 47
    click "$settings" 115 246   # Restore defaults, then OK
    click "$settings" 250 247
    check "$l: Restore defaults then OK takes the built-in list" test "$(value bDefualtServers)" = 1
    click "$window" 574 15
    settings=$(visible "${settings_title[$lang]}")
    [[ -n "$settings" ]] && click "$settings" 417 15
    check "$l: the settings' close button closes them" hidden "${settings_title[$lang]}"
  fi

  # About, from the window's menu; its OK.
  choose_from_menu "$window" 1
  about=$(find_window '^About Vantorel$' 5)
  check "$l: the menu opens About on the screen" eval '[[ -n "$about" ]] && on_screen "$about"'
  [[ -n "$about" ]] && { xdotool windowfocus --sync "$about" key Return; sleep 0.4; }
  check "$l: its OK closes it" hidden '^About Vantorel$'

  # Minimise, and back.
  click "$window" 600 15
  check "$l: minimise hides the window" eventually 3 hidden '^QUMRA$'
  xdotool windowactivate "$window" 2>/dev/null || xdotool windowmap "$window"
  check "$l: and it comes back" eventually 3 shown '^QUMRA$'

  # The close button ends the program.
  click "$window" 625 15
  check "$l: the close button ends the program" ends_within 5
done
stop_chronyd

# The prompt after a failed run (nothing answers here): OK, Cancel and its close button.
for answer in ok cancel close; do
  launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=127.0.0.1\nnSelTimeZoneIndex=56\n"
  prompt=$(find_window "${prompt_title[0]}" 15)
  check "prompt: it opens on the screen" eval '[[ -n "$prompt" ]] && on_screen "$prompt"'
  case $answer in
    ok) [[ -n "$prompt" ]] && click "$prompt" 282 240
        check "prompt: OK runs the computer's clock" eventually 5 weekday_shown ;;
    cancel) [[ -n "$prompt" ]] && click "$prompt" 369 240
        sleep 1.5
        check "prompt: Cancel leaves the placeholders" not weekday_shown ;;
    close) [[ -n "$prompt" ]] && click "$prompt" 417 15
        sleep 1.5
        check "prompt: its close button is Cancel" not weekday_shown ;;
  esac
  check "prompt: it is gone" hidden "${prompt_title[0]}"
  quit_app
done

# The welcome dialog at first start: DST, don't show again, OK; Cancel and close save nothing.
for answer in ok cancel close; do
  launches=$((launches + 1))
  app="$work/welcome$launches"
  mkdir -p "$app"
  cp "$program" "$app/vantorel"
  unshare --net "$app/vantorel" 2>>"$work/app.log" &
  app_pid=$!
  welcome=$(find_window '^Welcome Screen$')
  [[ -n "$welcome" ]] && { geometry_of "$welcome"; echo "  welcome at $GX,$GY ${GW}x$GH"; }
  check "welcome: it opens on the screen" eventually 3 eval '[[ -n "$welcome" ]] && on_screen "$welcome"'
  [[ -n "$welcome" ]] || { kill "$app_pid"; continue; }
  case $answer in
    ok)
      click "$welcome" 347 143 # DST
      click "$welcome" 38 239  # don't show again
      click "$welcome" 228 82  # the language list; its second row is Chinese
      xdotool key Down Return
      sleep 0.4
      click "$welcome" 282 240
      check "welcome: OK stores DST" eventually 3 eval 'test "$(value bDST)" = 1'
      check "welcome: and don't show again" test "$(value bWelcomeScreen)" = 0
      check "welcome: and Chinese" test "$(value nSelLanguageIndex)" = 1 ;;
    cancel)
      click "$welcome" 369 240
      sleep 0.5
      check "welcome: Cancel saves nothing" test ! -e "$app/Setting.ini" ;;
    close)
      click "$welcome" 417 15
      sleep 0.5
      check "welcome: its close button saves nothing" test ! -e "$app/Setting.ini" ;;
  esac
  check "welcome: the main window follows" test -n "$(find_window '^QUMRA$' 5)"
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
done

check "no sanitizer report" not grep -qE 'AddressSanitizer|runtime error|ThreadSanitizer' "$work/app.log"
e2e_finish
