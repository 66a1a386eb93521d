#!/usr/bin/env bash
# The program as a screen reader uses it: a session bus and the accessibility bus, each
# started and stopped by its PID, the tree read over the bus as Orca reads it, in both
# languages. Every window's objects are checked against one table; Setting, a tab, DST, Add,
# OK and Cancel are pressed through their accessibility actions, with the effect seen on the
# screen and in the settings file; the state label's change is heard as an event; places on
# the bus are the places on the screen; Tab follows reading order.
#   a11y_e2e.sh PROGRAM NTP_PROBE
set -euo pipefail

program=$1
probe=$2
E2E_NEEDS_ROOT="for port 123 and a network namespace"
E2E_TOOLS="chronyd dbus-daemon /usr/libexec/at-spi-bus-launcher /usr/bin/python3"
E2E_SCREEN=1366x768
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"
source "$(dirname "$0")/program.sh"
export TZ=UTC
a11y_py="$(dirname "$0")/a11y.py"
a11y() { timeout 20 /usr/bin/python3 "$a11y_py" "$@"; }

# The accessibility bus's socket in this test's own folder, not the user's.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The buses: the session's, then the accessibility bus the launcher starts and names on it.
dbus-daemon --session --nofork --address="unix:path=$work/bus" >"$work/dbus.log" 2>&1 &
bus_pid=$!
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
check "the session bus starts" eventually 5 test -S "$work/bus"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
atspi_pid=$!
check "the accessibility bus starts" eventually 5 dbus-send --session --print-reply \
  --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# What each window must offer: window | role | name | states | description, each of the
