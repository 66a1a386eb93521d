#!/usr/bin/env bash
# The core cross-built for 64-bit Windows, and its test binaries run under Wine. A Windows
# program cannot start the real chronyd the SNTP tests ask, so this starts them first, one on
# the true clock and one per faked offset, on 127.0.0.1 (Wine's sockets are the host's), and
# names their ports in VANTOREL_TEST_CHRONYD; each is stopped by its PID at the end.
#   windows_tests.sh PROBE   (PROBE: the ntp_probe of the Linux build, to wait for them)
set -euo pipefail
cd "$(dirname "$0")/.."
probe=$1

export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wine-prefix}
cmake --preset windows-core >/dev/null
cmake --build --preset windows-core

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

faketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1)
servers=""
port=50123
for offset in 0 +2.5 -3.0; do
  preload=()
  [[ $offset != 0 ]] && preload=(env "LD_PRELOAD=$faketime" "FAKETIME=$offset")
  "${preload[@]}" chronyd -x -d -L 1 "port $port" 'bindaddress 127.0.0.1' 'allow 127.0.0.1' \
    'local stratum 10' 'cmdport 0' 'bindcmdaddress /' "pidfile $work/chronyd-$port.pid" \
    >"$work/chronyd-$port.log" 2>&1 &
  pids+=($!)
  if ! "$probe" 127.0.0.1 "$port" 5; then
    echo "chronyd on port $port (offset $offset) does not answer:" >&2
    cat "$work/chronyd-$port.log" >&2
    exit 1
  fi
  servers+="${servers:+,}$offset=$port"
  port=$((port + 1))
done
export VANTOREL_TEST_CHRONYD=$servers
# One binary at a time: the network tests measure offsets to a few milliseconds, and Wine's
# socket calls share one server process.
ctest --preset windows-core -j 1
