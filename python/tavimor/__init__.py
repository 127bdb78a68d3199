"""Tavimor's moisture engine for Python: conversions between eleven moisture units with four
saturation-vapour-pressure formulas, enhancement factors and natural-gas methods, exactly
as the Tavimor program and tavimor-convert compute them.

    >>> import tavimor
    >>> tavimor.convert(20, "dp-c", "ppmv")
    23596.998046875
    >>> tavimor.format(tavimor.convert([20, -40], "dp-c", "ppmv"), "ppmv")
    array(['23597.0', '186.5'], dtype=object)

Conversions: convert, increment, convert_text, format, Settings (and Settings.from_ini),
Params. The choice of formula: spread (a Spread, in the order of COMBINATIONS). How sure a
result is: uncertainty (an Uncertainty, with each input's Contribution). Steps:
saturation_pressure, dew_point, frost_point. Dask: tavimor.dask.
Names: UNITS, PRESSURE_UNITS, FORMULAS, ENHANCEMENTS, GAS_METHODS, MEDIA, COMBINATIONS.
"""

from . import dask
from ._engine import ENHANCEMENTS, FORMULAS, GAS_METHODS, MEDIA, PRESSURE_UNITS, UNITS
from .conversion import Params, Settings, convert, convert_text, format, increment
from .spread import COMBINATIONS, Spread, spread
from .steps import dew_point, frost_point, saturation_pressure
from .uncertainty import Contribution, Uncertainty, uncertainty

# format and dask stay out of a star import, which would hide the built-in format and the
# dask package.
__all__ = [
    "convert", "increment", "convert_text", "Settings", "Params", "spread", "Spread",
    "uncertainty", "Uncertainty", "Contribution",
    "saturation_pressure", "dew_point", "frost_point",
    "UNITS", "PRESSURE_UNITS", "FORMULAS", "ENHANCEMENTS", "GAS_METHODS", "MEDIA",
    "COMBINATIONS",
]
