"""The steps inside a conversion: saturation vapour pressure and the dew- and frost-point
searches, for those who need them on their own."""

from __future__ import annotations

from typing import Any

import numpy as np

from . import _engine
from .conversion import _DEFAULTS, Errors, _errors

_MISS = _engine.MISS
_saturation_one = _engine.saturation_one
_dew_point_one = _engine.dew_point_one

_FORMULA = _DEFAULTS["formula"]
_ENHANCEMENT = _DEFAULTS["enhancement"]
_PRESSURE = _DEFAULTS["measured"]

__all__ = ["saturation_pressure", "dew_point", "frost_point"]


def _columns(*values):
    """The arguments broadcast to one shape, as flat float64 columns."""
    arrays = np.broadcast_arrays(*(np.asarray(v, dtype=np.float64) for v in values))
    shape = arrays[0].shape
    return shape, [np.ascontiguousarray(a).reshape(-1) for a in arrays]


def _answer(shape, inputs, flat, errors):
    """The results shaped as the arguments broadcast, with errors= applied: NaN where a step
    has no result; "raise": ValueError for the first; "reason": the reasons beside."""
    result = float(flat[0]) if shape == () else flat.reshape(shape)
    if errors == "nan":
        return result
    missing = np.isnan(inputs[0]) | np.isnan(inputs[1])
    failed = np.isnan(flat)
    if errors == "raise":
        if failed.any():
            i = int(np.argmax(failed))
            where = "" if shape == () else f" at index {np.unravel_index(i, shape)}"
            reason = "not a number" if missing[i] else "out of range"
            raise ValueError(f"value {inputs[0][i]!r}{where}: {reason}")
        return result
    reasons = np.full(flat.shape, None, dtype=object)
    reasons[failed] = "out of range"
    reasons[missing] = "not a number"
    return result, (reasons[0] if shape == () else reasons.reshape(shape))


def saturation_pressure(t_c: Any, *, formula: str = _FORMULA, over: str = "water",
                        enhancement: str = _ENHANCEMENT, pressure: Any = _PRESSURE,
                        errors: Errors = "nan") -> Any:
    """Saturation vapour pressure in mbar at t_c (°C), times the enhancement factor at the
    total pressure (mbar), as every conversion computes it.

    over="water": over liquid water, supercooled below 0 °C, as the dew-point units and
    relative humidity use it (Hyland and Wexler take ice below 0 °C here, as the program
    does). over="auto": over ice below 0 °C and over water from 0 °C on, as the dew/frost-
    point units use it. over="ice": the same below 0 °C, NaN from 0 °C on.

    formula: "goff-gratch", "hyland-wexler", "sonntag", "magnus"; enhancement: "none",
    "greenspan", "bogel". t_c and pressure broadcast against each other; a float comes
    back for scalars, else an array. NaN where there is no saturation pressure: t_c or the
    total pressure not a finite number (the pressure not above 0), a result not above 0;
    errors="raise" raises ValueError for the first instead, errors="reason" returns the
    reasons beside ("not a number", "out of range"), as tavimor.convert does.

    >>> tavimor.saturation_pressure(20)   # Goff-Gratch, 23.3585 mbar
    23.358...
    """
    result = _saturation_one(t_c, pressure, formula, enhancement, over, errors)
    if result is not _MISS:
        return result
    _errors(errors)
    shape, (t, p) = _columns(t_c, pressure)
    return _answer(shape, (t, p), _engine.saturation_pressure(t, p, formula, enhancement, over),
                   errors)


def dew_point(pw_mbar: Any, *, pressure: Any = _PRESSURE, formula: str = _FORMULA,
              enhancement: str = _ENHANCEMENT, errors: Errors = "nan") -> Any:
    """Dew point in °C over (supercooled) water of a partial water vapour pressure pw_mbar
    at a total pressure (mbar): the program's search, a multiple of 0.01 °C between -140
    and +60 °C, or NaN where it finds none. Arguments broadcast; see saturation_pressure
    for formula, enhancement and errors.

    >>> tavimor.dew_point(1.0)
    -22.59
    """
    return _dew_point(pw_mbar, pressure, formula, enhancement, False, errors)


def frost_point(pw_mbar: Any, *, pressure: Any = _PRESSURE, formula: str = _FORMULA,
                enhancement: str = _ENHANCEMENT, errors: Errors = "nan") -> Any:
    """Dew/frost point in °C of a partial water vapour pressure pw_mbar: over ice below
    0 °C, over water above (the unit "dfp-c"); otherwise as dew_point.

    >>> tavimor.frost_point(1.0)
    -20.32
    """
    return _dew_point(pw_mbar, pressure, formula, enhancement, True, errors)


def _dew_point(pw_mbar, pressure, formula, enhancement, frost, errors):
    result = _dew_point_one(pw_mbar, pressure, formula, enhancement, frost, errors)
    if result is not _MISS:
        return result
    _errors(errors)
    shape, (x, p) = _columns(pw_mbar, pressure)
    return _answer(shape, (x, p), _engine.dew_point(x, p, formula, enhancement, frost), errors)
