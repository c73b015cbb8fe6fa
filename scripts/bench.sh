#!/usr/bin/env bash
# Builds both trees and prints every benchmark's figures beside its anchors:
# each bench/*.sh in turn.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" >/dev/null
status=0
for b in "$root"/bench/*.sh; do
  bash "$b" || status=1
done
exit $status
