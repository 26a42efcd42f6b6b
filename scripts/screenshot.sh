#!/usr/bin/env bash
# Starts a program on a virtual X display with a window manager (so that window captions are drawn),
# waits, and saves a screenshot of the whole screen.
#   scripts/screenshot.sh OUT.png [SECONDS] -- PROGRAM [ARGS...]
# XDOTOOL_KEYS="type 3b2" (optional) is run through xdotool against the active window before the shot.
set -euo pipefail
out=$1; shift
wait=3
if [ "${1:-}" != "--" ]; then wait=$1; shift; fi
[ "${1:-}" = "--" ] && shift
disp=:$((90 + RANDOM % 100))
Xvfb "$disp" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
trap 'kill $ppid $wpid $xpid 2>/dev/null || true' EXIT
sleep 0.5
DISPLAY=$disp openbox >/dev/null 2>&1 &
wpid=$!
sleep 0.5
env -u QT_QPA_PLATFORM DISPLAY=$disp "$@" >/dev/null 2>&1 &
ppid=$!
sleep "$wait"
if [ -n "${XDOTOOL_KEYS:-}" ]; then
  DISPLAY=$disp xdotool $XDOTOOL_KEYS || true
  sleep 1
fi
DISPLAY=$disp /usr/bin/import -window root "$out"
echo "$out"
