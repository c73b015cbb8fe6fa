#!/usr/bin/env bash
# Installs everything the project needs on a fresh Debian machine. Idempotent:
# a second run only checks and returns.
set -euo pipefail

need_root() { if [ "$(id -u)" -ne 0 ]; then echo "sudo"; fi; }
SUDO=$(need_root)

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  g++-mingw-w64-i686 binutils-mingw-w64-i686 libz-mingw-w64-dev
  libgtest-dev googletest
  clang libclang-rt-14-dev llvm
  zlib1g-dev
  wine wine32:i386
  xvfb xauth x11-utils
  fonts-nanum
  imagemagick
  locales
  zip gzip xz-utils 7zip
  libdeflate-dev printer-driver-postscript-hp
  file python3
)

# The stamp carries a hash of this script, so a changed package list installs again.
stamp=/var/tmp/.setup-bootstrap-$(sha1sum "$0" | cut -c1-12)
if [ -f "$stamp" ]; then
  exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${PACKAGES[@]}" >/dev/null

# Wine mangles non-ASCII arguments and file names without real UTF-8 locales.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR.utf8$' || ! locale -a | grep -qi '^en_US.utf8$' || ! locale -a | grep -qi '^ja_JP.utf8$'; then
  for l in en_US ko_KR ja_JP en_GB; do
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null || echo "$l.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
fi

$SUDO touch "$stamp"
