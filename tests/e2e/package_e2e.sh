#!/usr/bin/env bash
# The Debian package: built with CPack, its dependencies known to this system, unpacked into
# a scratch root, started under Xvfb as an ordinary user, keeping its settings in that user's
# ~/.config/vantorel.
#   package_e2e.sh BUILD_FOLDER SCREENSHOT_FOLDER
set -euo pipefail

build=$1
shots=${2:-}
E2E_NEEDS_ROOT="to start the program as another user"
E2E_TOOLS="cpack dpkg-deb setpriv lintian appstreamcli desktop-file-validate man"
E2E_XVFB_ARGS="-ac"
source "$(dirname "$0")/common.sh"
e2e_enter_x "$@"
chmod 755 "$work"
app_pid=""

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/vantorel_*.deb)
check "the package is built" test -f "$deb"
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for file in ./usr/bin/vantorel ./usr/share/applications/org.vantorel.Vantorel.desktop ./usr/share/metainfo/org.vantorel.Vantorel.metainfo.xml ./usr/share/man/man1/vantorel.1.gz \
  ./usr/share/icons/hicolor/48x48/apps/vantorel.png ./usr/share/icons/hicolor/256x256/apps/vantorel.png; do
  check "it holds $file" grep -qx "$file" "$work/contents"
done
depends=$(dpkg-deb -f "$deb" Depends)
all_known=1
for dep in $(echo "$depends" | tr ',' '\n' | sed 's/(.*)//; s/ //g'); do
  dpkg-query -W -f='${Status}' "$dep" 2>/dev/null | grep -q 'install ok installed' || { echo "not installed: $dep"; all_known=0; }
done
check "every dependency is a package installed here" test "$all_known" = 1

check "lintian finds no error and no warning" lintian --fail-on error,warning "$deb"

root="$work/root"
dpkg-deb -x "$deb" "$root"
check "its metainfo is valid" appstreamcli validate --no-net \
  "$root/usr/share/metainfo/org.vantorel.Vantorel.metainfo.xml"
check "its desktop file is valid" desktop-file-validate \
  "$root/usr/share/applications/org.vantorel.Vantorel.desktop"
man -l "$root/usr/share/man/man1/vantorel.1.gz" 2>"$work/man.err" | col -bx | tr -s "[:space:]" " " >"$work/man.txt" || true
for part in 'NAME' 'Setting a watch' 'full brightness' 'photosensitive' 'XDG_CONFIG_HOME/vantorel/Setting.ini' \
  'SIGTERM, SIGINT and SIGHUP' 'EXIT STATUS'; do
  check "the manual renders and tells: $part" grep -q "$part" "$work/man.txt"
done
check "and renders without a warning" test ! -s "$work/man.err"

# The command line, with no display and a home of its own: nothing may open or be written.
cli_home="$work/cli-home"
mkdir -p "$cli_home"
cli() { env -u DISPLAY -u WAYLAND_DISPLAY HOME="$cli_home" XDG_CONFIG_HOME= "$root/usr/bin/vantorel" "$@"; }
status=0
version=$(cli --version) || status=$?
check "--version prints the version and exits 0" test "$status:$version" = "0:vantorel 1.0"
status=0
cli --help >"$work/help.txt" 2>&1 || status=$?
check "--help exits 0" test "$status" = 0
check "--help prints the usage" grep -q '^Usage: .*vantorel \[OPTION\]' "$work/help.txt"
status=0
cli --no-such-option >"$work/bad.out" 2>"$work/bad.err" || status=$?
check "an unknown option exits 2" test "$status" = 2
check "with a short error on standard error" grep -q "unknown option '--no-such-option'" "$work/bad.err"
check "and nothing on standard output" test ! -s "$work/bad.out"
check "none of them wrote a settings file" test -z "$(find "$cli_home" "$root" -name Setting.ini)"
home="$work/home"
mkdir -p "$home/.config/vantorel"
# Only a local server that does not answer: the program sends nothing beyond this machine.
printf '[Vantorel]\nbWelcomeScreen=0\nbDefualtServers=0\nstrServers=127.0.0.1\n' >"$home/.config/vantorel/Setting.ini"
chown -R nobody:nogroup "$home"
chmod 755 "$root" "$root/usr" "$root/usr/bin"

setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" DISPLAY="$DISPLAY" XDG_CONFIG_HOME= \
  QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$home" "$root/usr/bin/vantorel" 2>"$work/app.log" &
app_pid=$!
window=$(find_window '^QUMRA$')
check "the installed program opens its window" test -n "$window"
prompt=$(find_window '^Prompt$' 15)
check "its calibration run ends (no server here)" test -n "$prompt"
if [[ -n "$prompt" ]]; then
  xdotool windowfocus --sync "$prompt" key Escape
  sleep 1
fi
if [[ -n "$shots" && -n "$window" ]]; then
  mkdir -p "$shots"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  grab_screen "$shots/installed.png" "640x600+$X+$Y"
fi
check "it saved its settings in the user's folder" grep -q '^nSelTimeZoneIndex=' "$home/.config/vantorel/Setting.ini"
check "and nothing beside the program" test ! -e "$root/usr/bin/Setting.ini"
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=""

e2e_finish
