"""The package in the scientific stack, against tavimor-convert bit for bit: single values
given every way, pint Quantities, xarray DataArrays (eager and lazy), and the reasons of the
values without a result in the command's words.

Run by ctest with PYTHONPATH at the build tree's package and TAVIMOR_CONVERT naming the
built tavimor-convert."""

import inspect
import math
import os
import pickle
import struct
import subprocess

import numpy as np
import pytest

import tavimor

CONVERT = os.environ.get("TAVIMOR_CONVERT")
pytestmark = pytest.mark.skipif(
    not CONVERT, reason="TAVIMOR_CONVERT does not name a tavimor-convert to compare with")


def command(args, values):
    """The --raw results (NaN where none) and the reasons of tavimor-convert for values."""
    texts = [v if isinstance(v, str) else "%.9g" % np.float32(v) for v in values]
    done = subprocess.run([CONVERT, *args, "--raw", "--", *texts], capture_output=True,
                          text=True, check=False)
    reasons = {}
    for line in done.stderr.splitlines():
        if line.startswith("line "):
            number, why = line.removeprefix("line ").split(": ", 1)
            reasons[int(number)] = why
    results, why = [], []
    for i, line in enumerate(done.stdout.splitlines(), start=1):
        line = line.split("\t")[0]  # the result, without a delta
        results.append(float(line) if line not in ("error", "out of range") else math.nan)
        why.append(reasons.get(i) if line == "error" else
                   "out of range" if line == "out of range" else None)
    return np.array(results), why


def same_bits(got, expected):
    got = np.asarray(got, dtype=np.float64).reshape(-1)
    expected = np.asarray(expected, dtype=np.float64).reshape(-1)
    assert got.shape == expected.shape
    for a, b in zip(got, expected):
        assert (math.isnan(a) and math.isnan(b)) or struct.pack("<d", a) == struct.pack("<d", b), \
            (got, expected)


# One value, given with its options in every way the package takes them; each a scalar
# call (the fast way) and the same value in an array.
SCALARS = [
    ("keywords", ["--from", "dp-c", "--to", "ppmw", "--to-mw", "18", "--formula", "sonntag"],
     lambda v: tavimor.convert(v, "dp-c", "ppmw", to_params={"mw": 18.0}, formula="sonntag")),
    ("Params", ["--from", "ppmw", "--to", "dfp-f", "--from-mw", "44", "--measured", "85,psig"],
     lambda v: tavimor.convert(v, "ppmw", "dfp-f", from_params=tavimor.Params(mw=44),
                               measured=85, measured_unit="psig")),
    ("Settings", ["--from", "rh", "--to", "g-m3", "--from-ambient", "35", "--to-medium", "air"],
     tavimor.Settings("rh", "g-m3", from_params={"ambient": 35},
                      to_params={"medium": "air"}).convert),
    ("increment", ["--from", "mbar", "--to", "dp-c", "--increment", "0.5"],
     lambda v: tavimor.increment(v, 0.5, "mbar", "dp-c")[0]),
    ("list index", ["--from", "5", "--to", "3", "--enhancement", "greenspan"],
     lambda v: tavimor.convert(v, 5, 3, enhancement="greenspan")),
]


@pytest.mark.parametrize("name,args,call", SCALARS, ids=[s[0] for s in SCALARS])
def test_single_values_match_the_command(name, args, call):
    values = [0.5, 3, 20.0, 64.5, 1000.0, 2e5, -30.0]
    expected, _ = command(args, values)
    for _ in range(2):  # the second time from the kept settings
        same_bits([call(v) for v in values], expected)
    same_bits(call(np.array(values, dtype=np.float64)) if name != "increment" else
              tavimor.increment(np.array(values), 0.5, "mbar", "dp-c")[0], expected)


def test_kept_settings_never_answer_for_other_arguments():
    with pytest.warns(RuntimeWarning, match="measured pressure is not a finite number"):
        assert math.isnan(tavimor.convert(1, "ppmv", "dp-c", measured=0.0))
    # A bool is no pressure, even after an equal number was kept; a changed dict is new.
    tavimor.convert(1, "ppmv", "dp-c", measured=1)
    with pytest.raises(TypeError, match="measured must be a number"):
        tavimor.convert(1, "ppmv", "dp-c", measured=True)
    side = {"mw": 18.0}
    first = tavimor.convert(100.0, "ppmv", "ppmw", to_params=side)
    side["mw"] = 36.0
    assert tavimor.convert(100.0, "ppmv", "ppmw", to_params=side) == first / 2


