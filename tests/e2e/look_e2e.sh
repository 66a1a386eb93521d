#!/usr/bin/env bash
# Every window in both languages, opened the way a person opens it (keys and clicks under a
# window manager, never by calling code) and captured from the screen, with checks on what
# the captures show. The captures and a labelled contact sheet all.png go to the folder.
# The main window, the settings and the help also natively on a Wayland desktop (sway.sh).
#   look_e2e.sh PROGRAM NTP_PROBE SCREENSHOT_FOLDER WL_INPUT
set -euo pipefail

program=$1
probe=$2
shots=${3:-}
wl_input=${4:-}
E2E_NEEDS_ROOT="for port 123 and a network namespace"
E2E_TOOLS="chronyd montage unshare sway swaymsg grim setpriv"
E2E_SCREEN=2560x1440  # room for the help beside the main window, and for it at twice the size
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"
source "$(dirname "$0")/program.sh"
export TZ=UTC  # the host's zone decides the welcome dialog's first row: row 26, UTC
look="$work/look"
mkdir -p "$look"
captured=()

# The window's own area on the screen (inside any frame the window manager gave it) as X, Y,
# WIDTH and HEIGHT.
client_area() {
  geometry_of "$1"
  X=$GX Y=$GY WIDTH=$GW HEIGHT=$GH
}

capture() {  # capture NAME WINDOW: the window as it stands on the screen, from the root
  local name=$1
  sleep 0.6
  client_area "$2"
  grab_screen "$look/$name.png" "${WIDTH}x${HEIGHT}+$X+$Y"
  captured+=("$name")
}

look_at() {  # look_at NAME WINDOW: capture a window just opened, then close it with Escape
  capture "$1" "$2"
  xdotool windowfocus --sync "$2" key Escape
  sleep 0.4
}

# The colour of a pixel of a capture as "R G B".
shot_pixel() {
  convert "$look/$1.png" -crop "1x1+$2+$3" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:-
}
# How many pixels of a box of a capture are bright text (all channels above 200).
bright_in() {  # bright_in NAME X Y W H
  convert "$look/$1.png" -crop "$4x$5+$2+$3" +repage -fx 'r>0.78 && g>0.78 && b>0.78 ? 1 : 0' \
    -format '%[fx:int(mean*w*h+0.5)]' info:-
}
# The lowest row between FROM and TO of a column of a capture that holds the dial's teal ring,
# or -1.
lowest_ring_row() {  # lowest_ring_row NAME X FROM TO
  convert "$look/$1.png" -crop "1x$(($4 - $3 + 1))+$2+$3" +repage -depth 8 txt:- |
    awk -F'[,:() ]+' -v from="$3" 'NR > 1 && $3 < 90 && $4 > 120 && $5 > 110 { row = from + $2 }
      END { print (row == "" ? -1 : row) }'
}
stored() { grep -q "^$1=$2\$" "$3"; }
# The colours down one column of a capture, a line each.
column_colours() {  # column_colours NAME X FROM TO
  convert "$look/$1.png" -crop "1x$(($4 - $3 + 1))+$2+$3" +repage -depth 8 txt:- |
    awk -F'[()]' 'NR > 1 { print $2 }'
}

lang_name=(en zh)
settings_title=('^Setting$' '^设置$')
prompt_title=('^Prompt$' '^警示$')

