#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan+UBSan) and runs each for a bounded time on a
# copy of its seed corpus: scripts/fuzz.sh [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
for target in ini settings sntp_reply server_list; do
  corpus="$work/$target"
  mkdir -p "$corpus"
  for seed in tests/fuzz/corpus/"$target"/*; do
    case "$seed" in
      *.hex) grep -v '^#' "$seed" | tr -d ' \n' | sed 's/../\\x&/g' | xargs -0 printf '%b' >"$corpus/$(basename "$seed" .hex)" ;;
      *) cp "$seed" "$corpus/" ;;
    esac
  done
  log="$work/$target.log"
  if ASAN_OPTIONS=detect_leaks=1 "build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -rss_limit_mb=2048 "$corpus" >"$log" 2>&1; then
    passed=$((passed + 1))
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)
    echo "fuzz $target: ${runs:-0} runs in ${seconds} s ($((${runs:-0} / seconds)) exec/s), $cov"
  else
    failed=$((failed + 1))
    echo "fuzz $target: FAILED"
    tail -n 40 "$log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
