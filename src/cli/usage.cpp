#include "cli/usage.h"

namespace tavimor {

std::string_view ConvertUsage() {
  return R"(Usage: tavimor-convert [OPTIONS] [VALUE...]
Converts each VALUE, or with no VALUE each line of standard input, from the From
unit to the To unit and prints one line per value, in order: the result as the
Moisture/Humidity panel shows it, or "error" (the reason goes to standard error
as "line N: ...", N counting the values, or the lines of standard input).

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
                           when the value changes by D
  --raw                    results with 17 significant digits, not rounded
  --spread                 after the result (and delta), a tab and "MIN … MAX": the
                           smallest and largest result over the 4 formulas and 3
                           enhancement choices; with --raw then, tab-separated, the
                           12 results in the order goff-gratch, hyland-wexler,
                           sonntag, magnus, each with none, greenspan, bogel
  --accuracy               print each formula's and enhancement factor's largest
                           deviation from published reference values, and exit
  --threads N              threads converting standard input, 1 to 16 (default 2);
                           the output is the same with any number
  -h, --help               print this help
  --version                print the name and version of the program
  --                       end of options: every later argument is a VALUE

A VALUE may be negative (-40). Numbers are read like the panel's fields: the
longest numeric prefix of the first 14 characters counts. A value outside the
From unit's range (for example above 123.4 mbar) is an error.
Exit status: 0 all converted, 1 some value gave "error", 2 usage error.
)";
}

std::string_view ConvertUsageHint() {
  return "Usage: tavimor-convert [OPTIONS] [VALUE...]\n"
         "Try 'tavimor-convert --help' for more information.\n";
}

}  // namespace tavimor
