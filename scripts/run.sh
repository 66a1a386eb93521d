#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it (under Xvfb when no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default -DVANTOREL_BUILD_TESTS=OFF >/dev/null
cmake --build --preset default --target vantorel
exe=build/default/src/vantorel
if [[ -n "${DISPLAY:-}" ]]; then
  exec "$exe" "$@"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$@"
fi
