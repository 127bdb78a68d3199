#!/usr/bin/python3
"""Writes the reference values the saturation formulas and enhancement factors are judged by.

Run once, by hand, with Debian's python3-iapws (apt-get install python3-iapws; it is installed
for /usr/bin/python3, not for a python3 of pyenv or a virtual environment):

    /usr/bin/python3 resources/reference/make_saturation_reference.py

It writes, next to itself, saturation_reference.csv (one row per value, each with its source)
and src/core/saturation_reference_table.h (the same numbers for the program, which needs no
Python at run time). Both files are committed; run the script again only to change the table.

Sources:
- Over liquid water from 1 to 100 °C: IAPWS-95 (W. Wagner and A. Pruss, J. Phys. Chem. Ref.
  Data 31 (2002) 387-535), the saturation pressure from the phase-equilibrium condition
  (Maxwell criterion) as python3-iapws solves it (IAPWS95(T=..., x=0).P).
- Over supercooled water from -40 to 0 °C, below the triple point 273.16 K where the library
  refuses IAPWS-95: D. M. Murphy and T. Koop, "Review of the vapour pressures of ice and
  supercooled water for atmospheric applications", Q. J. R. Meteorol. Soc. 131 (2005)
  1539-1565, eq. (10), stated for 123 K < T < 332 K. Above 273.16 K it agrees with IAPWS-95
  within 5e-5 (checked here at 1, 5, 10, 20 and 50 °C).
- Over ice from -100 to 0 °C: IAPWS Revised Release on the Pressure along the Melting and
  Sublimation Curves of Ordinary Water Substance (2011), sublimation-pressure equation (6),
  as python3-iapws implements it (_Sublimation_Pressure).
- Enhancement factors f = x_w * P / p_sat of saturated CO2-free air: from the IAPWS Guideline
  on an Equation of State for Humid Air in Contact with Seawater and Ice (2010; R. Feistel et
  al., Ocean Sci. 6 (2010) 91-141), the humid-air Helmholtz function of python3-iapws
  (HumidAir._fav, built on IAPWS-95, the Lemmon et al. 2000 dry-air equation and the
  air-water cross virial coefficients), in equilibrium with liquid water (IAPWS-95) above
  0 °C and with ice Ih (IAPWS-06) below: the water mass fraction at which the chemical
  potential of water in the humid air equals that of the condensed phase at (T, P). Air
  dissolved in the condensed phase is neglected, as in that guideline.
"""

import math
import pathlib
import warnings

import iapws
from iapws._iapws import _Ice, _Sublimation_Pressure
from iapws.humidAir import HumidAir
from iapws.iapws95 import IAPWS95
from scipy.optimize import brentq

HERE = pathlib.Path(__file__).resolve().parent
CSV_PATH = HERE / "saturation_reference.csv"
HEADER_PATH = HERE.parent.parent / "src" / "core" / "saturation_reference_table.h"

SOURCE_IAPWS95 = "IAPWS-95 saturation (Wagner & Pruss 2002); python3-iapws"
SOURCE_MURPHY_KOOP = "Murphy & Koop 2005 QJRMS 131:1539 eq. 10"
SOURCE_SUBLIMATION = "IAPWS 2011 melting/sublimation release eq. 6; python3-iapws"
SOURCE_HUMID_AIR = "IAPWS 2010 humid-air guideline (Feistel et al. 2010) + IAPWS-95/IAPWS-06"

WATER_TEMPERATURES_C = range(-40, 101)
ICE_TEMPERATURES_C = range(-100, 1)
ENHANCEMENT_TEMPERATURES_C = (-80, -60, -40, -20, -10, 10, 20, 30, 50, 70, 90)
ENHANCEMENT_PRESSURES_MBAR = (1013.25, 5000.0, 10000.0, 20000.0)

MW = 18.015268  # g/mol, water (IAPWS)
MA = 28.96546  # g/mol, dry air (IAPWS 2010 humid-air guideline)
R = 8.314472  # J/(mol K), as in python3-iapws' humid-air code


def murphy_koop_water_pa(T):
    """Murphy and Koop (2005) eq. (10): vapour pressure over liquid water, T in K, result in Pa."""
    return math.exp(54.842763 - 6763.22 / T - 4.210 * math.log(T) + 0.000367 * T +
                    math.tanh(0.0415 * (T - 218.8)) *
                    (53.878 - 1331.22 / T - 9.44523 * math.log(T) + 0.014025 * T))


def water_mbar(t_c):
    T = t_c + 273.15
    if T < 273.16:
        return murphy_koop_water_pa(T) / 100, SOURCE_MURPHY_KOOP
    return IAPWS95(T=T, x=0).P * 1e4, SOURCE_IAPWS95