# Calls the engine answers itself beside calls it hands to the Python function: each gives
# what the function itself gives, error or result, the first time and from kept settings.
FRONT_CALLS = [
    ("convert", (20.0, "dp-c", "ppmv"), {"measured": 2000.0, "formula": "sonntag"}),
    ("convert", (20.0, "dp-c", "ppmv"), {"formula": "sonntag", "measured": 2000.0}),
    ("convert", (20, "dp-c", "ppmv"), {"raw": False}),
    ("convert", (500.0, "mbar", "dp-c"), {"errors": "reason"}),
    ("convert", (500.0, "mbar", "dp-c"), {"errors": "raise"}),
    ("convert", (20.0, "dp-c", "ppmv"), {"threads": 1}),
    ("convert", (20.0,), {"from_unit": "dp-c", "to_unit": "ppmv"}),
    ("convert", (20.0, "dp-c", "ppmv"), {"quantity": False, "to_params": {"mw": 18}}),
    ("convert", (20.0, "dp-c", "ppmv"), {"formular": "sonntag"}),
    ("convert", (20.0, "dp-c", "ppmv"), {"raw": 1}),
    ("convert", (20.0, "dp-c", "ppmv", True), {}),
    ("increment", (20.0, 0.5, "dp-c", "ppmv"), {"enhancement": "greenspan"}),
    ("increment", (float("nan"), 0.5, "dp-c", "ppmv"), {"errors": "reason"}),
]


@pytest.mark.parametrize("name,args,keywords", FRONT_CALLS)
def test_calls_answered_by_the_engine_are_the_functions_own(name, args, keywords):
    front = getattr(tavimor, name)

    def outcome(function):
        try:
            return function(*args, **keywords)
        except (TypeError, ValueError) as error:
            return type(error), str(error)

    expected = outcome(front.__wrapped__)
    for _ in range(2):
        got = outcome(front)
        assert repr(got) == repr(expected)
    # Readers see the function.
    assert pickle.loads(pickle.dumps(front)) is front
    assert inspect.signature(front) == inspect.signature(front.__wrapped__)
    assert front.__doc__ == front.__wrapped__.__doc__ and front.__name__ == name


pint = pytest.importorskip("pint", reason="needs pint (python3-pint)")
UREG = pint.UnitRegistry()
UREG.define("ppm = 1e-6")  # pint before 0.21 has none
Q = UREG.Quantity

# A Quantity (and the from_unit given with it), the command's From unit and value for the
# same thing, the To unit and the unit of the Quantity that comes back.
QUANTITIES = [
    ("68 °F as a dew point in °C", Q(68.0, "degF"), "dp-c", ["--from", "dp-f"], [68.0],
     "mbar", "millibar"),
    ("°C", Q([-40.0, -20.5, 10.0], "degC"), "dfp-c", ["--from", "dfp-c"], [-40, -20.5, 10],
     "ppmv", "ppm"),
    ("kelvin", Q(293.15, "K"), "dp-c", ["--from", "dp-c"], [293.15 - 273.15], "dfp-f",
     "degF"),
    ("a pressure needs no from_unit", Q(1250.0, "Pa"), None, ["--from", "mbar"], [12.5],
     "dp-c", "degC"),
    ("ppm by weight", Q(150.0, "ppm"), "ppmw", ["--from", "ppmw"], [150], "lb-mmscf",
     "lb_mmscf"),
    ("g/m³", Q(np.array([[0.5, 3.0]]), "g/m**3"), None, ["--from", "g-m3"], [0.5, 3.0],
     "ppmw-liquid", "ppmw_liquid"),
]


@pytest.mark.parametrize("name,value,from_unit,args,numbers,to_unit,units", QUANTITIES,
                         ids=[q[0] for q in QUANTITIES])