start_chronyd
for lang in 0 1; do
  l=${lang_name[$lang]}
  # Main window, calibrated against the local server.
  launch "[Vantorel]\nbWelcomeScreen=0\nnSelLanguageIndex=$lang\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\n"
  check "$l: calibrated" wait_calibrated
  capture "main_calibrated_$l" "$window"
  if ((lang == 0)); then
    check "the window is 640 x 600 on the screen" test "$WIDTH x $HEIGHT" = "640 x 600"
    ring=$(lowest_ring_row main_calibrated_en 474 540 599)
    check "the dial's lowest ring is on the screen (row $ring)" test "$ring" -ge 566
    read -r r g b < <(shot_pixel main_calibrated_en 156 513)
    read -r r2 g2 b2 < <(shot_pixel main_calibrated_en 156 515)
    check "the signal area's bottom row is on the screen, black ($r), the panel below it ($r2)" \
      test "$r" -lt 10 -a "$r2" -gt 20
  fi

  # Help: the question mark opens it beside the window, a second press hides it.
  click_in "$window" 548 15
  help=$(find_window '^Help$' 5)
  check "$l: the question mark opens the help" test -n "$help"
  if [[ -n "$help" ]]; then
    capture "help_$l" "$help"
    # The close button (552, 10; 24 x 21) sits centred in the title band above the accent rule.
    rule=$(column_colours "help_$l" 300 0 80 | grep -n '^38,166,154$' | head -n 1 | cut -d: -f1)
    rows=$(column_colours "help_$l" 564 0 $((rule - 2)) | grep -vn '^32,40,48$' | cut -d: -f1)
    top=$(($(head -n 1 <<<"$rows") - 1))
    bottom=$(($(tail -n 1 <<<"$rows") - 1))
    check "$l: the help's close button (rows $top-$bottom) is centred in its band (rows 0-$((rule - 2)))" \
      test $((2 * (top + bottom) - 2 * (rule - 2))) -le 4 -a $((2 * (top + bottom) - 2 * (rule - 2))) -ge -4
  fi
  click_in "$window" 548 15

  # About, from the window's menu.
  choose_from_menu "$window" 1
  about=$(find_window '^About Vantorel$' 5)
  check "$l: the menu opens About" test -n "$about"
  [[ -n "$about" ]] && look_at "about_$l" "$about"

  # Settings, each page; the server page's add and delete dialogs.
  click_in "$window" 574 15
  settings=$(find_window "${settings_title[$lang]}" 5)
  check "$l: the Setting button opens the settings" test -n "$settings"
  if [[ -n "$settings" ]]; then
    capture "settings_zone_$l" "$settings"
    # The DST label lies right of its box at (345, 42) of the page (65 below the top), and
    # nothing bright is left where it used to be, under the zone label.
    beside=$(bright_in "settings_zone_$l" 364 103 70 24)
    old=$(bright_in "settings_zone_$l" 24 150 120 24)
    check "$l: the DST label is beside its box ($beside bright pixels there, $old at the old place)" \
      test "$beside" -gt 20 -a "$old" -eq 0
    # The zone list drops below its face (118, 35 of the page; 209 x 32), as wide, twelve rows.
    before=$(visible_windows)
    click_in "$settings" 200 116
    popup=$(new_windows "$before" | head -n 1)
    check "$l: the zone list opens" test -n "$popup"
    if [[ -n "$popup" ]]; then
      client_area "$settings"
      geometry_of "$popup"
      check "$l: it drops from the face's bottom ($GY = $((Y + 132))), as wide ($GW), at most 12 rows ($GH)" \
        test "$GY" = $((Y + 132)) -a "$GW" = 209 -a "$GH" -le $((12 * 16 + 4)) -a "$GH" -ge $((12 * 16))
      px=$GX py=$GY pw=$GW ph=$GH
      sleep 0.3
      grab_screen "$look/zone_list_$l.png" "${pw}x$ph+$px+$py"
      bar=$(column_colours "zone_list_$l" $((pw - 5)) 2 $((ph - 3)) | sort | uniq -c)
      check "$l: the list's scroll bar is the skin's ($(awk '{ printf "%s:%s ", $2, $1 }' <<<"$bar"))" \
        test "$(grep -c . <<<"$bar")" -ge 2 -a -z "$(awk '{ split($2, c, ","); if (c[1] > 60) print }' <<<"$bar")"
      with_tip=0 without_tip=0 tip_wide=1 last_tip_row=-1
      opened=$(visible_windows)
      for row in $(seq 0 11); do
        xdotool mousemove $((px + 60)) $((py + 1 + 16 * row + 8)) sleep 0.1 mousemove $((px + 61)) $((py + 1 + 16 * row + 9))
        sleep 0.3
        tip=$(new_windows "$opened" | head -n 1)
        if [[ -n "$tip" ]]; then
          with_tip=$((with_tip + 1))
          last_tip_row=$row
          geometry_of "$tip"
          ((GW > pw - 2 - 8 - 6)) || tip_wide=0
        else
          without_tip=$((without_tip + 1))
        fi
      done
      check "$l: long names show their tip, short ones none ($with_tip with, $without_tip without)" \
        test "$with_tip" -gt 0 -a "$without_tip" -gt 0 -a "$tip_wide" = 1
      if ((last_tip_row >= 0)); then
        xdotool mousemove $((px + 60)) $((py + 1 + 16 * last_tip_row + 8)) sleep 0.1 \
          mousemove $((px + 62)) $((py + 1 + 16 * last_tip_row + 8))
        sleep 0.4
      fi
      grab_screen "$look/zone_popup_$l.png" "$((pw + 330))x$((ph + 150))+$X+$Y"
      captured+=("zone_popup_$l")
      xdotool key Escape
      sleep 0.3
    fi
    click_in "$settings" 153 47
    capture "settings_servers_$l" "$settings"
    # The built-in list overflows the box: scrolled, in the skin's scroll bar, no name cut.
    click_in "$settings" 100 245
    xdotool mousemove $((X + 100)) $((Y + 150)) click --repeat 4 5
    capture "settings_servers_scrolled_$l" "$settings"
    bar=$(column_colours "settings_servers_scrolled_$l" 201 82 224 | sort | uniq -c)
    check "$l: the server list's scroll bar is the skin's ($(awk '{ printf "%s:%s ", $2, $1 }' <<<"$bar"))" \
      test "$(grep -c . <<<"$bar")" -ge 2 -a -z "$(awk '{ split($2, c, ","); if (c[1] > 60) print }' <<<"$bar")"
    click_in "$settings" 275 109
    add=$(xdotool search --onlyvisible --name 'NTP' 2>/dev/null | head -n 1 || true)
    check "$l: Add opens the server dialog" test -n "$add"
    [[ -n "$add" ]] && look_at "add_server_$l" "$add"
    click_in "$settings" 88 91
    click_in "$settings" 275 197
    confirm=$(find_window '^(Confirm detele|删除确认)$' 5)
    check "$l: Delete asks first" test -n "$confirm"
    [[ -n "$confirm" ]] && look_at "delete_confirm_$l" "$confirm"
    click_in "$settings" 256 47
    look_at "settings_language_$l" "$settings"
  fi
  check "$l: Escape closes the program" quit_app
