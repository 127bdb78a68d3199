#!/usr/bin/env bash
# ARCHITECTURE.md stays true: every src/ folder it names exists, every src/ folder is named,
# and every file under src/ it names exists. Its table of arrows holds: each arrow is a link
# or an include, and every include from one layer into another has its arrow.
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

# The arrows: the lines "FOLDER  targets -> FOLDER, FOLDER" of the table.
arrows=$(grep -E '^(src/[a-z]+|python/|web/) .* -> ' "$map" |
  sed -E 's/^([^ ]+) .* -> (.*)$/\1 \2/; s/,//g; s#^(python|web)/#\1#')
# The layers a folder includes ("core/x.h" is src/core) and links (tavimor_core is src/core).
includes() {
  grep -rhoE '^#include "[a-z]+/' "$root/$1" --include='*.cpp' --include='*.h' |
    sed -E 's/#include "([a-z]+)\//src\/\1/' | sort -u || true
}
links() {
  tr '\n' ' ' <"$root/$1/CMakeLists.txt" | grep -oE 'target_link_libraries\([^)]*\)' |
    grep -oE 'tavimor_[a-z]+' | sed 's/^tavimor_/src\//' | sort -u || true
}
while read -r folder targets; do
  inc=$(includes "$folder")
  lnk=$(links "$folder")
  for target in $targets; do
    case $target in src/*) ;; *) continue ;; esac
    if ! grep -qx -- "$target" <<<"$inc" && ! grep -qx -- "$target" <<<"$lnk"; then
      echo "ARCHITECTURE.md: $folder -> $target, but $folder neither includes nor links it"
      status=1
    fi
  done
  for layer in $inc; do
    [ "$layer" = "$folder" ] && continue
    [ -d "$root/$layer" ] || continue
    if ! grep -qw -- "$layer" <<<"$targets"; then
      echo "$folder includes $layer, but ARCHITECTURE.md has no arrow $folder -> $layer"
      status=1
    fi
  done
done <<<"$arrows"
for dir in "$root"/src/*/ "$root"/python/ "$root"/web/; do
  folder=$(realpath --relative-to="$root" "$dir")
  if ! grep -q "^$folder " <<<"$arrows"; then echo "$folder has no line of arrows"; status=1; fi
done
exit "$status"
