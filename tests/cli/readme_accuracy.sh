#!/usr/bin/env bash
# The README's Accuracy section shows exactly what tavimor-convert --accuracy prints: the
# indented block that follows the line introducing it (the one that names `tavimor-convert
# --accuracy` and ends with a colon), without its indent.
#
# Usage: readme_accuracy.sh COMMAND README
set -u
export LC_ALL=C

command=$1
readme=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk '
  /^## / { section = $0; intro = 0; next }
  section != "## Accuracy" { next }
  !intro && /tavimor-convert --accuracy`/ { intro = 1 }
  intro == 1 && /:$/ { intro = 2; next }
  intro == 2 && /^    / { print substr($0, 5); held = ""; started = 1; next }
  intro == 2 && started && /^$/ { print ""; next }
  intro == 2 && started { exit }
' "$readme" | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' >"$work/readme_block"
if [ ! -s "$work/readme_block" ]; then
  echo "FAIL: $readme has no indented block after the --accuracy introduction in ## Accuracy"
  exit 1
fi
if ! "$command" --accuracy >"$work/output"; then
  echo "FAIL: $command --accuracy failed"
  exit 1
fi
if ! cmp -s "$work/readme_block" "$work/output"; then
  echo "FAIL: the README's accuracy table differs from the output (README, output):"
  diff "$work/readme_block" "$work/output" | sed 's/^/    /'
  exit 1
fi
echo "ok   the README's accuracy table is the output of --accuracy"
