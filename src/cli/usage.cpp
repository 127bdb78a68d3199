#include "cli/usage.h"

namespace tavimor {

std::string_view ConvertUsage() {
  return R"(Usage: tavimor-convert [OPTIONS] [VALUE...]
       tavimor-convert --csv|--tsv|--delimiter C --column N|NAME [OPTIONS]
Converts each VALUE, or with no VALUE each line of standard input (or of
--input FILE), from the From unit to the To unit and prints one line per value,
in order: the result as the Moisture/Humidity panel shows it, or "error" (the
reason goes to standard error as "line N: ...", N counting the values, or the
lines of the input).
A line ends with LF, CR LF or a lone CR (old Mac files).
With --csv, --tsv or --delimiter the input is a table (RFC 4180: quoted cells,
doubled quotes, line breaks in quotes, CR LF, LF or CR, a byte-order mark kept):
each row is printed as it came, with the result for its cell in --column as a
new last cell ("error" where that cell is missing, empty or no number, with the
reason on standard error); blank lines stay as they are. A row of a pipe or a
terminal is written as soon as it has come.

Moisture units (index or name):
   0 mbar         partial water vapour pressure, mbar
   1 dfp-c        dew/frost point, °C
   2 dfp-f        dew/frost point, °F
   3 dp-c         dew point over supercooled water, °C
   4 dp-f         dew point over supercooled water, °F
   5 ppmv         parts per million by volume
   6 ppmw         parts per million by weight in a gas (--from-mw, --to-mw)
   7 lb-mmscf     lb of water per million standard cubic feet of natural gas
   8 g-m3         grams of water per cubic metre (--*-medium, --*-vapor-temp)
   9 rh           percent relative humidity (--from-ambient, --to-ambient)
  10 ppmw-liquid  parts per million by weight in a liquid (--from-k, --to-k)
Pressure units (index or name): 0 mbar, 1 psia, 2 psig, 3 atm, 4 kpa

Options:
  --from UNIT, --to UNIT   units to convert from and to (default 1, dfp-c)
  --measured P[,UNIT]      measured total pressure (default 1013.25,mbar)
  --compute-at P[,UNIT]    pressure to compute the result at (default: measured)
  --formula F              goff-gratch (default), hyland-wexler, sonntag, magnus
  --enhancement E          none (default), greenspan, bogel
  --gas-method M           igt (default), astm
  --from-mw MW             molecular weight of the carrier gas, g/mol (default 29)
  --from-k K               Henry's constant of the liquid, ppm/mbar (default 1.9)
  --from-ambient T         dry-bulb temperature for %RH, °C (default 20)
  --from-medium M          medium for g/m3: natural-gas (default), air, vapor
  --from-vapor-temp T      vapour temperature for g/m3, °C (default 20)
  --to-mw, --to-k, --to-ambient, --to-medium, --to-vapor-temp
                           the same for the To unit
  --ini FILE               start from the selections saved in FILE (section
                           Tavimor of an INI file); the other options override them
  --increment D            after the result, a tab and the change of the result
                           when the value changes by D (in a table: a second new
                           cell)
  --raw                    results with 17 significant digits, not rounded
  --spread                 after the result (and delta), a tab and "MIN … MAX": the
                           smallest and largest result over the 4 formulas and 3
                           enhancement choices; with --raw then, tab-separated, the
                           12 results in the order goff-gratch, hyland-wexler,
                           sonntag, magnus, each with none, greenspan, bogel
  --uncertainty U          the value's expanded uncertainty in the From unit (U%:
                           in percent of the value): after the result (and delta
                           and spread), a tab and the low and high end of the
                           result's 95 % coverage interval, tab-separated (with
                           --raw then its standard uncertainty), or "interval
                           reaches out of range" (see Uncertainty below)
  --measured-uncertainty U[,UNIT]
                           the measured pressure's expanded uncertainty, in its
                           unit or in UNIT (U%: in percent of the pressure)
  --compute-at-uncertainty U[,UNIT]
                           the same for the pressure of --compute-at
  --coverage-factor K      the coverage factor k of every U (default 2): a
                           standard uncertainty is U/k
  --include-formula        count the spread over the 4 formulas and 3
                           enhancement choices too, as a rectangular
                           distribution; the interval is then centred on the
                           middle of the spread
  --accuracy               print each formula's and enhancement factor's largest
                           deviation from published reference values, and exit
  --input FILE             read FILE instead of standard input
  --progress               with --input, show the progress on standard error
                           when it is a terminal
  --threads N              threads converting the input, 1 to 16 (default 2);
                           the output is the same with any number
  -h, --help               print this help
  --version                print the name and version of the program
  --                       end of options: every later argument is a VALUE

Tables:
  --csv, --tsv             cells separated by commas, or by tabs
  --delimiter C            cells separated by the character C (\t: a tab)
  --column N|NAME          the column to convert: its number from 1, or its name
                           in the header row
  --header yes|no|auto     whether the first row is a header; auto (default):
                           yes when a column is chosen by name or the chosen
                           column's cell in it is no number
  --measured-column N|NAME each row's measured total pressure, in the unit of
                           --measured (mbar without it)
  --compute-at-column N|NAME
                           each row's pressure to compute at, in the unit of
                           --compute-at (mbar without it)
  --uncertainty-column N|NAME
                           each row's --uncertainty: U, or U% of the value
  --output-header TEXT     header of the new cell (default: the To unit, such as
                           "ppmv" or "dew point °C"; "delta ..." for the delta,
                           "low 95 % ...", "high 95 % ..." and "u ..." for the
                           interval)
  --replace                write the result into the converted cell instead
A row's pressures are read like the panel's pressure field; a pressure cell that
is no number or not above 0 mbar gives "error". The header row, or else the
first row, decides the columns: a column it lacks, a name it lacks or a name two
of its columns share is a usage error; a later row without the column gets
"error". A row may be up to 64 MiB long; a longer one gets "error" and is
copied as it came.

Uncertainty: the value and the pressures are drawn as normal distributions
(standard uncertainty U/k) 100000 times with the fixed seed 22, and each draw
is converted as the panel converts; the interval holds the middle 95 % of the
results. Where only the value is uncertain and the conversion is monotonic,
the interval is the conversion of the value's own interval, exactly. Where a
draw leaves the From unit's range or has no result, or a formula choice has
none, the ends are not known: "interval reaches out of range". Each value
costs 100000 conversions: milliseconds where one takes nanoseconds.

A VALUE may be negative (-40). Numbers are read like the panel's fields: the
longest numeric prefix of the first 14 characters counts. A value outside the
From unit's range (for example above 123.4 mbar) is an error.
Exit status: 0 all converted, 1 some value gave "error", 2 usage error, 3 the
results could not be written (a full disk, a closed pipe): stopped at once.

Converting a table: a logger file with the dew point in °C in column 2 and the
line pressure in psig in column 3, converted to ppmv at each row's pressure:
  tavimor-convert --csv --input logger.csv --column 2 --from dfp-c --to ppmv \
      --measured-column 3 --measured 0,psig > logger-ppmv.csv
)";
}

std::string_view ConvertUsageHint() {
  return "Usage: tavimor-convert [OPTIONS] [VALUE...]\n"
         "Try 'tavimor-convert --help' for more information.\n";
}

}  // namespace tavimor
