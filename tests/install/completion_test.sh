#!/usr/bin/env bash
# The bash completion of tavimor-convert, run the way bash runs it, against the real program.
#
# Usage: completion_test.sh COMPLETION_FILE TAVIMOR_CONVERT
set -u
# shellcheck source=/dev/null
source "$1"
program=$2
failures=0

# check "WORDS BEFORE THE CURSOR" "WORD AT THE CURSOR" "EXPECTED, SORTED"
check() {
  local -a before
  read -ra before <<<"$1"
  COMP_WORDS=("$program" "${before[@]}" "$2")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tavimor_convert "$program" "$2" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  got=${got% }
  if [ "$got" != "$3" ]; then
    echo "FAIL [$1 | $2]: got \"$got\", expected \"$3\""
    failures=$((failures + 1))
  else
    echo "ok   [$1 | $2]"
  fi
}

check "" "--fr" "--from --from-ambient --from-k --from-medium --from-mw --from-vapor-temp"
check "20" "--vers" "--version"
check "--raw" "-h" "-h"
check "--from" "dp" "dp-c dp-f"
check "--to =" "ppmw" "ppmw ppmw-liquid"
check "--measured" "2,ps" "2,psia 2,psig"
check "--compute-at" "2" ""
check "--formula" "" "goff-gratch hyland-wexler magnus sonntag"
check "--enhancement" "g" "greenspan"
check "--gas-method" "" "astm igt"
check "--to-medium" "" "air natural-gas vapor"
check "--threads" "1" "1 10 11 12 13 14 15 16"
check "--ini" "${1%/*}/tavimor-co" "${1%/*}/tavimor-convert"
check "-- --from" "-" ""

echo "$failures failed"
[ "$failures" -eq 0 ]
