#!/usr/bin/env bash
# Runs a Windows executable under the Wine test bench and returns its exit code.
# CTest uses it as the emulator of the cross builds.
set -uo pipefail
here=$(dirname "$0")
source "$here/wine-env.sh"
[ -f "$AUTOPAUSE_WINE_DIR/display" ] || "$here/wine-bench.sh" start >&2 || exit 1
source "$here/wine-env.sh"
out=$(mktemp) err=$(mktemp)
# Output goes through files: Wine's helper processes must not inherit our pipes.
"$WINE" "$@" </dev/null >"$out" 2>"$err"
rc=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $rc
