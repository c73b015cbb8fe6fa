#!/usr/bin/env bash
# The main job: builds everything and starts Install.exe under Wine beside
# the demo medium. With a display the dialog appears there; without one it
# runs under a private X server and a screenshot of the dialog is saved.
#   scripts/demo.sh [en|ko]      (default: the language of your locale)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"

case "${1:-}" in
  ko) locale=ko_KR.UTF-8 ;;
  en) locale=en_US.UTF-8 ;;
  "") case "${LANG:-}" in ko_KR*) locale=ko_KR.UTF-8 ;; *) locale=en_US.UTF-8 ;; esac ;;
  *) echo "usage: $0 [en|ko]" >&2; exit 2 ;;
esac

medium="$root/build/win32/medium"
demo="$root/build/demo"
mkdir -p "$demo"
export WINEPREFIX="$demo/prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=$locale LANG=$locale

xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
  for n in $(seq 70 99); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
  export DISPLAY=":$n"
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  # The dialog's Korean font, mapped onto an installed Korean font.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "굴림" /d NanumGothic /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1 </dev/null
  # Wine draws the caption bar itself, so it shows without a window manager.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  wineserver -w
fi

cd "$medium"
if [ "$headless" = 0 ]; then
  echo "Starting Install.exe in $medium ($locale)"
  wine Install.exe </dev/null
  exit 0
fi

wine Install.exe </dev/null >/dev/null 2>&1 &
window=
for _ in $(seq 150); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -E '"[^"]*(Printer Driver Install|프린터 드라이버 설치)"' | awk '{print $1}' | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "The setup dialog did not appear within 30 s." >&2
  exit 1
fi
sleep 1
shot="$demo/setup-dialog-${locale%%_*}.png"
import -window "$window" "$shot"
echo "No display: the dialog ran under Xvfb; its screenshot is $shot"