done

# A screen scaled by 2: the pictures drawn for it, edge for edge, and the signal pure.
QT_SCALE_FACTOR=2 launch "[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=56\n"
dot_teal() {  # where the window is now: the manager may place it after it appears
  client_area "$window"
  read -r r g b < <(pixel $((X + 676)) $((Y + 118)))
  ((g > 150 && r < 150))
}
check "at scale 2: calibrated" eventually 10 dot_teal
sleep 0.6
client_area "$window"
grab_screen "$look/main_2x_full.png" "${WIDTH}x${HEIGHT}+$X+$Y"
check "at scale 2 the window is 1280 x 1200 pixels on the screen" test "$WIDTH x $HEIGHT" = "1280 x 1200"
# The title band's one-pixel accent rule (row 30) is rows 60 and 61, both the accent itself,
# between the band and the face: no grey blur of a picture scaled up.
rule=$(convert "$look/main_2x_full.png" -crop 1x4+400+59 +repage -depth 8 txt:- |
  awk -F'[()]' 'NR > 1 { printf "%s%s", sep, $2; sep = " " }')
read -r above first second below <<<"$rule"
check "at scale 2 the rule is two rows of the accent, sharp, on the band ($rule)" \
  test "$above/$first/$second" = "32,40,48/38,166,154/38,166,154" -a "$below" != "38,166,154"
# The title's letters are drawn with the screen's pixels: a picture blown up from half the size
# is the same after keeping every other pixel and doubling them back; this one is not.
convert "$look/main_2x_full.png" -crop 240x60+0+0 +repage "$work/title.png"
convert "$work/title.png" -sample 50% -sample 200% "$work/title_blocks.png"
fine=$(compare -metric AE "$work/title.png" "$work/title_blocks.png" null: 2>&1 || true)
check "at scale 2 the title is drawn in full detail ($fine pixels finer than 2 x 2)" test "${fine%% *}" -gt 500
corners=$(for at in 0+0 1279+0 0+1199 1279+1199 20+20; do
  convert "$look/main_2x_full.png" -crop "1x1+$at" -depth 8 txt:- | awk -F'[()]' 'NR > 1 { printf "%s ", $2 }'
done)
check "at scale 2 the corners are cut round, the band inside ($corners)" \
  test "$corners" = "0,0,0 0,0,0 0,0,0 0,0,0 32,40,48 "
keyed=$(convert "$look/main_2x_full.png" -fx 'r > 0.8 && g < 0.25 && b < 0.25 ? 1 : 0' \
  -format '%[fx:int(mean*w*h+0.5)]' info:-)
