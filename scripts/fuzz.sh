#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan) into build-fuzz and runs each one
# for a while from an empty corpus. Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S "$here" -B "$here/build-fuzz" -DZORBEL_BUILD_FUZZ=ON -DZORBEL_BUILD_TESTS=OFF \
  -DZORBEL_BUILD_PYTHON=OFF -DZORBEL_SANITIZE=ON >/dev/null
targets=$(cmake --build "$here/build-fuzz" --target help | sed -n 's/^\.\.\. \(fuzz_[a-z_]*\).*/\1/p')
cmake --build "$here/build-fuzz" -j "$(nproc)" --target $targets
for target in $targets; do
  corpus=$(mktemp -d)
  echo "fuzz: $target for ${seconds}s"
  binary=$(find "$here/build-fuzz/fuzz" -maxdepth 1 -name "$target" -type f)
  log=$(mktemp)
  status=0
  "$binary" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" >"$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|SUMMARY)' "$log" || true
  [[ $status -eq 0 ]] || tail -n 40 "$log"
  rm -f "$log"
  rm -rf "$corpus"
  if [[ $status -ne 0 ]]; then
    echo "fuzz: $target failed"
    exit 1
  fi
done
echo "fuzz: all targets ran clean"
