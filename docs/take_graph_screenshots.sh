#!/usr/bin/env bash
# Screenshots of the moisture graph under a virtual X server: a dew/frost point to ppmv
# conversion with its isobars, the same while the zoom button is held, and a natural-gas
# pair under ASTM. Needs xvfb, xdotool and imagemagick.
# Usage: docs/take_graph_screenshots.sh [path/to/tavimor]
set -euo pipefail
cd "$(dirname "$0")/.."
app=${1:-build/src/app/tavimor}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[Tavimor]\nConvCategory=1001\nFromDew=-20,1\nToDew=0,5\nIsoAndPrsr=1013,1017\n' \
  >"$work/graph.ini"
printf '[Tavimor]\nConvCategory=1001\nFromDew=20,7\nToDew=0,4\nIsoAndPrsr=1013,1017\nEquDensity=1026\n' \
  >"$work/gas.ini"
shoot() {  # ini, output, "zoom" to hold the zoom button down
  # shellcheck disable=SC2016  # expanded by the inner shell
  xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
    "$1" --ini "$2" & pid=$!
    wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -1)
    xdotool windowfocus --sync "$wid"
    sleep 1
    if [ "$4" = zoom ]; then
      xdotool mousemove --window "$wid" 40 282 mousedown 1
      sleep 0.5
    fi
    import -window "$wid" "$3"
    kill "$pid"' _ "$app" "$1" "$2" "${3:-}"
  echo "wrote $2"
}
shoot "$work/graph.ini" docs/screenshot-moisture-graph.png
shoot "$work/graph.ini" docs/screenshot-moisture-graph-zoomed.png zoom
shoot "$work/gas.ini" docs/screenshot-moisture-natural-gas.png
