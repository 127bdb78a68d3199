"""Moisture conversions on Tavimor's engine: the path of the panel and of tavimor-convert."""

from __future__ import annotations

import dataclasses
import inspect
import numbers
import os
import warnings
from collections.abc import Mapping
from dataclasses import dataclass, field
from typing import TYPE_CHECKING, Any, Literal, Optional, Union

import numpy as np

from . import _engine
from . import _units

__all__ = ["Params", "Settings", "convert", "convert_text", "increment", "format"]

# The request's fields as (keyword, key, command option, default): the keywords here and the
# options of tavimor-convert reach the same fields, and their defaults are written once, in
# the engine.
_FIELDS = _engine.FIELDS
_DEFAULTS: dict[str, Any] = {keyword: default for keyword, key, _, default in _FIELDS if keyword and not key}
_PARAM_KEYS = tuple(key for keyword, key, _, _ in _FIELDS if keyword == "from_params")
# Chosen per call rather than held by Settings.
_PER_CALL = ("increment", "raw")
_ERRORS = ("nan", "raise", "reason")
# The annotations of the public functions.
Unit = Union[str, int]
Errors = Literal["nan", "raise", "reason"]
# What a scalar call's fast way answers where the general way must take the call.
_MISS = _engine.MISS
_convert_one = _engine.convert_one
_increment_one = _engine.increment_one
_settings_one = _engine.settings_one


@dataclass(frozen=True)
class Params:
    """The parameters of one side (From or To) of a conversion; None keeps the default.

    mw          molecular weight of the carrier gas for ppmw, g/mol (default 29, air)
    k           Henry's constant of the liquid for ppmw-liquid, ppm per mbar (default 1.9)
    ambient     dry-bulb temperature for rh, °C (default 20)
    medium      medium for g-m3: "natural-gas" (default), "air" or "vapor"
    vapor_temp  vapour temperature for g-m3, °C (default 20)

    Numbers are held in single precision, as the program holds them. The program's option
    dialogs accept mw and k above 0 and temperatures above -80 and below 200 °C; so does
    Settings (a ValueError names the parameter). A dict with these keys works too.
    """

    mw: float | None = None
    k: float | None = None
    ambient: float | None = None
    medium: str | None = None
    vapor_temp: float | None = None
    # Read from saved selections: taken as stored, as the program takes them.
    _saved: bool = field(default=False, repr=False)

    def _as_dict(self):
        """The fields by name, as the engine takes a side's parameters."""
        return self.__dict__


def _real(value, what):
    if value is None:
        return None
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{what} must be a number, not {type(value).__name__}")
    return float(value)


_NO_PARAMS = Params()
_engine.set_params_type(Params)


def _side(value, what):
    if value is None or value == _NO_PARAMS:
        return _NO_PARAMS
    if isinstance(value, Mapping):
        unknown = [key for key in value if key not in _PARAM_KEYS]
        if unknown:
            raise ValueError(
                f"{what}: unknown parameter {unknown[0]!r}: expected one of "
                + ", ".join(_PARAM_KEYS)
            )
        value = Params(**value)
    elif not isinstance(value, Params):
        raise TypeError(f"{what} must be a Params, a dict or None, not {type(value).__name__}")
    medium = value.medium
    if medium is not None and not isinstance(medium, str):
        raise TypeError(f"{what}: medium must be a name such as 'air', not {type(medium).__name__}")
    return dataclasses.replace(
        value,
        mw=_real(value.mw, f"{what}: mw"),
        k=_real(value.k, f"{what}: k"),
        ambient=_real(value.ambient, f"{what}: ambient"),
        vapor_temp=_real(value.vapor_temp, f"{what}: vapor_temp"),
    )


def _name(value, what):
    """A unit given by name or list index, as the command takes it."""
    if isinstance(value, str):
        return value
    if isinstance(value, numbers.Integral) and not isinstance(value, bool):
        return str(int(value))
    raise TypeError(f"{what} must be a name or an index, not {type(value).__name__}")


