#!/usr/bin/env bash
# testing/compare_command.sh OLD NEW [LINES]
# Runs two tavimor-convert binaries on the same inputs and compares standard output, standard
# error and exit status byte for byte: LINES mixed lines (default 1000000) under seven option
# sets that cover every unit family, the formulas, factors, methods, media, the pressure units,
# --increment, --raw, --spread, --ini and 1 to 3 threads; then generated tables with a
# pressure column under the table options. Prints one line per run and exits 1 on any
# difference. Not part of ctest: it takes minutes and needs a second binary.
set -uo pipefail
old=$(realpath "$1")
new=$(realpath "$2")
lines=${3:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
here=$(cd "$(dirname "$0")" && pwd)
fixtures=$here/../tests/cli/fixtures

# Deterministic mixed input: numbers over many decades and signs, exponent forms, text, blanks,
# CR LF and lone CR line ends, huge and tiny numbers, a long line.
/usr/bin/python3 - "$lines" >"$work/mixed.txt" <<'PY'
import random, sys
rng = random.Random(20261210)
n = int(sys.argv[1])
words = ["abc", "enter new val", "N/A", "", "   ", "+7", "-0", "5.", ".5", "1e39", "-1e39",
         "1e-40", "inf", "nan", "0x10", "12abc", " 20", "\t-40", "1e308", "-1e308", "4.9e-324",
         "9" * 30, "-" * 3, "1,5"]
out = []
for i in range(n):
    r = rng.random()
    if r < 0.55:
        v = rng.uniform(-120, 120)
    elif r < 0.75:
        v = 10 ** rng.uniform(-6, 6)
    elif r < 0.85:
        v = -(10 ** rng.uniform(-6, 6))
    else:
        v = None
    if v is None:
        s = rng.choice(words)
    else:
        fmt = rng.choice(["%.2f", "%.6g", "%.3e", "%g", "%.10f"])
        s = fmt % v
    end = rng.choice(["\n"] * 18 + ["\r\n", "\r"])
    out.append(s + end)
out.append("1" * 5000 + "\n")
sys.stdout.write("".join(out))
PY

cat >"$work/saved.ini" <<'INI'
[Tavimor]
ConvCategory=1001
IsoAndPrsr=1013,1017
FromDew=-20,3
ToDew=0,7
FromPrs=100,2
ToPrs=5,3
TDensity=1040,25,1039,-10
MW=2,28,15,44
TAmbient=1034,30,1033,25
Henry=1029,6.2,1019,15.5
EquSWVP=1021,1025
EquDensity=1026
MediumDensity=1037,1036
INI

option_sets=(
  "--from dp-c --to ppmv --threads 1"
  "--from ppmv --to dfp-c --formula hyland-wexler --enhancement greenspan --measured 100,psig --compute-at 2,atm --increment 0.5 --threads 2"
  "--from lb-mmscf --to dp-f --gas-method astm --measured 800,psig --raw --threads 3"
  "--from rh --to ppmw --from-ambient 30 --to-mw 16 --formula sonntag --enhancement bogel --increment -1 --threads 2"
  "--from g-m3 --to ppmw-liquid --from-medium air --from-vapor-temp 25 --to-k 6.2 --formula magnus --measured 500,kpa --raw --threads 1"
  "--from mbar --to g-m3 --to-medium vapor --to-vapor-temp -10 --measured 14.7,psia --spread --threads 2"
  "--ini $work/saved.ini --from dfp-f --to lb-mmscf --increment 2 --threads 3"
)

failed=0
compare() {  # name, input file, options...
  local name=$1 input=$2
  shift 2
  "$old" "$@" <"$input" >"$work/old.out" 2>"$work/old.err"
  local old_status=$?
  "$new" "$@" <"$input" >"$work/new.out" 2>"$work/new.err"
  local new_status=$?
  if [ "$old_status" = "$new_status" ] && cmp -s "$work/old.out" "$work/new.out" &&
    cmp -s "$work/old.err" "$work/new.err"; then
    echo "same: $name (status $new_status, $(wc -l <"$work/new.out") lines)"
  else
    failed=1
    echo "DIFFERENT: $name (status $old_status -> $new_status)"
    cmp "$work/old.out" "$work/new.out" | head -1
    cmp "$work/old.err" "$work/new.err" | head -1
  fi
}

for options in "${option_sets[@]}"; do
  # shellcheck disable=SC2086  # the option sets are split on purpose
  compare "lines: $options" "$work/mixed.txt" $options
done

# Tables: a logger-like file with a header and a psig column, and the fixtures.
/usr/bin/python3 - >"$work/table.csv" <<'PY'
import random
rng = random.Random(7)
print('"time","dewpoint","line pressure (psig)","note"')
for i in range(50000):
    dp = "%.2f" % rng.uniform(-90, 30) if rng.random() > 0.02 else rng.choice(["", "x", "-"])
    p = "%.1f" % rng.uniform(0, 1500) if rng.random() > 0.02 else rng.choice(["", "0", "-5"])
    note = rng.choice(["", "ok", '"a, b"', '"two\nlines"'])
    print(f"{i},{dp},{p},{note}", end=rng.choice(["\n", "\r\n"]))
PY
table_sets=(
  "--csv --column 2 --measured-column 3 --measured 0,psig --from dfp-c --to ppmv"
  "--csv --column DewPoint --from dp-c --to lb-mmscf --gas-method astm --measured-column 3 --measured 0,psig --raw --increment 1"
  "--csv --column 2 --compute-at-column 3 --compute-at 0,psig --from dfp-c --to dfp-c --replace --threads 3"
)
for options in "${table_sets[@]}"; do
  # shellcheck disable=SC2086
  compare "table: $options" "$work/table.csv" $options
done
compare "fixture logger.csv" "$fixtures/logger.csv" --csv --column 2 --measured-column 3 \
  --measured 0,psig --from dfp-c --to ppmv
compare "fixture values.txt" "$fixtures/values.txt" --from dp-c --to ppmv --raw

exit "$failed"
