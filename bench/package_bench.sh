#!/usr/bin/env bash
# Driver package figures on a reference payload of real files: stub size,
# package size beside zip, gzip, xz and 7z, and unpack speed beside zlib.
#
#   bench/package_bench.sh [NATIVE_BUILD] [WIN32_BUILD]
# (defaults build/native and build/win32; both must have been built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=${1:-$root/build/native}
win32=${2:-$root/build/win32}
pkgbuild=$native/package/pkgbuild
bench=$native/bench/pkg_bench
stub=$win32/package/pkgstub.exe
for f in "$pkgbuild" "$bench" "$stub"; do
  [ -e "$f" ] || { echo "package bench: missing $f (run scripts/build.sh first)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/pkgbench.XXXXXX)
trap 'rm -rf "$work"' EXIT
ref=$work/ref
mkdir -p "$ref/drivers/i386" "$ref/drivers/data"

# Reference payload: printing-related Windows DLLs from the Wine packages and
# a PostScript printer description from Debian's PPD collection.
wine_dlls=/usr/lib/i386-linux-gnu/wine/i386-windows
for dll in compstui.dll printui.dll winprint.dll; do
  cp "$wine_dlls/$dll" "$ref/drivers/i386/"
done
ppd_driver=/usr/lib/cups/driver/postscript-hp
ppd_uri=$(python3 "$ppd_driver" list | head -1 | cut -d'"' -f2)
python3 "$ppd_driver" cat "$ppd_uri" > "$ref/drivers/data/PRINTER.PPD"

files_bytes=$(find "$ref" -type f -printf '%s\n' | awk '{s+=$1} END {print s}')
"$pkgbuild" "$stub" "$ref" "$work/REF.drv" >/dev/null
stub_bytes=$(stat -c %s "$stub")
pkg_bytes=$(stat -c %s "$work/REF.drv")
payload_bytes=$((pkg_bytes - stub_bytes))

(cd "$ref" && zip -q -9 -r -X "$work/ref.zip" .)
tar -C "$ref" --sort=name --owner=0 --group=0 --numeric-owner --mtime=@0 -cf "$work/ref.tar" .
gzip -9 -n -c "$work/ref.tar" > "$work/ref.tar.gz"
xz -9 -c "$work/ref.tar" > "$work/ref.tar.xz"
(cd "$ref" && 7zz a -bd -bso0 -mx=9 "$work/ref.7z" . >/dev/null)

row() { awk -v n="$1" -v b="$2" -v t="$files_bytes" 'BEGIN { printf "  %-34s %10d  %6.1f%%\n", n, b, b * 100 / t }'; }
echo "== driver package =="
printf '  %-34s %10s  (goal <= 32768)\n' "stub (pkgstub.exe)" "$stub_bytes"
echo "  reference payload: $(find "$ref" -type f | wc -l) files, $files_bytes bytes"
printf '  %-34s %10s  %7s\n' "format" "bytes" "of files"
row "package payload (package - stub)" "$payload_bytes"
row "package with stub" "$pkg_bytes"
row "zip -9" "$(stat -c %s "$work/ref.zip")"
row "gzip -9 of a tar" "$(stat -c %s "$work/ref.tar.gz")"
row "xz -9 of a tar" "$(stat -c %s "$work/ref.tar.xz")"
row "7z -mx=9" "$(stat -c %s "$work/ref.7z")"
zip_bytes=$(stat -c %s "$work/ref.zip")
if [ "$payload_bytes" -lt "$zip_bytes" ]; then verdict="smaller"; else verdict="NOT smaller"; fi
echo "  payload is $verdict than zip -9 by $((zip_bytes - payload_bytes)) bytes"
if [ -f "$win32/medium/Install.exe" ]; then
  install_bytes=$(stat -c %s "$win32/medium/Install.exe")
  ini_bytes=$(stat -c %s "$win32/medium/SETUP.INI")
  echo "  diskette headroom (1457664 - Install.exe - SETUP.INI - package - 300000 margin):" \
       "$((1457664 - install_bytes - ini_bytes - pkg_bytes - 300000)) bytes"
fi
echo "== unpack speed (native, best of repeated runs) =="
"$bench" "$work/REF.drv" "$work/unpack" | sed 's/^/  /'