@dataclass(frozen=True)
class Settings:
    """Everything a conversion converts with; the defaults are the program's.

    from_unit, to_unit   moisture units by name (or list index 0 to 10): "mbar" partial
                         pressure, "dfp-c"/"dfp-f" dew/frost point, "dp-c"/"dp-f" dew point
                         over supercooled water, "ppmv", "ppmw" (in a gas), "lb-mmscf",
                         "g-m3", "rh" (%), "ppmw-liquid"; default "dfp-c"
    measured             total pressure the values were measured at (default 1013.25)
    measured_unit        "mbar" (default), "psia", "psig", "atm" or "kpa"
    compute_at           total pressure to compute the results at; None: the measured one
    compute_at_unit      unit of compute_at; None: "mbar"
    formula              "goff-gratch" (default), "hyland-wexler", "sonntag", "magnus"
    enhancement          "none" (default), "greenspan", "bogel"
    gas_method           natural-gas method: "igt" (default), "astm"
    from_params          Params (or dict) of the From side
    to_params            Params (or dict) of the To side

    Names ignore case. An unknown name raises ValueError naming the allowed ones. Pressures
    are held in single precision, as the program's fields hold them. Settings pickle
    cleanly, so Dask workers can receive them; Settings.from_ini reads the program's saved
    selections.
    """

    from_unit: str | int = _DEFAULTS["from_unit"]
    to_unit: str | int = _DEFAULTS["to_unit"]
    measured: float = _DEFAULTS["measured"]
    measured_unit: str | int = _DEFAULTS["measured_unit"]
    compute_at: float | None = _DEFAULTS["compute_at"]
    compute_at_unit: str | int | None = _DEFAULTS["compute_at_unit"]
    formula: str = _DEFAULTS["formula"]
    enhancement: str = _DEFAULTS["enhancement"]
    gas_method: str = _DEFAULTS["gas_method"]
    from_params: Params | Mapping | None = None  # None: every parameter's default
    to_params: Params | Mapping | None = None
    if TYPE_CHECKING:  # made by __post_init__, not fields
        _conversion: _engine.Conversion
        _keywords: dict[str, Any]

    def __post_init__(self):
        for which in ("measured", "compute_at"):
            value = getattr(self, which)
            if _units.is_quantity(value):
                number, unit = _units.pressure_of(value, getattr(self, which + "_unit"), which)
                object.__setattr__(self, which, number)
                object.__setattr__(self, which + "_unit", unit)
        object.__setattr__(self, "from_params", _side(self.from_params, "from_params"))
        object.__setattr__(self, "to_params", _side(self.to_params, "to_params"))
        self._start()
        pressures = [("measured", self._conversion.measured_mbar)]
        if self.compute_at is not None:
            pressures.append(("compute-at", self._conversion.compute_mbar))
        for which, mbar in pressures:
            if not (mbar > 0 and np.isfinite(mbar)):
                warnings.warn(
                    f"the {which} pressure is not a finite number above 0 mbar; "
                    "conversions at it give NaN",
                    RuntimeWarning,
                    stacklevel=3,
                )

    def _start(self):
        for name in ("formula", "enhancement", "gas_method"):
            if not isinstance(getattr(self, name), str):
                raise TypeError(f"{name} must be a name, not {type(getattr(self, name)).__name__}")
        keywords = {
            "from_unit": _name(self.from_unit, "from_unit"),
            "to_unit": _name(self.to_unit, "to_unit"),
            "measured": _real(self.measured, "measured"),
            "measured_unit": _name(self.measured_unit, "measured_unit"),
            "compute_at": _real(self.compute_at, "compute_at"),
            "compute_at_unit": None if self.compute_at_unit is None else _name(
                self.compute_at_unit, "compute_at_unit"),
            "formula": self.formula,
            "enhancement": self.enhancement,
            "gas_method": self.gas_method,
            "from_params": self.from_params._as_dict(),
            "to_params": self.to_params._as_dict(),
        }
        object.__setattr__(self, "_conversion", _engine.Conversion(keywords))
        object.__setattr__(self, "_keywords", keywords)

    # The engine's conversion is prepared again where the settings are unpickled.
    def __getstate__(self):
        return {f.name: getattr(self, f.name) for f in dataclasses.fields(self)}

    def __setstate__(self, state):
        for name, value in state.items():
            object.__setattr__(self, name, value)
        self._start()

    @classmethod
    def from_ini(cls, path: Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]
                 ) -> "Settings":
        """The saved selections of a Tavimor settings file (tavimor.ini), read by the
        program's own parser: units, pressures, the compute-at choice, formula, factor,
        natural-gas method and both sides' parameters. The saved From value is not used.
        Missing keys take the program's defaults, and so does a parameter its dialog would
        refuse typed (a RuntimeWarning names its key). path is a str, bytes or os.PathLike;
        a file that cannot be read (missing, not a regular file such as a pipe, unreadable)
        raises OSError."""
        if not isinstance(path, (str, bytes, os.PathLike)):
            raise TypeError(f"path must be a str, bytes or os.PathLike, not {type(path).__name__}")
        file = os.fsencode(path)
        saved, replaced, error = _engine.read_saved_selections(file)
        if error == "it does not exist":
            raise FileNotFoundError(2, "No such file or directory", os.fsdecode(file))
        if error:
            raise OSError(f"cannot read the saved selections {os.fsdecode(file)!r}: {error}")
        for key in replaced:
            warnings.warn(f"the saved selections hold a value for {key} that its dialog "
                          "refuses; its default is used instead", RuntimeWarning, stacklevel=2)
        for side in ("from_params", "to_params"):
            saved[side] = Params(**saved[side], _saved=True)
        return cls(**{f.name: saved[f.name] for f in dataclasses.fields(cls)})

    def convert(self, values: Any, *, raw: bool = True, errors: Errors = "nan",
                threads: Optional[int] = None, quantity: bool = False) -> Any:
        """Settings-bound form of tavimor.convert."""
        result = _settings_one(self._conversion, values, None, raw, errors, threads)
        if result is not _MISS and not quantity:
            return result
        return _run(self, values, None, raw, errors, threads, quantity)

    def increment(self, values: Any, delta: float, *, raw: bool = True, errors: Errors = "nan",
                  threads: Optional[int] = None, quantity: bool = False) -> Any:
        """Settings-bound form of tavimor.increment."""
        result = _settings_one(self._conversion, values, delta, raw, errors, threads)
        if result is not _MISS and not quantity:
            return result
        return _run(self, values, _real(delta, "delta"), raw, errors, threads, quantity)

    def convert_text(self, values: Any, *, increment: Optional[float] = _DEFAULTS["increment"],
                     raw: bool = _DEFAULTS["raw"], threads: Optional[int] = None,
                     **uncertainties: Any) -> Union[str, list[str]]:
        """Settings-bound form of tavimor.convert_text."""
        from .uncertainty import _conversion_with
        column = _Column(values)
        conversion = _conversion_with(self, uncertainties)
        lines = conversion.lines(column.flat, column.not_number, _real(increment, "increment"),
                                 bool(raw), _threads(threads))
        return lines[0] if column.scalar else lines

    def _for_unit(self, from_unit):
        """These settings with another From unit (the one a value's own unit names)."""
        if from_unit == _units.unit_name(self.from_unit):
            return self
        siblings = self.__dict__.setdefault("_siblings", {})
        if from_unit not in siblings:
            siblings[from_unit] = dataclasses.replace(self, from_unit=from_unit)
        return siblings[from_unit]


