#!/usr/bin/env bash
# Runs every test: the native unit tests, then the end-to-end tests of the
# real programs under Wine. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
bash "$root/scripts/build.sh"

status=0
(cd "$root/build/native" && ctest --output-on-failure -j "$(nproc)") || status=1
bash "$root/scripts/fuzz.sh" || status=1
bash "$root/tests/e2e/package_stub_test.sh" "$root/build/win32" || status=1
python3 "$root/tests/e2e/run.py" --build "$root/build" || status=1

echo "test command finished in $(( $(date +%s) - start )) s, status $status"
exit $status
