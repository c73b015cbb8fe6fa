#!/usr/bin/env bash
# End-to-end checks of the real package stub under Wine: the demo packages
# unpack complete into %TEMP%\TARNOsetup (a temporary folder whose path holds
# blanks), stale files are replaced, damaged or hostile packages are refused
# with a non-zero exit and nothing written, and the stub imports only KERNEL32
# and the C runtime.
#
#   tests/e2e/package_stub_test.sh [WIN32_BUILD]     (default build/win32)
#
# Prints PASS/FAIL per check and exits non-zero when any check fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win32}
stub=$build/package/pkgstub.exe
medium=$build/medium
payloads=$root/examples/payload

fails=0
passes=0
pass() { echo "PASS: $*"; passes=$((passes + 1)); }
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

for f in "$stub" "$medium/HWin2K.drv"; do
  if [ ! -f "$f" ]; then
    echo "FAIL: missing $f (build the win32 tree first)"
    echo "0 passed, 1 failed"
    exit 1
  fi
done

# ---- Import table ------------------------------------------------------------
dlls=$(i686-w64-mingw32-objdump -p "$stub" | awk '/DLL Name:/ {print toupper($3)}' | sort -u | tr '\n' ' ')
check "stub imports only KERNEL32 and msvcrt (found: $dlls)" test "$dlls" = "KERNEL32.DLL MSVCRT.DLL "

# ---- A Wine prefix of our own, with a temporary folder holding blanks ----------
work=$(mktemp -d /tmp/pkgstub-e2e.XXXXXX)
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
temp_win='C:\Temp Folder With Blanks'
wine reg add 'HKCU\Environment' /v TEMP /d "$temp_win" /f >/dev/null 2>&1
wine reg add 'HKCU\Environment' /v TMP /d "$temp_win" /f >/dev/null 2>&1
wineserver -w
drive_c=$WINEPREFIX/drive_c
temp_unix="$drive_c/Temp Folder With Blanks"
mkdir -p "$temp_unix"
unpack="$temp_unix/TARNOsetup"
medium_win='C:\Demo Medium'
medium_unix="$drive_c/Demo Medium"
mkdir -p "$medium_unix"

run_stub() {  # run_stub FILE_IN_MEDIUM -> exit code of the stub
  wine "$medium_win\\$1" >/dev/null 2>&1
}

tree() { (cd "$1" && find . -mindepth 1 -printf '%y %p\n' | sort); }

reported_temp=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
check "the prefix's temporary folder holds blanks ($reported_temp)" test "$reported_temp" = "$temp_win"

# ---- Every demo package unpacks complete, over stale contents ----------------
for pkg in HWin2K NT40H HWin95 Win2K NT40E Win95; do
  cp "$medium/$pkg.drv" "$medium_unix/$pkg.exe"
  mkdir -p "$unpack/stale folder"
  echo "left from an earlier run" > "$unpack/stale folder/old.dll"
  # A file the package also holds, with other contents: it must be replaced.
  mkdir -p "$unpack/drivers/data"
  echo "stale data" > "$unpack/drivers/data/DL5100.INI"
  run_stub "$pkg.exe"
  rc=$?
  check "$pkg: stub exits 0 (got $rc)" test "$rc" = 0
  check "$pkg: unpack folder holds exactly the package's files, byte for byte" \
    diff -r "$payloads/$pkg" "$unpack"
done

# ---- Damaged and hostile packages: refused, nothing written --------------------
snapshot() { (cd "$drive_c" && find . -printf '%y %s %p\n' | sort; cat "$unpack"/drivers/data/* 2>/dev/null) | md5sum; }

refused() {  # refused NAME FILE: the stub exits non-zero and changes nothing
  local name=$1 file=$2 before after rc
  cp "$file" "$medium_unix/bad.exe"
  before=$(snapshot)
  run_stub bad.exe
  rc=$?
  after=$(snapshot)
  check "$name: refused with a non-zero exit (got $rc)" test "$rc" != 0
  check "$name: nothing written or removed" test "$before" = "$after"
}

good=$medium/Win2K.drv
size=$(stat -c %s "$good")
stub_size=$(stat -c %s "$stub")

cp "$good" "$work/flipped"
printf '\xff' | dd of="$work/flipped" bs=1 seek=$((stub_size + 100)) conv=notrunc status=none
refused "flipped payload byte" "$work/flipped"

head -c $((size - 1)) "$good" > "$work/truncated"
refused "truncated package" "$work/truncated"

head -c $((size - 500)) "$good" > "$work/cut"
tail -c 16 "$good" >> "$work/cut"
refused "payload cut short, trailer kept" "$work/cut"

refused "stub without a payload" "$stub"

# Hostile names, each in a payload that is otherwise perfect (right CRCs).
craft() {  # craft NAME OUT: stub + a one-file payload whose entry is NAME
  python3 - "$stub" "$1" "$2" <<'EOF'
import struct, sys, zlib
stub, name, out = sys.argv[1], sys.argv[2].encode(), sys.argv[3]
content = b"planted by a hostile package\r\n"
ok = b"README.TXT"
def rec(n, data, off):
    return struct.pack("<HBBIIII", len(n), 0, 0, len(data), len(data), zlib.crc32(data), off) + n
table = rec(ok, content, 0) + rec(name, content, len(content))
data = content + content
payload = b"TPKG" + struct.pack("<HHIIII", 1, 24, 2, len(table), len(data), len(data)) + table + data
with open(stub, "rb") as f:
    image = f.read()
with open(out, "wb") as f:
    f.write(image + payload + struct.pack("<II", len(payload), zlib.crc32(payload)) + b"TPKEND01")
EOF
}
i=0
for name in '..\evil.txt' '../evil.txt' 'drivers\..\..\evil.txt' 'C:\evil.txt' 'C:evil.txt' \
            '\evil.txt' 'evil.txt:stream' '.. \evil.txt' 'drivers\NUL'; do
  i=$((i + 1))
  craft "$name" "$work/hostile$i"
  refused "entry name '$name'" "$work/hostile$i"
done
check "no planted file anywhere on drive C: outside the medium" \
  test -z "$(grep -rl --exclude-dir='Demo Medium' 'planted by a hostile' "$drive_c" 2>/dev/null)"

# The same crafted layout with a harmless name is accepted: the refusals
# above are about the names, not about the crafting.
craft 'drivers\SAFE.TXT' "$work/crafted-ok"
cp "$work/crafted-ok" "$medium_unix/ok.exe"
run_stub ok.exe
rc=$?
check "crafted package with safe names: exit 0 (got $rc)" test "$rc" = 0
check "crafted package with safe names: its file is there" test -f "$unpack/drivers/SAFE.TXT"

echo "$passes passed, $fails failed"
[ "$fails" = 0 ]