def _threads(threads):
    if threads is None:
        return 0
    if isinstance(threads, bool) or not isinstance(threads, numbers.Integral) or threads < 1:
        raise ValueError(f"threads must be a whole number of at least 1 or None, not {threads!r}")
    return int(threads)


class _Column:
    """The values as one flat float64 column: numbers as they are, texts read the way
    tavimor-convert reads its values (not_number flags those without a number)."""

    def __init__(self, values):
        if isinstance(values, (bytes, bytearray)):
            values = bytes(values).decode("latin-1")  # one value, as a text
        elif isinstance(values, (list, tuple)) and any(isinstance(v, bytearray) for v in values):
            values = [bytes(v) if isinstance(v, bytearray) else v for v in values]
        else:
            _units.refuse_hidden_units(values)
        array = np.asarray(values)
        self.scalar = array.ndim == 0
        self.shape = array.shape
        self.array = array
        self.not_number = None
        if array.dtype.kind in "biuf":
            self.flat = np.ascontiguousarray(array, dtype=np.float64).reshape(-1)
        elif array.dtype.kind in "USO":
            self.flat, self.not_number = _engine.read_values(array.reshape(-1).tolist())
        else:
            raise TypeError(f"cannot convert values of dtype {array.dtype}: "
                            "expected numbers or texts")

    def shaped(self, flat):
        return float(flat[0]) if self.scalar else flat.reshape(self.shape)

    def where(self, i):
        """Where the i-th flat value stands in the input, for messages."""
        if self.scalar:
            return ""
        if len(self.shape) == 1:
            return f" at index {i}"
        return f" at index {tuple(int(k) for k in np.unravel_index(i, self.shape))}"


