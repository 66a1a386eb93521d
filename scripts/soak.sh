#!/usr/bin/env bash
# The soak test: installs what is missing, builds, and runs the program for MINUTES (10) under
# Xvfb with Update, Calibrate and the settings dialog driven in a loop. As root (port 123).
#   scripts/soak.sh [MINUTES] [PRESET (default)]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
preset=${2:-default}
bash scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
bash tests/e2e/soak_e2e.sh "build/$preset/src/vantorel" "build/$preset/tests/ntp_probe" \
  "$minutes" "build/$preset/soak.txt"
