#!/usr/bin/env bash
# ARCHITECTURE.md stays true: every src/ folder it names exists, every src/ folder is named,
# and every file under src/ it names exists.
set -euo pipefail
root=${1:?usage: architecture_map_test.sh SOURCE_DIR}
map="$root/ARCHITECTURE.md"
status=0
named=$(grep -oE '(^|[^/A-Za-z0-9_])src/[A-Za-z0-9_./*-]*' "$map" | sed 's/^[^s]*//; s/[.,;:)]*$//' |
  sort -u)
for path in $named; do
  folder=$(echo "$path" | cut -d/ -f1-2)
  if [ ! -d "$root/$folder" ]; then echo "ARCHITECTURE.md names $folder, which does not exist"; status=1; fi
  if [ "$path" != "$folder" ] && [ "$path" != "$folder/" ] && ! compgen -G "$root/$path" >/dev/null; then
    echo "ARCHITECTURE.md names $path, which does not exist"; status=1
  fi
done
for dir in "$root"/src/*/; do
  folder="src/$(basename "$dir")"
  if ! grep -q "\`$folder\`\|^$folder " "$map"; then echo "$folder is not in ARCHITECTURE.md"; status=1; fi
done
exit "$status"