def _errors(errors, allowed=_ERRORS):
    if errors not in allowed:
        raise ValueError(f"errors must be one of {', '.join(map(repr, allowed))}, not {errors!r}")


def _raise_first_problem(settings, column, status):
    """ValueError for the first value outside the From unit's range (status != 0) or without a
    number, naming its index and why."""
    # A NaN coming in is a missing value, not an error.
    problems = (status != 0) & ~np.isnan(column.flat)
    if column.not_number is not None:
        problems |= column.not_number != 0
    if problems.any():
        i = int(np.argmax(problems))
        if column.not_number is not None and column.not_number[i]:
            reason = "not a number"
        else:
            reason = settings._conversion.range_text
        value = column.array.reshape(-1)[i]
        if isinstance(value, np.generic):
            value = value.item()
        raise ValueError(f"value {value!r}{column.where(i)}: {reason}")


def _reasons(settings, column, result, status):
    """Why each result is NaN, in tavimor-convert's words (None where it is not): the value
    has no number, lies outside the From unit's range, or the conversion has no answer."""
    reasons = np.full(result.shape, None, dtype=object)
    reasons[np.isnan(result)] = "out of range"
    if settings._conversion.range_text is not None:
        reasons[status != 0] = settings._conversion.range_text
    missing = np.isnan(column.flat)
    if column.not_number is not None:
        missing |= column.not_number != 0
    reasons[missing] = "not a number"
    return reasons


def _run_plain(settings, values, delta, raw, errors, threads):
    """(result, change or None, reasons or None) of plain values: numbers, texts, arrays."""
    column = _Column(values)
    result, changes, status = settings._conversion.convert(column.flat, delta, not raw, threads)
    reasons = None
    if errors == "raise":
        _raise_first_problem(settings, column, status)
    elif errors == "reason":
        reasons = _reasons(settings, column, result, status)
        reasons = reasons[0] if column.scalar else reasons.reshape(column.shape)
    return (column.shaped(result), None if changes is None else column.shaped(changes),
            reasons)


def _run(settings, values, delta, raw, errors, threads, quantity=False):
    """convert's and increment's answer: the results (and changes, and reasons with
    errors="reason"), as Quantities or DataArrays where the values came as such."""
    _errors(errors)
    threads = _threads(threads)
    registry = None
    if _units.is_quantity(values):
        registry = values._REGISTRY
        values, from_unit = _units.value_of(values, settings.from_unit)
        settings = settings._for_unit(from_unit)
        quantity = True
    elif _units.is_dataarray(values):
        return _run_dataarray(settings, values, delta, raw, errors, threads)
    result, changes, reasons = _run_plain(settings, values, delta, raw, errors, threads)
    if quantity:
        to_unit = _units.unit_name(settings.to_unit)
        result = _units.quantity_of(result, to_unit, registry)
        if changes is not None:
            changes = _units.quantity_of(changes, to_unit, registry)
    answer = (result,) if delta is None else (result, changes)
    if errors == "reason":
        answer += (reasons,)
    return answer[0] if len(answer) == 1 else answer


def _run_dataarray(settings, array, delta, raw, errors, threads):
    """A DataArray in, DataArrays out: the same coordinates, dimensions, name and attributes,
    attrs["units"] the To unit's; one backed by Dask stays lazy, converted block by block."""
    import xarray

    reader = None
    data = array
    if _units.is_quantity(array.data):  # pint-xarray's quantified array
        data = array.copy(data=array.data.magnitude)
        from_unit, reader = _units.attrs_reader(f"{array.data.units}", settings.from_unit)
        settings = settings._for_unit(from_unit)
    elif array.attrs.get("units") is not None:
        from_unit, reader = _units.attrs_reader(array.attrs["units"], settings.from_unit)
        settings = settings._for_unit(from_unit)
    kinds = ["result"] + (["change"] if delta is not None else []) + (
        ["reason"] if errors == "reason" else [])

    def convert_block(numbers):
        if reader is not None:
            numbers = reader(numbers)
        result, changes, reasons = _run_plain(settings, numbers, delta, raw, errors, threads)
        parts = {"result": result, "change": changes, "reason": reasons}
        return parts["result"] if len(kinds) == 1 else tuple(parts[k] for k in kinds)

    lazy = array.chunks is not None
    answers = xarray.apply_ufunc(
        convert_block, data, dask="parallelized" if lazy else "forbidden",
        output_dtypes=[object if k == "reason" else np.float64 for k in kinds],
        output_core_dims=[[]] * len(kinds))
    answers = answers if len(kinds) > 1 else (answers,)
    to_units = _units.ATTRS_UNITS[_units.unit_name(settings.to_unit)]
    for answer, kind in zip(answers, kinds):
        answer.attrs = dict(array.attrs)
        answer.name = array.name
        if kind == "reason":
            answer.attrs.pop("units", None)
        else:
            answer.attrs["units"] = to_units
    return answers[0] if len(kinds) == 1 else answers