def ice_mbar(t_c):
    return _Sublimation_Pressure(t_c + 273.15) * 1e4, SOURCE_SUBLIMATION


HUMID_AIR = HumidAir()


def humid_air_density(T, p_mpa, a):
    """Density (kg/m³) of humid air with dry-air mass fraction a at (T, P) by Newton's method."""
    molar_mass = 1 / (a / MA + (1 - a) / MW)
    rho = p_mpa * 1e6 * molar_mass * 1e-3 / (R * T)
    for _ in range(50):
        f = HUMID_AIR._fav(T, rho, a)
        residual = rho**2 * f["fird"] / 1000 - p_mpa
        slope = (2 * rho * f["fird"] + rho**2 * f["firdd"]) / 1000
        step = residual / slope
        rho -= step
        if abs(step) < 1e-14 * rho:
            return rho
    raise RuntimeError("humid-air density did not converge")


def enhancement_factor(t_c, p_mbar):
    T = t_c + 273.15
    p_mpa = p_mbar / 1e4
    if T < 273.16:
        p_sat = _Sublimation_Pressure(T)
        g_condensed = _Ice(T, p_mpa)["g"]
    else:
        p_sat = IAPWS95(T=T, x=0).P
        g_condensed = IAPWS95(T=T, P=p_mpa).g

    def chemical_potential_difference(w):  # w: water mass fraction of the humid air
        a = 1 - w
        rho = humid_air_density(T, p_mpa, a)
        f = HUMID_AIR._fav(T, rho, a)
        return g_condensed - (f["fir"] + rho * f["fird"] - a * f["fira"])

    x_ideal = p_sat / p_mpa
    w_ideal = x_ideal * MW / (x_ideal * MW + (1 - x_ideal) * MA)
    w = brentq(chemical_potential_difference, 0.9 * w_ideal, min(1.5 * w_ideal, 0.999),
               xtol=1e-20, rtol=1e-14)
    x_water = (w / MW) / (w / MW + (1 - w) / MA)
    return x_water * p_mpa / p_sat


def main():
    warnings.simplefilter("ignore")
    water = [(t, *water_mbar(t)) for t in WATER_TEMPERATURES_C]
    ice = [(t, *ice_mbar(t)) for t in ICE_TEMPERATURES_C]
    enhancement = [(t, p, enhancement_factor(t, p))
                   for t in ENHANCEMENT_TEMPERATURES_C for p in ENHANCEMENT_PRESSURES_MBAR]

    with open(CSV_PATH, "w", encoding="utf-8", newline="\n") as out:
        out.write(f"# Written by make_saturation_reference.py with python3-iapws (module "
                  f"version {iapws.__version__}); the script's docstring names each source.\n")
        out.write("# kind,t_c,pressure_mbar,value,source\n")
        out.write("# water/ice: value = saturation vapour pressure of the pure phase, mbar "
                  "(pressure_mbar empty)\n")
        out.write("# enhancement: value = enhancement factor of CO2-free air at pressure_mbar, "
                  "over ice below 0 degC and over water above\n")
        for t, value, source in water:
            out.write(f"water,{t},,{value!r},{source}\n")
        for t, value, source in ice:
            out.write(f"ice,{t},,{value!r},{source}\n")
        for t, p, value in enhancement:
            out.write(f"enhancement,{t},{p!r},{value!r},{SOURCE_HUMID_AIR}\n")

    def rows(values):
        return "\n".join(f"    {{{t}, {v!r}}}," for t, v, _ in values)

    enhancement_rows = "\n".join(f"    {{{t}, {p!r}, {f!r}}}," for t, p, f in enhancement)
    HEADER_PATH.write_text(f"""\
// Written by resources/reference/make_saturation_reference.py with python3-iapws (module
// version {iapws.__version__}); resources/reference/saturation_reference.csv holds the same
// numbers with each row's source. Do not edit.
#pragma once

namespace tavimor::saturation_reference {{

// One row a line, as in the CSV.
// clang-format off

struct PressureRow {{
  double TempC;
  double PressureMbar;
}};

struct EnhancementRow {{
  double TempC;
  double PressureMbar;  // total pressure of the air
  double Factor;
}};

// Over liquid water: IAPWS-95 from 1 °C, Murphy and Koop (2005) eq. (10) to 0 °C.
inline constexpr PressureRow kWater[] = {{
{rows(water)}
}};

// Over ice Ih: IAPWS 2011 sublimation-pressure equation.
inline constexpr PressureRow kIce[] = {{
{rows(ice)}
}};

// Saturated CO2-free air, IAPWS 2010 humid-air guideline; over ice below 0 °C.
inline constexpr EnhancementRow kEnhancement[] = {{
{enhancement_rows}
}};

// clang-format on

}}  // namespace tavimor::saturation_reference
""", encoding="utf-8")


if __name__ == "__main__":
    main()