check "at scale 2 no key colour shows ($keyed pixels)" test "$keyed" = 0
xdotool mousemove $((X + 400)) $((Y + 20)) mousedown 1 sleep 0.2 mousemove $((X + 450)) $((Y + 60)) \
  sleep 0.2 mousemove $((X + 500)) $((Y + 100)) sleep 0.2 mouseup 1
sleep 0.4
before="$X $Y"
client_area "$window"
check "at scale 2 the window drags (from $before to $X $Y)" test "$X $Y" = "$((${before% *} + 100)) $((${before#* } + 80))"
# The signal area (32, 154; 248 x 360) during a transmission: only black and white, ever.
xdotool windowfocus --sync "$window" key Return
colours="$work/signal_colours"
: >"$colours"
area_colours() {
  import -window root -crop "496x720+$((X + 64))+$((Y + 308))" +repage png:- |
    convert - -unique-colors -depth 8 txt:- | awk -F'[()]' 'NR > 1 { print $2 }' >>"$colours"
}
until_time=$((SECONDS + 10))
while ((SECONDS < until_time)) && ! grep -q '^255,255,255$' "$colours"; do area_colours; done
for _ in 1 2 3; do area_colours; done  # and the steps after the first white one
sort -u -o "$colours" "$colours"
check "at scale 2 the signal area is pure black and white ($(paste -sd' ' "$colours"))" \
  test "$(paste -sd' ' "$colours")" = "0,0,0 255,255,255"
convert "$look/main_2x_full.png" -crop 640x600+0+0 +repage "$look/main_2x_top_left.png"
captured+=(main_2x_top_left)
check "at scale 2: Escape closes the program" quit_app