def _settings(from_unit, to_unit, options):
    """Settings(from_unit, to_unit, **options), made once for the same arguments and kept by
    the engine (the last 16): a loop calling convert on one value at a time does not prepare
    the conversion again for each. The options come as the dict they arrived in."""
    settings = _engine.cached(from_unit, to_unit, options)
    if settings is None:
        settings = Settings(from_unit, to_unit, **options)
        _engine.remember(from_unit, to_unit, options, settings)
    return settings


def _from_values(values, from_unit):
    """from_unit, or where it is None the unit a Quantity's or DataArray's values carry."""
    if from_unit is not None:
        return from_unit
    if _units.is_quantity(values):
        return _units.value_of(values, None)[1]
    if _units.is_dataarray(values):
        if _units.is_quantity(values.data):
            return _units.value_of(values.data, None)[1]
        if "units" in values.attrs:
            return _units.attrs_reader(values.attrs["units"], None)[0]
    return from_unit


def _with_settings_keywords(function, leave_out=()):
    """Shows the keywords of Settings, with their defaults, in the signature of a function
    that takes them as **options (for help() and inspect)."""
    signature = inspect.signature(function)
    own = [p for p in signature.parameters.values() if p.kind != p.VAR_KEYWORD]
    positional = [p for p in own if p.kind != p.KEYWORD_ONLY]
    keywords = [inspect.Parameter(f.name, inspect.Parameter.KEYWORD_ONLY, default=f.default)
                for f in dataclasses.fields(Settings)
                if f.name not in ("from_unit", "to_unit") and f.name not in leave_out]
    function.__signature__ = signature.replace(
        parameters=positional + keywords + [p for p in own if p.kind == p.KEYWORD_ONLY])
    return function


_OPTIONS_DOC = """
    Units, pressures and physics are chosen by the names tavimor-convert uses (see
    tavimor.Settings): from_unit, to_unit, measured, measured_unit, compute_at,
    compute_at_unit, formula, enhancement, gas_method, from_params and to_params (a
    tavimor.Params or a dict with the keys mw, k, ambient, medium, vapor_temp).

    values may be a number, a sequence, a NumPy array of any shape, byte order or memory
    layout, a pandas Series, a pint Quantity or an xarray DataArray. Numbers are held in
    single precision, as the panel holds the From value; texts (str, bytes or bytearray) are
    read the way tavimor-convert reads a value (the numeric prefix of the first 14
    characters). None and NaN are missing values and give NaN.

    Units: a Quantity converts in its own unit (68 degF given as "dp-c" converts as 68 °F,
    the dew point in °F; pint converts what tavimor has no unit for, such as kelvin or hPa),
    and from_unit may be None where its unit says everything (a pressure, g/m³); the results
    come back as Quantities in the To unit (quantity=True asks for that with plain values
    too; lb/MMSCF and ppmw in a liquid become units of their own, lb_mmscf and ppmw_liquid).
    measured and compute_at may be Quantities too. A DataArray gives DataArrays with its
    coordinates, dimensions, name and attributes, attrs["units"] the To unit's; its own
    attrs["units"] is read as a Quantity's unit; one backed by Dask stays lazy. Values
    carrying units tavimor cannot read raise TypeError rather than lose them.

    errors="nan" gives NaN for a value without a result; "raise" raises ValueError for the
    first value outside the From unit's range or without a number instead; "reason" returns
    the reasons beside the results: for each value None, or why it has no result in
    tavimor-convert's words ("not a number", the From unit's range such as "stay between 0
    and 123.4 mb.", "out of range")."""


