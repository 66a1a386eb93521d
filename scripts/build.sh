#!/usr/bin/env bash
# Configures and builds one preset: scripts/build.sh PRESET [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
shift || true
cmake --preset "$preset" >/dev/null
if (($#)); then
  cmake --build --preset "$preset" --target "$@"
else
  cmake --build --preset "$preset"
fi
