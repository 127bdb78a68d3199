"""How far the choice of saturation formula and enhancement factor moves a conversion."""

from __future__ import annotations

from dataclasses import dataclass
from typing import Any, Literal, Optional

from . import _engine
from .conversion import (Unit, _Column, _errors, _raise_first_problem, _settings, _threads,
                         _with_settings_keywords)

__all__ = ["COMBINATIONS", "Spread", "spread"]

# The (formula, enhancement) pairs of the spread, in the order of its results: formula by
# formula, each with no enhancement factor, Greenspan, Bögel.
COMBINATIONS: tuple[tuple[str, str], ...] = _engine.COMBINATIONS


# The choices the spread runs over, which its caller therefore does not make.
_SPREAD_OVER = ("formula", "enhancement")


@dataclass(frozen=True)
class Spread:
    """The results of a conversion under each of the 12 choices of formula and enhancement
    factor (tavimor.COMBINATIONS), and the smallest and largest of them.

    results          for a scalar an array of 12, else an array of the input's shape plus
                     an axis of 12; NaN where a choice gives no answer
    min, max         the smallest and largest result: floats for a scalar, else arrays of
                     the input's shape; NaN where no choice gives an answer
    min_combination  which choice gives min (the first in the order where several do): for
    max_combination  a scalar its (formula, enhancement) pair or None, else an int array of
                     indices into tavimor.COMBINATIONS, -1 where there is none
    """

    results: Any
    min: Any
    max: Any
    min_combination: Any
    max_combination: Any


def spread(values: Any, from_unit: Unit, to_unit: Unit, *, raw: bool = True,
           errors: Literal["nan", "raise"] = "nan", threads: Optional[int] = None,
           **options: Any) -> Spread:
    """Convert moisture values under each of the 4 saturation formulas and 3 enhancement
    choices, to see how far the choice moves the result.

    Returns a tavimor.Spread: the 12 results in the order of tavimor.COMBINATIONS, their
    minimum and maximum, and the combinations giving those. Each result is what
    tavimor.convert gives with that formula and enhancement, bit for bit (what
    tavimor-convert --spread --raw prints); with raw=False the number the panel would show.
    Where the choice cannot matter, all 12 are the same: with a natural-gas unit (lb/MMSCF,
    or g/m³ of natural gas), which the program converts with plain Goff-Gratch, or between
    units that need no saturation pressure.

    The other arguments are those of tavimor.convert, without formula and enhancement: the
    spread runs over all of them. values may be a number, a sequence, a NumPy array of any
    shape or a pandas Series, numbers or texts, read as tavimor.convert reads them; a value
    outside the From unit's range gives NaN throughout (errors="raise": ValueError), and
    large arrays run on several threads.

    >>> s = tavimor.spread(-80, "dfp-c", "ppmv", measured=20000)
    >>> tavimor.format([s.min, s.max], "ppmv")
    array(['0.02661', '0.03232'], dtype=object)
    >>> s.min_combination, s.max_combination
    (('magnus', 'none'), ('hyland-wexler', 'greenspan'))
    """
    for chosen in _SPREAD_OVER:
        if chosen in options:
            raise TypeError(f"spread() got an unexpected keyword argument {chosen!r}")
    _errors(errors, ("nan", "raise"))
    settings = _settings(from_unit, to_unit, options)
    column = _Column(values)
    results, low, high, low_at, high_at, status = settings._conversion.spread(
        column.flat, not raw, _threads(threads))
    if errors == "raise":
        _raise_first_problem(settings, column, status)
    if column.scalar:
        def pair(index):
            return None if index < 0 else COMBINATIONS[index]
        return Spread(results[0], float(low[0]), float(high[0]), pair(int(low_at[0])),
                      pair(int(high_at[0])))
    shape = column.shape
    return Spread(results.reshape(shape + (len(COMBINATIONS),)), low.reshape(shape),
                  high.reshape(shape), low_at.reshape(shape), high_at.reshape(shape))


_with_settings_keywords(spread, leave_out=_SPREAD_OVER)
