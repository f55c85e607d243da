#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test:
# native unit tests, checks of the shipped executable, and the Wine test bench.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

jobs=$(nproc)
for preset in native win32 win64; do
  cmake --preset "$preset" >"build-$preset.log" 2>&1 || { cat "build-$preset.log"; exit 1; }
  cmake --build --preset "$preset" -j"$jobs" >>"build-$preset.log" 2>&1 || { cat "build-$preset.log"; exit 1; }
  rm -f "build-$preset.log"
done

passed=0 failed=0
for preset in native win32 win64; do
  echo "== ctest --preset $preset"
  log=$(mktemp)
  ctest --preset "$preset" 2>&1 | tee "$log"
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  rm -f "$log"
  if [ -z "$summary" ]; then
    echo "ctest --preset $preset printed no summary"
    failed=$((failed + 1))
    continue
  fi
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + t - f))
  failed=$((failed + f))
done

# Release checks: byte-identical rebuilds, and the package a player downloads.
for check in scripts/check-reproducible.sh scripts/check-release.sh; do
  echo "== $check"
  if "$check"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done

scripts/wine-bench.sh stop
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
