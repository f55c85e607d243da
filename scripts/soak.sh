#!/usr/bin/env bash
# The long soak: 50 game exits in a row (the test suite runs 5), plus the
# odd-name, hung-client and close-in-every-phase runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target soak_tests >/dev/null
export AUTOPAUSE_SOAK_EXITS=${AUTOPAUSE_SOAK_EXITS:-50}
scripts/wine-bench.sh start
trap 'scripts/wine-bench.sh stop' EXIT
scripts/wine-run.sh build/win64/tests/wine/soak_tests.exe