def convert(values: Any, from_unit: Optional[Unit], to_unit: Unit, *, raw: bool = True,
            errors: Errors = "nan", threads: Optional[int] = None, quantity: bool = False,
            **options: Any) -> Any:
    """Convert moisture values from one unit into another.

    Returns a float for a scalar, else a float64 array of the input's shape (with
    errors="reason" a pair: the results and the reasons). With raw=True each result is the
    value the program holds (single precision, widened to float64 exactly: what
    tavimor-convert --raw prints with 17 digits); with raw=False it is the number the panel
    shows, rounded as shown. NaN marks a result that is "out of range", a value outside the
    From unit's range and a text without a number. Large arrays are converted on several
    threads (threads=None: one per core, at most 16) without the GIL.

    >>> tavimor.convert(20, "dp-c", "ppmv")
    23596.998046875
    """
    result = _convert_one(values, from_unit, to_unit, options, raw, errors, threads)
    if result is not _MISS and not quantity:
        return result
    settings = _settings(_from_values(values, from_unit), to_unit, options)
    return _run(settings, values, None, raw, errors, threads, quantity)


def increment(values: Any, delta: float, from_unit: Optional[Unit], to_unit: Unit, *,
              raw: bool = True, errors: Errors = "nan", threads: Optional[int] = None,
              quantity: bool = False, **options: Any) -> Any:
    """The incremental analysis: how much each result changes when its value changes by
    delta (in the From unit).

    Returns (result, change): the results as tavimor.convert gives them and the change of
    each result, both floats for a scalar or arrays of the input's shape (with
    errors="reason" the reasons third). The change is formed from the two held results, in
    single precision, as the panel forms it; it is NaN where the panel shows "out of range"
    or "n/a".
    """
    result = _increment_one(values, delta, from_unit, to_unit, options, raw, errors, threads)
    if result is not _MISS and not quantity:
        return result
    settings = _settings(_from_values(values, from_unit), to_unit, options)
    return _run(settings, values, _real(delta, "delta"), raw, errors, threads, quantity)


def convert_text(values: Any, from_unit: Unit, to_unit: Unit, *,
                 increment: Optional[float] = _DEFAULTS["increment"],
                 raw: bool = _DEFAULTS["raw"], threads: Optional[int] = None,
                 u: Optional[float] = _DEFAULTS["u"],
                 measured_u: Optional[float] = _DEFAULTS["measured_u"],
                 compute_at_u: Optional[float] = _DEFAULTS["compute_at_u"],
                 coverage_factor: float = _DEFAULTS["coverage_factor"],
                 include_formula: bool = _DEFAULTS["include_formula"],
                 **options: Any) -> Union[str, list[str]]:
    """The lines tavimor-convert prints for the values, without line ends.

    Each line is the result as the panel shows it ("23597.0", "out of range"), with raw=True
    all 17 significant digits of the held result, or "error" for a value without a number
    or outside the From unit's range. With increment, a tab and the change of the result
    follow, as with tavimor-convert --increment; with u, measured_u, compute_at_u,
    coverage_factor or include_formula (one for all values, see tavimor.uncertainty) a tab
    and the result's 95 % interval, as with tavimor-convert --uncertainty. Returns a str for
    a scalar, else a list with one line per value (in the order of the flattened input).
    """
    return _settings(from_unit, to_unit, options).convert_text(
        values, increment=increment, raw=raw, threads=threads, u=u, measured_u=measured_u,
        compute_at_u=compute_at_u, coverage_factor=coverage_factor,
        include_formula=include_formula)


def format(values: Any, unit: Unit) -> Any:
    """The texts the panel's result field shows for values in a unit.

    Values are held in single precision first; NaN and values beyond the single-precision
    range show "out of range". Returns a str for a scalar, else an array of str objects of
    the input's shape.

    >>> tavimor.format(23596.998, "ppmv")
    '23597.0'
    """
    column = _Column(values)
    texts = _engine.format(column.flat, _name(unit, "unit"))
    if column.scalar:
        return texts[0]
    shaped = np.empty(len(texts), dtype=object)
    shaped[:] = texts
    return shaped.reshape(column.shape)


for _function in (convert, increment, convert_text):
    _function.__doc__ = (_function.__doc__ or "") + _OPTIONS_DOC
    _with_settings_keywords(_function)
del _function

if not TYPE_CHECKING:
    # A call of a Python function with **options costs more than the conversion: the engine
    # answers the common calls itself and hands the others to the functions above.
    convert = _engine.front(convert, 3, False)
    increment = _engine.front(increment, 4, True)
