#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan+UBSan) and runs each on a copy of its seed
# corpus: scripts/fuzz.sh [SECONDS_PER_TARGET]. Without an argument each target makes a fixed
# number of runs from a fixed seed (about 30 s each here), so the test command's result does not
# depend on luck; with one, each runs that long from a random seed, to look further.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-}
declare -A runs=([ini]=600000 [settings]=30000 [sntp_reply]=20000000 [server_list]=800000)

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
  if [[ -n "$seconds" ]]; then
    limit=(-max_total_time="$seconds")
  else
    limit=(-runs="${runs[$target]}" -seed=1)
  fi
  started=$(date +%s.%N)
  if ASAN_OPTIONS=detect_leaks=1 "build/fuzz/fuzz_$target" "${limit[@]}" -print_final_stats=1 \
    -rss_limit_mb=2048 -artifact_prefix="$work/" "$corpus" >"$log" 2>&1; then
    passed=$((passed + 1))
    took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    done_runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)
    rate=$(awk -v n="${done_runs:-0}" -v t="$took" 'BEGIN { printf "%d", (t > 0 ? n / t : 0) }')
    echo "fuzz $target: ${done_runs:-0} runs in $took s ($rate exec/s), $cov"
  else
    failed=$((failed + 1))
    echo "fuzz $target: FAILED"
    tail -n 40 "$log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
