#!/usr/bin/env bash
# Takes a screenshot of the main window with each category shown, under a virtual X server.
# Needs xvfb, xdotool and imagemagick. Usage: docs/take_screenshots.sh [path/to/tavimor]
set -euo pipefail
cd "$(dirname "$0")/.."
app=${1:-build/src/app/tavimor}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
for shot in 1001:moisture 1002:temperature 1003:pressure 1004:analog; do
  category=${shot%%:*}
  name=${shot##*:}
  printf '[Tavimor]\nConvCategory=%s\n' "$category" >"$work/$name.ini"
  # shellcheck disable=SC2016  # expanded by the inner shell
  xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
    "$1" --ini "$2" & pid=$!
    wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1)
    sleep 1
    import -window "$wid" "$3"
    kill "$pid"' _ "$app" "$work/$name.ini" "docs/screenshot-$name.png"
  echo "wrote docs/screenshot-$name.png"
done