def test_quantities_convert_in_their_own_unit(name, value, from_unit, args, numbers, to_unit,
                                               units):
    expected, _ = command(args + ["--to", to_unit], numbers)
    got = tavimor.convert(value, from_unit, to_unit)
    assert isinstance(got, UREG.Quantity) and got.units == UREG.Unit(units)
    assert np.shape(got.magnitude) == np.shape(value.magnitude)
    same_bits(got.magnitude, expected)


def test_pressures_and_plain_values_as_quantities():
    expected, _ = command(["--from", "dp-c", "--to", "ppmv", "--measured", "14.696,psia",
                           "--compute-at", "2000"], [20])
    got = tavimor.convert(20, "dp-c", "ppmv", measured=Q(14.696, "psi"),
                          compute_at=Q(2, "bar"), quantity=True)
    same_bits(got.to("ppm").magnitude, expected)
    with pytest.raises(ValueError, match="a temperature is a dew/frost point or a dew point"):
        tavimor.convert(Q(20, "degC"), None, "ppmv")
    with pytest.raises(ValueError, match="temperature difference"):
        tavimor.convert(Q(5, "delta_degC"), "dp-c", "ppmv")


class Astropyish:
    unit = "K"

    def __array__(self):
        return np.array([293.15])


class PintSeriesish:
    class dtype:
        units = "degF"

    def __array__(self):
        return np.array([68.0])


@pytest.mark.parametrize("values", [Astropyish(), PintSeriesish(), [Q(68.0, "degF")]])
def test_units_tavimor_cannot_read_are_never_dropped(values):
    with pytest.raises(TypeError, match="carry units|list of Quantities"):
        tavimor.convert(values, "dp-c", "ppmv")


xr = pytest.importorskip("xarray", reason="needs xarray (python3-xarray)")

# attrs["units"] of a DataArray of dew points given as "dp-c", and the command's From unit.
DATAARRAYS = [
    ("none", None, "dp-c"),
    ("°F by pint's name", "degF", "dp-f"),
    ("°F by tavimor's name", "dp-f", "dp-f"),
    ("°C", "degC", "dp-c"),
]


@pytest.mark.parametrize("lazy", [False, True], ids=["eager", "lazy"])
@pytest.mark.parametrize("name,units,command_unit", DATAARRAYS, ids=[d[0] for d in DATAARRAYS])
def test_dataarrays_keep_coordinates_attributes_and_laziness(name, units, command_unit, lazy):
    numbers = np.array([[20.0, -40.0, 5.5], [60.0, -75.0, 0.0]])
    attrs = {"long_name": "dew point", **({"units": units} if units else {})}
    array = xr.DataArray(numbers, dims=("time", "probe"), name="dew",
                         coords={"time": [1, 2], "probe": ["a", "b", "c"]}, attrs=attrs)
    if lazy:
        array = array.chunk({"time": 1})
    expected, why = command(["--from", command_unit, "--to", "ppmv", "--measured", "200"],
                            numbers.reshape(-1))
    got, reasons = tavimor.convert(array, "dp-c", "ppmv", measured=200, errors="reason")
    for out in (got, reasons):
        assert out.dims == array.dims and out.name == "dew"
        assert (out.chunks is not None) == lazy
        assert all((out[c] == array[c]).all() for c in array.coords)
    assert got.attrs == {"long_name": "dew point", "units": "ppm"}
    same_bits(got.values, expected)
    assert list(reasons.values.reshape(-1)) == why


def test_reasons_are_the_commands_words():
    values = ["130", "abc", "50", "-1", "nan", "12.5", "", "1e300"]
    expected, why = command(["--from", "mbar", "--to", "ppmv", "--measured", "40"], values)
    got, reasons = tavimor.convert(values, "mbar", "ppmv", measured=40, errors="reason")
    same_bits(got, expected)
    assert list(reasons) == why
    assert any(w and "stay between" in w for w in why) and "out of range" in why
    # One value at a time (the fast way), as numbers: a text without one is NaN.
    floats = [float(v) if v not in ("abc", "") else math.nan for v in values]
    assert [tavimor.convert(v, "mbar", "ppmv", measured=40, errors="reason")[1]
            for v in floats] == why