# Natively on Wayland, calibrated against the same servers, each window opened by a click.
source "$(dirname "$0")/sway.sh"
wayland_capture() {  # wayland_capture NAME TITLE: the window as the output shows it
  local x y w h
  read -r x y w h <<<"$(place_of "$2")"
  input move $((SW - 5)) $((SH - 5))  # the pointer out of the picture, off every window
  sleep 0.6
  [[ -n "$x" ]] && grab_output "$look/$1.png" "$x" "$y" "$w" "$h" && captured+=("$1")
}
wayland_teal() {  # the state label's dot
  [[ "$(screen_pixel $((mx + 338)) $((my + 59)))" =~ ^([0-9]+)\ ([0-9]+) ]] &&
    ((BASH_REMATCH[2] > 150 && BASH_REMATCH[1] < 150))
}
check "the Wayland captures have our pointer" test -x "$wl_input"
start_sway
start_input "$wl_input"
for lang in 0 1; do
  l=${lang_name[$lang]}
  start_as_user "$work/wayland_$l" \
    "[Vantorel]\r\nbWelcomeScreen=0\r\nnSelLanguageIndex=$lang\r\nbDefualtServers=0\r\nstrServers=$SERVERS\r\nnSelTimeZoneIndex=56\r\n" \
    QT_QPA_PLATFORM=wayland
  check "$l on Wayland: the main window opens" eventually 10 shown QUMRA
  read -r mx my _ _ <<<"$(place_of QUMRA)"
  [[ -n "$mx" ]] || continue
  check "$l on Wayland: calibrated" eventually 10 wayland_teal
  wayland_capture "wayland_main_$l" QUMRA
  click_at $((mx + 574)) $((my + 15))
  title=${settings_title[$lang]//[\^\$]/}
  check "$l on Wayland: Setting, clicked, opens the settings" eventually 5 shown "$title"
  wayland_capture "wayland_settings_$l" "$title"
  input key Escape
  check "$l on Wayland: Escape closes them" eventually 3 gone "$title"
  click_at $((mx + 549)) $((my + 15))
  check "$l on Wayland: ?, clicked, opens the help" eventually 5 shown Help
  wayland_capture "wayland_help_$l" Help
  read -r hx hy _ _ <<<"$(place_of Help)"
  [[ -n "$hx" ]] && click_at $((hx + 564)) $((hy + 20))
  click_at $((mx + 625)) $((my + 15))
  check "$l on Wayland: the close button ends the program" eventually 5 not kill -0 "$app_pid"
done
stop_chronyd

# The prompt after a failed run opens centred on the main window, wherever it was moved, and
# Enter answers OK: the computer's clock runs. The one server is silent, so the run lasts
# (five time-outs, the spacing between them) long enough to move the window first.
"$probe" --silent 123 &
silent_pid=$!
for lang in 0 1; do
  l=${lang_name[$lang]}
  launch "[Vantorel]\nbWelcomeScreen=0\nnSelLanguageIndex=$lang\nbDefualtServers=0\nstrServers=127.0.0.1\n"
  xdotool windowmove --sync "$window" 40 60
  sleep 0.3
  prompt=$(find_window "${prompt_title[$lang]}" 30)
  check "$l: the prompt appears after a failed run" test -n "$prompt"
  if [[ -n "$prompt" ]]; then
    capture "prompt_$l" "$prompt"
    px=$((X + WIDTH / 2))
    py=$((Y + HEIGHT / 2))
    client_area "$window"
    mx=$((X + 320))
    my=$((Y + 300))
    check "$l: the prompt's centre ($px, $py) is the moved window's ($mx, $my)" \
      test $(((px - mx) * (px - mx) + (py - my) * (py - my))) -le 8
    wx=$X
    wy=$Y
    xdotool windowfocus --sync "$prompt" key Return
    check "$l: Enter in the prompt starts the computer's clock" eventually 5 weekday_shown
    capture "main_not_calibrated_$l" "$window"
  fi
  check "$l: Escape closes the program" quit_app
done
kill "$silent_pid"
wait "$silent_pid" 2>/dev/null || true

# First start: the welcome dialog in both languages. A zone picked before the language is
# switched stays picked, and Enter is OK: the file holds that zone and Chinese.
first_start() {  # first_start N: the program with no settings, in a namespace with no network
  app="$work/first$1"
  mkdir -p "$app"
  cp "$program" "$app/vantorel"
  unshare --net "$app/vantorel" 2>>"$work/app.log" &
  app_pid=$!
}
first_start 1
welcome=$(find_window '^Welcome Screen$')
check "first start opens the welcome dialog" test -n "$welcome"
if [[ -n "$welcome" ]]; then
  capture welcome_en "$welcome"
  click_in "$welcome" 222 141  # the zone list: three rows down from UTC's
  xdotool key Down Down Down Return
  sleep 0.4
  click_in "$welcome" 222 82  # the language list: Chinese
  xdotool key Down Return
  sleep 0.4
  capture welcome_zh "$welcome"
  xdotool windowfocus --sync "$welcome" key Return
  sleep 1
  check "Enter in the welcome dialog writes the file" test -e "$app/Setting.ini"
  check "it keeps the zone picked before the language switch" stored nSelTimeZoneIndex 29 "$app/Setting.ini"
  check "and stores Chinese" stored nSelLanguageIndex 1 "$app/Setting.ini"
fi
window=$(find_window '^QUMRA$')
prompt=$(find_window '^警示$' 20)
[[ -n "$prompt" ]] && xdotool windowfocus --sync "$prompt" key Escape
sleep 0.5
# Enter in the settings dialog is OK: tick DST, Enter, and the file holds it.
if [[ -n "$window" ]]; then
  click_in "$window" 574 15
  settings=$(find_window '^设置$' 5)
  if [[ -n "$settings" ]]; then
    click_in "$settings" 353 115
    xdotool windowfocus --sync "$settings" key Return
    sleep 1
  fi
  check "Enter in the settings dialog saves it" stored bDST 1 "$app/Setting.ini"
  check "and closes it" test -z "$(xdotool search --onlyvisible --name '^设置$' 2>/dev/null || true)"
fi
check "Escape closes the program" quit_app

if [[ -n "$shots" ]]; then
  mkdir -p "$shots"
  tiles=()
  cp "$look/main_2x_full.png" "$shots/look_main_2x.png" 2>/dev/null || true
  for name in "${captured[@]}"; do
    cp "$look/$name.png" "$shots/look_$name.png"
    convert "$look/$name.png" -background '#202428' -fill white -pointsize 16 -gravity south \
      -splice 0x28 -annotate +0+5 "$name" "$look/tile_$name.png"
    tiles+=("$look/tile_$name.png")
  done
  montage "${tiles[@]}" -tile 4x -geometry '+10+10' -background '#202428' "$shots/all.png"
  check "the contact sheet holds ${#captured[@]} captures" test -s "$shots/all.png"
fi
e2e_finish
