#!/usr/bin/env bash
# A write that fails stops tavimor-convert at once with "cannot write the results: REASON"
# and exit status 3: into a full disk (/dev/full) and, with SIGPIPE ignored, into a pipe
# whose reader has gone. The inputs are endless, so a command that went on would hang (and
# be stopped by timeout, status 124).
#
# Usage: write_failure.sh COMMAND
set -u
export LC_ALL=C
command=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cases=0
failures=0
# name, script run by bash with $1 = the command (its status is the case's), expected reason
check() {
  cases=$((cases + 1))
  local status
  timeout 30 bash -c "$2" _ "$command" 2>"$work/err"
  status=$?
  local expected="tavimor-convert: cannot write the results: $3"
  if [ "$status" -ne 3 ] || ! grep -qxF "$expected" "$work/err"; then
    failures=$((failures + 1))
    echo "FAIL [$1]: status $status, standard error:"
    sed 's/^/    /' "$work/err"
  else
    echo "ok   [$1]"
  fi
}

full="No space left on device"
check "lines into a full disk" 'yes 5 2>/dev/null | "$1" --from mbar >/dev/full' "$full"
check "values of the command line into a full disk" '"$1" 20 -20 >/dev/full' "$full"
check "a table into a full disk" \
  'yes 20,1013 2>/dev/null | "$1" --csv --column 1 --measured-column 2 --from dp-c >/dev/full' \
  "$full"
check "--help into a full disk" '"$1" --help >/dev/full' "$full"
check "--version into a full disk" '"$1" --version >/dev/full' "$full"
check "--accuracy into a full disk" '"$1" --accuracy >/dev/full' "$full"

# The status of the command in the middle of the pipe is the case's.
pipe='trap "" PIPE; yes '"'"'20,1013'"'"' 2>/dev/null | "$1" ARGS | head -1 >/dev/null
      exit "${PIPESTATUS[1]}"'
check "lines into a reader that has gone" "${pipe/ARGS/--from dp-c}" "Broken pipe"
check "a table into a reader that has gone" "${pipe/ARGS/--csv --column 1 --from dp-c}" \
  "Broken pipe"

echo "$cases case(s), $failures failed"
[ "$failures" -eq 0 ]
