#!/bin/sh
# The desktop program started without any display must explain itself, point to the
# command-line converter and fail with code 2, not abort.
app=$1
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" 2>&1)
rc=$?
printf '%s\n' "$out"
[ "$rc" -eq 2 ] || { echo "exit code $rc, expected 2"; exit 1; }
printf '%s\n' "$out" | grep -q 'tavimor-convert' || { echo "no pointer to tavimor-convert"; exit 1; }
