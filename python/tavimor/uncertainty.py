"""How sure a converted value is: the uncertainties of the value and the pressures carried
through the conversion, as tavimor-convert --uncertainty carries them."""

from __future__ import annotations

import numbers
from dataclasses import dataclass
from typing import Any, NamedTuple

import numpy as np

from . import _engine
from .conversion import (_DEFAULTS, _Column, _errors, _raise_first_problem, _settings,
                         _threads, _with_settings_keywords)

__all__ = ["Contribution", "Uncertainty", "uncertainty"]

# The keywords of the uncertainties, chosen per call; the request's fields, with its defaults.
_KEYWORDS = ("u", "measured_u", "compute_at_u", "coverage_factor", "include_formula")
# The inputs whose contributions a result names, in the engine's order, and the keyword that
# makes each uncertain.
_INPUTS = (("value", "u"), ("measured", "measured_u"), ("compute_at", "compute_at_u"),
           ("formula", "include_formula"))


def _is_default(name, value):
    default = _DEFAULTS[name]
    if value is None or default is None:
        return value is default
    return isinstance(value, numbers.Real) and value == default


def _given(uncertainties):
    """The uncertainty keywords that differ from their defaults."""
    for name in uncertainties:
        if name not in _KEYWORDS:
            raise TypeError(f"unexpected keyword argument {name!r}")
    return {name: value for name, value in uncertainties.items() if not _is_default(name, value)}


def _conversion_with(settings, uncertainties):
    """The engine's conversion of settings with the uncertainties: the settings' own when
    none is given."""
    given = _given(uncertainties)
    if not given:
        return settings._conversion
    return _engine.Conversion({**settings._keywords, **given})


class Contribution(NamedTuple):
    """One input's share of the result's standard uncertainty, by the law of propagation of
    uncertainty: value = sensitivity × standard_uncertainty.

    standard_uncertainty  the input's: in the From unit for the value, in mbar for a
                          pressure, in the To unit for the formula (the spread over the 12
                          choices taken as rectangular: its width / sqrt(12))
    sensitivity           the result's change per unit of the input, by finite differences;
                          1 for the formula; NaN where the shifted conversions give no answer
                          or the input's uncertainty is 0
    value                 their product, in the To unit (0 where the uncertainty is 0)
    """

    standard_uncertainty: Any
    sensitivity: Any
    value: Any


@dataclass(frozen=True)
class Uncertainty:
    """A converted value with its uncertainty: floats and bools for a scalar, else arrays of
    the input's shape.

    estimate              the result as tavimor.convert gives it; with include_formula the
                          middle of the spread over the 12 formula choices
    standard_uncertainty  the standard deviation of the 10^5 Monte Carlo results
    low, high             the 95 % coverage interval: the conversion of the value's own 95 %
                          interval where only the value is uncertain and the conversion is
                          monotonic (exact is then True), else the probabilistically
                          symmetric interval of the Monte Carlo results
    reaches_out_of_range  some draws leave the From unit's range or have no result, or a
                          formula choice has none: the statistics are then those of the
                          draws that answer, and the interval is not that of the whole
                          distribution (tavimor-convert says "interval reaches out of
                          range"); True also where the result itself has no answer
    exact                 low and high are the image of the value's interval
    linear_standard_uncertainty
                          the root sum of squares of the contributions: the law of
                          propagation of uncertainty, for comparison
    contributions         a dict of Contribution by input, for the inputs made uncertain:
                          "value" (u), "measured" (measured_u), "compute_at"
                          (compute_at_u), "formula" (include_formula)

    NaN throughout for a value without a number or outside the From unit's range; where the
    result has no answer everything but reaches_out_of_range is NaN.
    """

    estimate: Any
    standard_uncertainty: Any
    low: Any
    high: Any
    reaches_out_of_range: Any
    exact: Any
    linear_standard_uncertainty: Any
    contributions: dict


def uncertainty(values, from_unit, to_unit, *, u=_DEFAULTS["u"],
                measured_u=_DEFAULTS["measured_u"], compute_at_u=_DEFAULTS["compute_at_u"],
                coverage_factor=_DEFAULTS["coverage_factor"],
                include_formula=_DEFAULTS["include_formula"], errors="nan", threads=None,
                **options):
    """Convert moisture values with their uncertainty: the estimate, its standard
    uncertainty, the 95 % coverage interval and each input's contribution.

    u                expanded uncertainty of the value, in the From unit: a number, a text
                     such as "5%" (in percent of the value), or an array of numbers whose
                     shape broadcasts to the values' (one per value)
    measured_u       expanded uncertainty of the measured pressure: a number in its unit,
                     a text in percent ("1%") or in a pressure unit of its own ("0.5,psia")
    compute_at_u     the same for compute_at, which it needs (computing at the measured
                     pressure, the two are one quantity with measured_u)
    coverage_factor  k of every expanded uncertainty: a standard uncertainty is U / k
                     (default 2)
    include_formula  count the spread over the 4 formulas and 3 enhancement choices as a
                     rectangular distribution (GUM 4.3.7); the estimate is then its middle

    The value and the pressures are drawn 10^5 times from normal distributions, with the
    fixed seed 22, and each draw is converted exactly as tavimor.convert converts (JCGM
    101:2008, Monte Carlo propagation), bit for bit what tavimor-convert --uncertainty
    --raw prints. Each value costs 10^5 conversions (a few milliseconds); arrays run on
    several threads (threads=None: one per core, at most 16) without the GIL. The other
    arguments are those of tavimor.convert; a value outside the From unit's range gives NaN
    (errors="raise": ValueError).

    >>> r = tavimor.uncertainty(-60, "dfp-c", "ppmv", u=2)
    >>> tavimor.format([r.estimate, r.low, r.high], "ppmv")
    array(['10.65', '8.149', '13.85'], dtype=object)
    >>> round(r.contributions["value"].value, 3)
    1.444
    """
    _errors(errors)
    settings = _settings(from_unit, to_unit, options)
    column = _Column(values)
    keywords = {"u": u, "measured_u": measured_u, "compute_at_u": compute_at_u,
                "coverage_factor": coverage_factor, "include_formula": include_formula}
    each_u = None
    if u is not None and not isinstance(u, str) and np.ndim(u) > 0:
        each_u = np.ascontiguousarray(
            np.broadcast_to(np.asarray(u, dtype=np.float64), column.shape)).reshape(-1)
        keywords["u"] = None
    engine = _engine.Uncertainty({**settings._keywords, **keywords})
    statistics, out_of_range, exact, shares, status = engine.propagate(
        column.flat, each_u, _threads(threads))
    if errors == "raise":
        _raise_first_problem(settings, column, status)

    def shaped(flat, kind=float):
        return kind(flat[0]) if column.scalar else np.ascontiguousarray(flat).reshape(column.shape)

    contributions = {}
    for index, (name, keyword) in enumerate(_INPUTS):
        if keyword == "u" and each_u is not None or not _is_default(keyword, keywords[keyword]):
            contributions[name] = Contribution(*(shaped(shares[:, index, k]) for k in range(3)))
    estimate, standard, low, high, linear = (shaped(statistics[:, k]) for k in range(5))
    return Uncertainty(estimate, standard, low, high, shaped(out_of_range, bool),
                       shaped(exact, bool), linear, contributions)


_with_settings_keywords(uncertainty)
