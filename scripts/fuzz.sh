#!/usr/bin/env bash
# Builds the driver package reader's fuzzer (clang, libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer) in build/fuzz and runs it.
#
#   scripts/fuzz.sh            a bounded run (20000 inputs), as the tests do
#   scripts/fuzz.sh 5000000    a longer run
#   scripts/fuzz.sh 0          no bound: until a fault or Ctrl-C
#
# New inputs that reach new code collect in build/fuzz/corpus; the committed
# seeds in tests/fuzz/corpus are only read. A fault leaves a crash-* file in
# build/fuzz and a non-zero exit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20000}
out=$root/build/fuzz
mkdir -p "$out/corpus"

bin=$out/payload_fuzz
srcs=("$root/tests/fuzz/payload_fuzz.cpp" "$root/package/pkgformat.cpp" "$root/package/pkgunpack.cpp")
if [ ! -x "$bin" ] || [ -n "$(find "${srcs[@]}" "$root/package/pkgformat.h" "$root/package/pkgunpack.h" -newer "$bin")" ]; then
  clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/package" "${srcs[@]}" -lz -o "$bin"
fi

cd "$out"
args=(-max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)
if [ "$runs" != 0 ]; then args+=(-runs="$runs"); fi
rc=0
"$bin" "${args[@]}" "$out/corpus" "$root/tests/fuzz/corpus" >"$out/last-run.log" 2>&1 || rc=$?
grep -E '^(#[0-9]+.*DONE|Done|stat::|==[0-9]+==|SUMMARY|unpack path)' "$out/last-run.log" || true
if [ "$rc" -ne 0 ]; then
  echo "fuzz: FAILED (exit $rc); full log in $out/last-run.log"
  exit 1
fi
echo "fuzz: passed $runs runs"
