#!/usr/bin/env bash
# Runs the golden cases of one case file against the command and reports every difference.
#
# Usage: run_golden_cases.sh COMMAND CASE_FILE
#
# A case file holds one or more cases. Lines starting with "#" and blank lines are ignored.
#   case: NAME        starts a case
#   args: ARGS        the arguments, split at blanks; quotes group as in xargs
#   stdin: TEXT       standard input, with printf %b escapes (\n, \r, \t, \xHH); default empty
#   out: LINE         one expected line of standard output (%b escapes); none: no output
#   out-part: TEXT    expected standard output without a line feed after it (%b escapes)
#   out-has: TEXT     standard output must contain TEXT (and is then not compared whole)
#   err: LINE         one expected line of standard error; when any is given, stderr must match
#   err-has: TEXT     standard error must contain TEXT
#   exit: CODE        expected exit code (default 0)
# The file fails when it holds no case, so a mistyped file cannot pass silently. The command
# runs in the case file's folder, so that arguments can name files beside it.
set -u
export LC_ALL=C

command=$1
case_file=$2
# Both stay valid after the change of folder.
case $command in /* | */*) command=$(realpath "$command") ;; esac
case_file=$(realpath "$case_file")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cases=0
failures=0
name=""

reset_case() {
  args_line=""
  stdin_text=""
  : >"$work/expected_out"
  : >"$work/expected_err"
  has_out=0
  has_err=0
  err_has=()
  out_has=()
  expected_exit=0
}

run_case() {
  [ -n "$name" ] || return 0
  cases=$((cases + 1))
  local -a args=()
  if [ -n "$args_line" ]; then
    mapfile -d '' args < <(printf '%s' "$args_line" | xargs printf '%s\0')
  fi
  printf '%b' "$stdin_text" >"$work/stdin"
  (cd "$(dirname "$case_file")" && "$command" "${args[@]}") <"$work/stdin" >"$work/out" 2>"$work/err"
  local code=$?
  local failed=0
  if [ "$code" -ne "$expected_exit" ]; then
    echo "FAIL [$name]: exit code $code, expected $expected_exit"
    failed=1
  fi
  if [ "${#out_has[@]}" -eq 0 ] && ! cmp -s "$work/out" "$work/expected_out"; then
    echo "FAIL [$name]: standard output differs (expected, actual):"
    diff "$work/expected_out" "$work/out" | sed 's/^/    /'
    failed=1
  fi
  if [ "$has_err" -eq 1 ] && ! cmp -s "$work/err" "$work/expected_err"; then
    echo "FAIL [$name]: standard error differs (expected, actual):"
    diff "$work/expected_err" "$work/err" | sed 's/^/    /'
    failed=1
  fi
  local text
  for text in "${out_has[@]}"; do
    if ! grep -qF -- "$text" "$work/out"; then
      echo "FAIL [$name]: standard output lacks \"$text\""
      failed=1
    fi
  done
  for text in "${err_has[@]}"; do
    if ! grep -qF -- "$text" "$work/err"; then
      echo "FAIL [$name]: standard error lacks \"$text\":"
      sed 's/^/    /' "$work/err"
      failed=1
    fi
  done
  if [ "$failed" -eq 0 ]; then echo "ok   [$name]"; fi
  failures=$((failures + failed))
}

reset_case
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in
    '' | '#'*) ;;
    'case:'*)
      run_case
      reset_case
      name=${line#case:}
      name=${name# }
      ;;
    'args:'*) args_line=${line#args:} ;;
    'stdin:'*)
      stdin_text=${line#stdin:}
      stdin_text=${stdin_text# }
      ;;
    'out:'*)
      text=${line#out:}
      printf '%b\n' "${text# }" >>"$work/expected_out"
      ;;
    'out-part:'*)
      text=${line#out-part:}
      printf '%b' "${text# }" >>"$work/expected_out"
      ;;
    'err:'*)
      text=${line#err:}
      printf '%b\n' "${text# }" >>"$work/expected_err"
      has_err=1
      ;;
    'out-has:'*)
      text=${line#out-has:}
      out_has+=("${text# }")
      ;;
    'err-has:'*)
      text=${line#err-has:}
      err_has+=("${text# }")
      ;;
    'exit:'*) expected_exit=$(( ${line#exit:} )) ;;
    *)
      echo "FAIL: $case_file: line not understood: $line"
      failures=$((failures + 1))
      ;;
  esac
done <"$case_file"
run_case

if [ "$cases" -eq 0 ]; then
  echo "FAIL: $case_file holds no case"
  exit 1
fi
echo "$cases case(s), $failures failed"
[ "$failures" -eq 0 ]
