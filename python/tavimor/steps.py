"""The steps inside a conversion: saturation vapour pressure and the dew- and frost-point
searches, for those who need them on their own."""

from __future__ import annotations

import numpy as np

from . import _engine
from .conversion import _DEFAULTS

_FORMULA = _DEFAULTS["formula"]
_ENHANCEMENT = _DEFAULTS["enhancement"]
_PRESSURE = _DEFAULTS["measured"]

__all__ = ["saturation_pressure", "dew_point", "frost_point"]


def _columns(*values):
    """The arguments broadcast to one shape, as flat float64 columns."""
    arrays = np.broadcast_arrays(*(np.asarray(v, dtype=np.float64) for v in values))
    shape = arrays[0].shape
    return shape, [np.ascontiguousarray(a).reshape(-1) for a in arrays]


def _shaped(shape, flat):
    return float(flat[0]) if shape == () else flat.reshape(shape)


def saturation_pressure(t_c, *, formula=_FORMULA, over="water", enhancement=_ENHANCEMENT,
                        pressure=_PRESSURE):
    """Saturation vapour pressure in mbar at t_c (°C), times the enhancement factor at the
    total pressure (mbar), as every conversion computes it.

    over="water": over liquid water, supercooled below 0 °C, as the dew-point units and
    relative humidity use it (Hyland and Wexler take ice below 0 °C here, as the program
    does). over="auto": over ice below 0 °C and over water from 0 °C on, as the dew/frost-
    point units use it. over="ice": the same below 0 °C, NaN from 0 °C on.

    formula: "goff-gratch", "hyland-wexler", "sonntag", "magnus"; enhancement: "none",
    "greenspan", "bogel". t_c and pressure broadcast against each other; a float comes
    back for scalars, else an array.

    >>> tavimor.saturation_pressure(20)   # Goff-Gratch, 23.3585 mbar
    23.358...
    """
    shape, (t, p) = _columns(t_c, pressure)
    return _shaped(shape, _engine.saturation_pressure(t, p, formula, enhancement, over))


def dew_point(pw_mbar, *, pressure=_PRESSURE, formula=_FORMULA, enhancement=_ENHANCEMENT):
    """Dew point in °C over (supercooled) water of a partial water vapour pressure pw_mbar
    at a total pressure (mbar): the program's search, a multiple of 0.01 °C between -140
    and +60 °C, or NaN where it finds none. Arguments broadcast; see saturation_pressure
    for formula and enhancement.

    >>> tavimor.dew_point(1.0)
    -22.59
    """
    shape, (x, p) = _columns(pw_mbar, pressure)
    return _shaped(shape, _engine.dew_point(x, p, formula, enhancement, False))


def frost_point(pw_mbar, *, pressure=_PRESSURE, formula=_FORMULA, enhancement=_ENHANCEMENT):
    """Dew/frost point in °C of a partial water vapour pressure pw_mbar: over ice below
    0 °C, over water above (the unit "dfp-c"); otherwise as dew_point.

    >>> tavimor.frost_point(1.0)
    -20.32
    """
    shape, (x, p) = _columns(pw_mbar, pressure)
    return _shaped(shape, _engine.dew_point(x, p, formula, enhancement, True))