# words "English / Chinese".
table() {
  cat <<'EOF'
Welcome to Vantorel / 欢迎使用 Vantorel | combo-box | English / 简体中文
Welcome to Vantorel / 欢迎使用 Vantorel | label | Language / 语言
Welcome to Vantorel / 欢迎使用 Vantorel | label | Time zone / 时区
Welcome to Vantorel / 欢迎使用 Vantorel | check-box | DST / 夏令时
Welcome to Vantorel / 欢迎使用 Vantorel | check-box | Don't show again / 不再显示
Welcome to Vantorel / 欢迎使用 Vantorel | push-button | OK / 确定
Welcome to Vantorel / 欢迎使用 Vantorel | push-button | Cancel / 取消
Welcome to Vantorel / 欢迎使用 Vantorel | push-button | Close / 关闭
EOF
}
main_table() {
  cat <<'EOF'
Vantorel / Vantorel 校时 | push-button | Close / 关闭
Vantorel / Vantorel 校时 | push-button | Minimise / 最小化
Vantorel / Vantorel 校时 | push-button | Setting / 设置
Vantorel / Vantorel 校时 | push-button | Help / 帮助
Vantorel / Vantorel 校时 | push-button | Update / 更新
Vantorel / Vantorel 校时 | push-button | Calibrate / 校时
Vantorel / Vantorel 校时 | progress-bar | Calibration / 校准进度
Vantorel / Vantorel 校时 | label | Calibrated / 已校准
Vantorel / Vantorel 校时 | animation | Signal area / 信号区域 | | This area flashes quickly. If flashing light troubles you, do not look at it while it flashes. / 该区域会快速闪烁。闪光令您不适或有光敏性癫痫史时，请勿注视。
Vantorel / Vantorel 校时 | label | Hold the watch against the flashing area\nbelow, screen at full brightness,\nthen press Calibrate. / 将手表贴近下方闪烁区域，\n屏幕亮度调到最高，然后按“校时”。
Vantorel / Vantorel 校时 | label | Return: Calibrate\nAlt+Return: local clock / 回车键：校时\nAlt+回车：按本机时钟
EOF
  # The zone is Greenwich's standard time: the date and weekday of UTC.
  local weekdays_zh=(星期日 星期一 星期二 星期三 星期四 星期五 星期六)
  echo "Vantorel / Vantorel 校时 | label | $(date -u +%F) | | Date / 日期"
  echo "Vantorel / Vantorel 校时 | label | $(LC_ALL=C date -u +%A) / ${weekdays_zh[$(date -u +%w)]} | | Weekday / 星期"
}
settings_table() {
  cat <<'EOF'
Setting / 设置 | page-tab | Time Zone / 时区 | selected
Setting / 设置 | page-tab | NTP Server / NTP 服务器
Setting / 设置 | page-tab | Language / 语言
Setting / 设置 | push-button | OK / 确定
Setting / 设置 | push-button | Cancel / 取消
Setting / 设置 | push-button | Close / 关闭
Setting / 设置 | label | Timezone / 时区
Setting / 设置 | check-box | DST / 夏令时
Setting / 设置 | label | The chosen zone's standard time is shown and sent to the watch.\nTick DST while daylight saving is in force: one hour ahead. / 所选时区的标准时间显示在主窗口并发送给手表；\n夏令时期间勾选“夏令时”，时间提前一小时。
EOF
}
server_table() {
  cat <<'EOF'
Setting / 设置 | page-tab | NTP Server / NTP 服务器 | selected
Setting / 设置 | list | NTP servers / NTP 服务器
Setting / 设置 | push-button | Add / 添加
Setting / 设置 | push-button | Edit / 编辑
Setting / 设置 | push-button | Delete / 删除
Setting / 设置 | push-button | Restore defaults / 恢复默认
EOF
}
help_table() {
  cat <<'EOF'
Help / 帮助 | push-button | Close / 关闭
Help / 帮助 | label | What Vantorel does / Vantorel 做什么
Help / 帮助 | label | Caution: flashing / 注意：闪烁
Help / 帮助 | label | The area flashes quickly. If flashing light troubles you, or you have a history of photosensitive epilepsy, do not look at it while it flashes. / 该区域会快速闪烁。闪光令您不适，或有光敏性癫痫病史时，请勿注视闪烁区域。
EOF
}
prompt_table() {
  cat <<'EOF'
Prompt / 警示 | label | Fail to connect to server. Do you want to calibrate with computer's time? / 无法连接服务器，是否用本机时间校时?
Prompt / 警示 | push-button | OK / 确定
Prompt / 警示 | push-button | Cancel / 取消
EOF
}
pick() { [[ $lang == 0 ]] && echo "$1" || echo "$2"; }
meets() {  # meets TABLE: the tree holds every row for the language
  local out
  out=$("$1" | a11y check "$lang") || { echo "$out" | grep MISS; return 1; }
}
# The object's place on the bus is its place on the screen: the window's place there plus
# where the window puts it.
placed() {  # placed X_WINDOW A11Y_WINDOW ROLE NAME X Y
  local ax ay aw ah
  read -r ax ay aw ah < <(a11y where "$2" "$3" "$4") || return 1
  geometry_of "$1"
  [[ "$ax,$ay" == "$((GX + $5)),$((GY + $6))" ]] || { echo "  $4 at $ax,$ay on the bus, $((GX + $5)),$((GY + $6)) on the screen"; return 1; }
}
focus_order() {  # focus_order N: the focused objects as Tab moves the focus N times
  local i
  for i in $(seq 1 "$1"); do
    xdotool key Tab
    sleep 0.15
    a11y focused | sed 's/^combo-box .*/combo-box/'
  done
}
# Tab goes round the N controls of EXPECTED (a;b;...) in that order, from whichever has the
# focus, and back to it.
# The tree has a line like that (read whole: a reader that stops early breaks the pipe).
in_tree() { a11y tree | grep -E "$1" >/dev/null; }
in_whole_tree() { A11Y_WHOLE_LISTS=1 timeout 20 /usr/bin/python3 "$a11y_py" tree | grep -E "$1" >/dev/null; }
tabs_in_order() {  # tabs_in_order N EXPECTED
  local order
  order="$(a11y focused | sed 's/^combo-box .*/combo-box/');$(focus_order "$1" | paste -sd ";")"
  [[ ";$2;$2;" == *";$order;"* ]] || { echo "  Tab went: $order"; return 1; }
}

start_chronyd

for lang in 0 1; do
  l=$(pick en zh)
  start_program "[Vantorel]\nnSelLanguageIndex=$lang\nbDefualtServers=0\nstrServers=$SERVERS\nnSelTimeZoneIndex=25\nbDST=0\n"
  welcome=$(find_window '^Welcome Screen$')
  wait_managed "$welcome"
  title=$(pick "Welcome to Vantorel" "欢迎使用 Vantorel")
  check "$l: the welcome window's objects" meets table
  check "$l: the welcome window is where the screen shows it" placed "$welcome" "$title" check-box "$(pick DST 夏令时)" 339 135
  check "$l: Tab goes through the welcome window in reading order" \
    tabs_in_order 7 "$(pick \
      "combo-box;combo-box;check-box \"DST\";check-box \"Don't show again\";push-button \"OK\";push-button \"Cancel\";push-button \"Close\"" \
      "combo-box;combo-box;check-box \"夏令时\";check-box \"不再显示\";push-button \"确定\";push-button \"取消\";push-button \"关闭\"")"

  # OK through its action; the run that then calibrates is heard as the label's event.
  : >"$work/heard"
  a11y wait-name label "$(pick Calibrated 已校准)" 30 >"$work/heard" 2>&1 &
  listener=$!
  eventually 10 grep -q listening "$work/heard" || true
  a11y press "$title" check-box "$(pick "Don't show again" 不再显示)"
  a11y press "$title" push-button "$(pick OK 确定)"
  window=$(find_window '^QUMRA$')
  wait_managed "$window"
  check "$l: OK pressed on the bus ends the welcome, and its box was stored" \
    eval '[[ "$(value bWelcomeScreen)" == 0 ]]'
  check "$l: the state label's change to calibrated is an event" wait "$listener"
  wait_calibrated || true
  main=$(pick Vantorel "Vantorel 校时")
  check "$l: the ticking time is read, not announced" a11y quiet 2.5
  check "$l: the main window's objects" meets main_table
  check "$l: the main window is where the screen shows it" placed "$window" "$main" push-button "$(pick Setting 设置)" 562 5
  check "$l: so is its signal area" placed "$window" "$main" animation "$(pick "Signal area" 信号区域)" 32 154
  check "$l: Tab goes through the main window in reading order" \
    tabs_in_order 6 "$(pick \
      "push-button \"Help\";push-button \"Setting\";push-button \"Minimise\";push-button \"Close\";push-button \"Update\";push-button \"Calibrate\"" \
      "push-button \"帮助\";push-button \"设置\";push-button \"最小化\";push-button \"关闭\";push-button \"更新\";push-button \"校时\"")"

  # Calibrate: the area is busy while it flashes, and no longer once it has.
  a11y press "$main" push-button "$(pick Calibrate 校时)"
  check "$l: Calibrate on the bus makes the signal area busy" \
    eventually 5 in_tree '^  animation .*\[.*busy'
  check "$l: and idle again when the frame is sent" \
    eventually 10 in_tree '^  animation [^[]*$'

  # The help: its sections readable; its close button pressed on the bus closes it.
  a11y press "$main" push-button "$(pick Help 帮助)"
  check "$l: the help's sections" eventually 5 meets help_table
  help=$(find_window '^(Help|帮助)$' 5)
  check "$l: the help is where the screen shows it" placed "$help" "$(pick Help 帮助)" push-button "$(pick Close 关闭)" 552 10
  a11y press "$(pick Help 帮助)" push-button "$(pick Close 关闭)"
  check "$l: the help's Close on the bus closes it" \
    eventually 3 eval '[[ -z "$(xdotool search --onlyvisible --name "^Help$" 2>/dev/null)" ]]'

  # The settings: Setting, a tab, DST, Add, then OK and Cancel, all through the bus.
  settings_name=$(pick Setting 设置)
  a11y press "$main" push-button "$settings_name"
  settings=$(find_window "^$settings_name\$" 5)
  check "$l: Setting on the bus opens the settings" test -n "$settings"
  wait_managed "$settings"
  check "$l: the settings' objects" meets settings_table
  zone_combo=$(a11y tree | sed -n 's/^    combo-box "\([^"]*\)".*/\1/p' | head -n 1)
  check "$l: the zone list is labelled by its drawn label" \
    test "$(a11y label "$settings_name" combo-box "$zone_combo")" = "$(pick Timezone 时区)"
  check "$l: the settings are where the screen shows them" placed "$settings" "$settings_name" push-button "$(pick OK 确定)" 210 231
  box=$(looks "$settings" 345 107 16 17)
  a11y press "$settings_name" check-box "$(pick DST 夏令时)"
  check "$l: DST on the bus ticks the box on the screen" eventually 3 eval '[[ "$(looks "$settings" 345 107 16 17)" != "$box" ]]'
  check "$l: and says it is checked" eventually 5 in_tree "check-box \"$(pick DST 夏令时)\" \[.*checked"
  page=$(looks "$settings" 0 65 440 166)
  a11y press "$settings_name" page-tab "$(pick "NTP Server" "NTP 服务器")"
  check "$l: a tab on the bus shows its page on the screen" eventually 3 eval '[[ "$(looks "$settings" 0 65 440 166)" != "$page" ]]'
  check "$l: the server page's objects" meets server_table
  a11y press "$settings_name" push-button "$(pick Add 添加)"
  adder=$(find_window "^$(pick "Add NTP Server" "添加NTP服务器地址")\$" 5)
  check "$l: Add on the bus opens the add-server dialog" test -n "$adder"
  if [[ -n "$adder" ]]; then
    wait_managed "$adder"
    check "$l: whose field is named" eventually 5 in_tree "^  text \"$(pick "Server name or address" "服务器名称或地址")\" \[.*focused"
    xdotool windowfocus --sync "$adder" type "a11y.example.net"
    xdotool key Return
  fi
  check "$l: and the server it adds is in the list" eventually 5 in_whole_tree 'list-item "a11y.example.net"'
  a11y press "$settings_name" push-button "$(pick OK 确定)"
  check "$l: OK on the bus closes the settings" eventually 3 eval '[[ -z "$(xdotool search --onlyvisible --name "^$settings_name\$" 2>/dev/null)" ]]'
  check "$l: and stores DST and the new server" eval '[[ "$(value bDST)" == 1 && "$(value strServers)" == *a11y.example.net* ]]'
  stored=$(md5sum <"$app/Setting.ini")
  a11y press "$main" push-button "$settings_name"
  settings=$(find_window "^$settings_name\$" 5)
  wait_managed "$settings"
  a11y press "$settings_name" check-box "$(pick DST 夏令时)"
  a11y press "$settings_name" push-button "$(pick Cancel 取消)"
  check "$l: Cancel on the bus closes the settings and keeps the file" \
    eventually 3 eval '[[ -z "$(xdotool search --onlyvisible --name "^$settings_name\$" 2>/dev/null)" && "$(md5sum <"$app/Setting.ini")" == "$stored" ]]'

  # The prompt: a run with no server answering asks, and the question is readable.
  stop_chronyd
  a11y press "$main" push-button "$(pick Update 更新)"
  prompt=$(find_window "^$(pick Prompt 警示)\$" 20)
  check "$l: a run without servers asks, and the question can be read" \
    eval '[[ -n "$prompt" ]] && eventually 3 meets prompt_table'
  check "$l: the prompt is where the screen shows it" placed "$prompt" "$(pick Prompt 警示)" push-button "$(pick OK 确定)" 242 224
  a11y press "$(pick Prompt 警示)" push-button "$(pick Cancel 取消)"
  check "$l: Cancel on the bus answers it" \
    eventually 3 eval '[[ -z "$(xdotool search --onlyvisible --name "^$(pick Prompt 警示)\$" 2>/dev/null)" ]]'
  [[ $lang == 1 ]] && a11y tree >"$work/tree_zh.txt" || a11y tree >"$work/tree_en.txt"
  quit_app
  start_chronyd
done

kill "$atspi_pid" "$bus_pid" 2>/dev/null || true
wait "$atspi_pid" "$bus_pid" 2>/dev/null || true
e2e_finish
