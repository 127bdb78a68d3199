"""The Python package against tavimor-convert, bit for bit, and its handling of bad input.

Run by ctest with PYTHONPATH at the build tree's package and TAVIMOR_CONVERT naming the
built tavimor-convert."""

import math
import os
import pathlib
import pickle
import random
import struct
import subprocess
import warnings

import numpy as np
import pytest

import tavimor

CONVERT = os.environ.get("TAVIMOR_CONVERT")
needs_command = pytest.mark.skipif(
    not CONVERT, reason="TAVIMOR_CONVERT does not name a tavimor-convert to compare with")


def run_command(args):
    done = subprocess.run([CONVERT, *args], capture_output=True, text=True, check=False)
    assert done.returncode in (0, 1), done.stderr
    return done.stdout.splitlines()


def bits(x):
    return struct.pack("<d", x)


def assert_number_matches(value, field):
    """A value from Python against a field of the command's --raw output."""
    if field in ("error", "out of range", "n/a"):
        assert math.isnan(value), (value, field)
    else:
        assert bits(value) == bits(float(field)), (value, field)


# From values across each unit's range (and beyond it where the unit has none), as text of
# at most 14 characters, the way the command reads its values.
UNIT_SPANS = {
    "mbar": (1e-6, 123.4, "log"), "dfp-c": (-140, 50, "lin"), "dfp-f": (-220, 122, "lin"),
    "dp-c": (-120, 80, "lin"), "dp-f": (-180, 180, "lin"), "ppmv": (1e-3, 138670, "log"),
    "ppmw": (1e-3, 138670, "log"), "lb-mmscf": (1e-3, 5812, "log"), "g-m3": (1e-4, 93, "log"),
    "rh": (0, 150, "lin"), "ppmw-liquid": (1e-3, 138670, "log"),
}
PRESSURES = ["1013.25,mbar", "14.696,psia", "0,psig", "85,psig", "3,atm", "101.325,kpa",
             "250", "5000,mbar", "0.5,atm"]


def random_case(rng, from_unit, to_unit):
    low, high, scale = UNIT_SPANS[from_unit]
    values = []
    for _ in range(20):
        if scale == "log":
            v = math.exp(rng.uniform(math.log(low), math.log(high)))
        else:
            v = rng.uniform(low, high)
        values.append("%.6g" % v)
    values += ["0", "%.6g" % (high * 1.5), "-1", "abc", "%.6g" % high]
    args = ["--from", rng.choice([from_unit, str(tavimor.UNITS.index(from_unit))]),
            "--to", rng.choice([to_unit, str(tavimor.UNITS.index(to_unit))])]
    settings = {"from_unit": args[1] if not args[1].isdigit() else int(args[1]),
                "to_unit": args[3] if not args[3].isdigit() else int(args[3])}
    for option, names in (("formula", tavimor.FORMULAS), ("enhancement", tavimor.ENHANCEMENTS),
                          ("gas_method", tavimor.GAS_METHODS)):
        settings[option] = rng.choice(names)
        args += ["--" + option.replace("_", "-"), settings[option]]
    for option in ("measured", "compute_at"):
        if option == "compute_at" and rng.random() < 0.4:
            continue
        pressure = rng.choice(PRESSURES)
        number, _, unit = pressure.partition(",")
        settings[option] = float(number)
        if unit:
            settings[option + "_unit"] = unit
        args += ["--" + option.replace("_", "-"), pressure]
    for side in ("from", "to"):
        params = {}
        if rng.random() < 0.5:
            params["mw"] = "%.4g" % rng.uniform(2, 120)
        if rng.random() < 0.5:
            params["k"] = "%.4g" % rng.uniform(0.2, 30)
        if rng.random() < 0.5:
            params["ambient"] = "%.4g" % rng.uniform(-79, 199)
        if rng.random() < 0.5:
            params["vapor_temp"] = "%.4g" % rng.uniform(-79, 199)
        if rng.random() < 0.7:
            params["medium"] = rng.choice(tavimor.MEDIA)
        for key, text in params.items():
            args += [f"--{side}-{key.replace('_', '-')}", text]
        settings[side + "_params"] = {k: (v if k == "medium" else float(v))
                                      for k, v in params.items()}
    delta = "%.3g" % rng.uniform(-5, 5) if rng.random() < 0.3 else None
    return args, settings, values, delta


UNIT_PAIRS = [(f, t) for f in tavimor.UNITS for t in tavimor.UNITS]


@needs_command
@pytest.mark.parametrize("from_unit,to_unit", UNIT_PAIRS)
def test_matches_the_command_bit_for_bit(from_unit, to_unit):
    rng = random.Random(f"{from_unit}>{to_unit}")
    args, options, texts, delta = random_case(rng, from_unit, to_unit)
    if delta is not None:
        args += ["--increment", delta]
    raw_lines = run_command(args + ["--raw", "--", *texts])
    shown_lines = run_command(args + ["--", *texts])
    settings = tavimor.Settings(**options)
    delta_value = None if delta is None else float(delta)

    assert settings.convert_text(texts, raw=True, increment=delta_value) == raw_lines
    assert settings.convert_text(texts, increment=delta_value) == shown_lines

    # Numbers (not texts) give the held values of the --raw lines; texts the same.
    numeric = [i for i, t in enumerate(texts) if t != "abc"]
    numbers = np.array([float(texts[i]) for i in numeric])
    for values, lines in ((numbers, [raw_lines[i] for i in numeric]), (texts, raw_lines)):
        if delta is None:
            results, changes = settings.convert(values), None
        else:
            results, changes = settings.increment(values, delta_value)
        for k, line in enumerate(lines):
            fields = line.split("\t")
            assert_number_matches(results[k], fields[0])
            if changes is not None:
                assert_number_matches(changes[k], fields[1] if fields[0] != "error" else "error")
    shown = settings.convert(texts, raw=False)
    for value, line in zip(shown, shown_lines):
        assert_number_matches(value, line.split("\t")[0])


def spread_fields(line):
    """Min, max and (with --raw) the 12 results of a --spread line; "error" throughout for a
    value the command refused."""
    fields = line.split("\t")
    if fields[0] == "error":
        return ["error"] * (2 + len(tavimor.COMBINATIONS))
    low, _, high = fields[1].partition(" … ")
    return [low, high or low, *fields[2:]]  # "out of range" stands once


@needs_command
@pytest.mark.parametrize("args,options", [
    (["--from", "dfp-c", "--to", "ppmv", "--measured", "20000"],
     {"from_unit": "dfp-c", "to_unit": "ppmv", "measured": 20000}),
    (["--from", "ppmv", "--to", "dp-f", "--measured", "85,psig", "--compute-at", "3,atm"],
     {"from_unit": "ppmv", "to_unit": "dp-f", "measured": 85, "measured_unit": "psig",
      "compute_at": 3, "compute_at_unit": "atm"}),
    (["--from", "rh", "--to", "g-m3", "--from-ambient", "35", "--to-medium", "air"],
     {"from_unit": "rh", "to_unit": "g-m3", "from_params": {"ambient": 35},
      "to_params": {"medium": "air"}}),
    (["--from", "lb-mmscf", "--to", "dfp-c", "--gas-method", "astm", "--measured", "800,psig"],
     {"from_unit": "lb-mmscf", "to_unit": "dfp-c", "gas_method": "astm", "measured": 800,
      "measured_unit": "psig"}),
    (["--from", "mbar", "--to", "ppmv"], {"from_unit": "mbar", "to_unit": "ppmv"}),
])
def test_spread_matches_the_command_bit_for_bit(args, options):
    texts = ["-80", "-20", "0", "3.5", "40", "100", "5000", "-150", "abc"]
    raw_lines = run_command(args + ["--spread", "--raw", "--", *texts])
    shown_lines = run_command(args + ["--spread", "--", *texts])
    raw = tavimor.spread(texts, **options)
    shown = tavimor.spread(texts, raw=False, **options)
    assert raw.results.shape == (len(texts), len(tavimor.COMBINATIONS))
    for i, (raw_line, shown_line) in enumerate(zip(raw_lines, shown_lines, strict=True)):
        low, high, *results = spread_fields(raw_line)
        for value, field in zip(raw.results[i], results, strict=True):
            assert_number_matches(value, field)
        assert_number_matches(raw.min[i], low)
        assert_number_matches(raw.max[i], high)
        low, high = spread_fields(shown_line)[:2]
        assert_number_matches(shown.min[i], low)
        assert_number_matches(shown.max[i], high)
        if not np.isnan(raw.min[i]):
            assert raw.results[i][raw.min_combination[i]] == raw.min[i]
            assert raw.results[i][raw.max_combination[i]] == raw.max[i]
    scalar = tavimor.spread(float(texts[0]), **options)
    assert bits(scalar.min) == bits(raw.min[0]) and bits(scalar.max) == bits(raw.max[0])
    assert scalar.min_combination == (tavimor.COMBINATIONS[raw.min_combination[0]]
                                      if raw.min_combination[0] >= 0 else None)


@needs_command
@pytest.mark.parametrize("section", [
    "FromDew=99,3\nToDew=0,5\nFromPrs=14.696,1\nToPrs=2026.5,0\nIsoAndPrsr=1014,1017\n",
    "FromDew=0,6\nToDew=0,10\nMW=15,18.000000,3,40.000000\nHenry=1019,0.000000,1019,3.5\n"
    "IsoAndPrsr=1014,1016\nEquSWVP=1021,1025\n",
    "FromDew=0,8\nToDew=0,9\nMediumDensity=1037,1038\nTDensity=1040,15.555556,1039,25\n"
    "TAmbient=1034,-5,1033,35\nEquDensity=1026\nEquSWVP=1023,1026\n",
    "FromDew=abc,77\nToDew=0,-4\nMW=x\nEquSWVP=1,2\nFromPrs=,\n",
    # Values the parameter dialogs refuse: each key takes its default, with a warning.
    "FromDew=0,10\nToDew=0,5\nHenry=5,-1,5,-1\nMW=1,-18,1,-18\nTAmbient=0,300,0,300\n",
])
def test_saved_selections_read_as_the_command_reads_them(tmp_path, section):
    ini = tmp_path / "tavimor.ini"
    ini.write_bytes(b"[Tavimor]\n" + section.encode())
    texts = ["0.5", "3", "20", "64.5", "1000", "-30"]
    done = subprocess.run([CONVERT, "--ini", str(ini), "--raw", "--", *texts],
                          capture_output=True, text=True, check=False)
    command_warnings = [line.removeprefix("tavimor-convert: warning: ")
                        for line in done.stderr.splitlines() if "saved selections" in line]
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        settings = tavimor.Settings.from_ini(ini)
    assert [str(w.message) for w in caught] == command_warnings
    assert settings.convert_text(texts, raw=True) == done.stdout.splitlines()


@pytest.mark.parametrize("path,exception,message", [
    (None, TypeError, "path must be a str, bytes or os.PathLike"),
    (3, TypeError, "path must be a str, bytes or os.PathLike"),
    ("/nonexistent/tavimor.ini", FileNotFoundError, "No such file"),
    ("fifo", OSError, "it is not a regular file"),  # the command refuses a pipe too
    (".", OSError, "it is not a regular file"),
])
def test_saved_selections_that_cannot_be_read_raise(tmp_path, path, exception, message):
    if path == "fifo":
        path = tmp_path / "fifo"
        os.mkfifo(path)
    with pytest.raises(exception, match=message):
        tavimor.Settings.from_ini(path)


def test_saved_selections_of_any_size_and_path_type_are_read(tmp_path):
    # 17 MB after the keys, and a name that is no UTF-8, given as bytes and as a path.
    ini = os.path.join(os.fsencode(tmp_path), b"tavimor-\xff.ini")
    with open(ini, "wb") as file:
        file.write(b"[Tavimor]\nToDew=0,5\n" + b"; padding\n" * 1_700_000)
    for path in (ini, pathlib.Path(os.fsdecode(ini))):
        assert tavimor.Settings.from_ini(path).to_unit == "ppmv"


# From DewPointC 20 °C at 1013.25 mbar, default parameters (the To medium air for g/m³), to
# every unit: the held results and the shown texts of the program's reference table.
@pytest.mark.parametrize("to_unit,held,text", [
    ("mbar", 23.358468, "23.36"), ("dfp-c", 20.01, "20.0"), ("dfp-f", 68.018, "68.0"),
    ("dp-c", 20.01, "20.0"), ("ppmv", 23596.998, "23597.0"), ("ppmw", 14646.412, "14646.4"),
    ("lb-mmscf", 1100.7133, "1100.7"), ("g-m3", 17.290175, "17.29"), ("rh", 100, "100.0"),
    ("ppmw-liquid", 44.38109, "44.38"),
])
def test_reference_conversions_from_a_dew_point_of_20_c(to_unit, held, text):
    value = tavimor.convert(20, "dp-c", to_unit, to_params={"medium": "air"})
    assert value == pytest.approx(held, rel=1e-7)
    assert value == float(np.float32(value))  # held in single precision
    assert tavimor.format(value, to_unit) == text
    assert tavimor.convert_text(20, "dp-c", to_unit, to_params={"medium": "air"}) == text


def test_reference_steps():
    # Saturation pressures (mbar, six figures) and searches of the program's reference tables.
    t = [-20, 0, 20, 50]
    for formula, water, dew_frost in [
        ("goff-gratch", [1.25292, 6.10336, 23.3585, 123.334], [1.03074, 0.128178]),
        ("hyland-wexler", [1.0326, 6.11213, 23.388, 123.499], [1.0326, 0.128452]),
        ("sonntag", [1.25587, 6.11213, 23.3925, 123.527], [1.03239, 0.12837]),
        ("magnus", [1.25965, 6.112, 23.326, 123.452], [1.02956, 0.127604]),
    ]:
        np.testing.assert_allclose(tavimor.saturation_pressure(t, formula=formula), water,
                                   rtol=5e-6)
        np.testing.assert_allclose(
            tavimor.saturation_pressure([-20, -40], formula=formula, over="auto"), dew_frost,
            rtol=5e-6)
    assert np.isnan(tavimor.saturation_pressure(5, over="ice"))
    greenspan = tavimor.saturation_pressure(20, enhancement="greenspan")
    assert greenspan / tavimor.saturation_pressure(20) == pytest.approx(1.003994, abs=5e-7)
    np.testing.assert_allclose(tavimor.dew_point([1.0, 0.1, 1e-6, 199.0, 199.5, 0]),
                               [-22.59, -45.96, -112.39, 59.98, np.nan, np.nan], atol=1e-9)
    np.testing.assert_allclose(tavimor.frost_point([1.0, 0.1, 1e-6]),
                               [-20.32, -42.17, -112.05], atol=1e-9)


def test_any_input_shape_layout_and_type():
    expected = tavimor.convert(np.array([20.0, -40.0, 5.0]), "dp-c", "ppmv")
    big_endian = np.array([20.0, -40.0, 5.0], dtype=">f8")
    strided = np.array([20.0, 0.0, -40.0, 0.0, 5.0, 0.0])[::2]
    cases = [
        ([20, -40, 5], expected),
        (big_endian, expected),
        (strided, expected),
        (np.array([20, -40, 5], dtype=np.int16), expected),
        (np.array([20, -40, 5], dtype=np.float32), expected),
        (["20", "-40", "5"], expected),
        ([b"20", b"-40", b"5"], expected),
        (np.array([20, "-40", 5.0], dtype=object), expected),
        ([[20, -40, 5], [20, -40, 5]], np.vstack([expected, expected])),
        ([20, None, float("nan")], [expected[0], np.nan, np.nan]),
        (["20", "", "abc", "   7x"], [expected[0], np.nan, np.nan,
                                       tavimor.convert(7, "dp-c", "ppmv")]),
        ([], np.empty(0)),
        (np.empty((0, 3)), np.empty((0, 3))),
    ]
    for values, want in cases:
        got = tavimor.convert(values, "dp-c", "ppmv")
        assert isinstance(got, np.ndarray) and got.dtype == np.float64
        np.testing.assert_array_equal(got, want)
    for scalar in (20, 20.0, np.float32(20), np.array(20.0), "20"):
        got = tavimor.convert(scalar, "dp-c", "ppmv")
        assert isinstance(got, float) and got == expected[0]
    assert math.isnan(tavimor.convert(float("nan"), "ppmv", "dp-c"))
    assert tavimor.convert_text(["20", "abc", "1e6"], "ppmv", "dp-c") == ["-59.5", "error", "error"]
    assert list(tavimor.format([np.nan, np.inf, 1e39, 0.00005], "ppmv")) == [
        "out of range", "out of range", "out of range", "0.000050"]
    # Large arrays run on several threads; the results do not depend on it.
    many = np.random.default_rng(1).uniform(0.01, 138670, 200_000)
    np.testing.assert_array_equal(tavimor.convert(many, "ppmv", "dfp-f", threads=4),
                                  tavimor.convert(many, "ppmv", "dfp-f", threads=1))
    settings = tavimor.Settings("ppmv", "dp-c", from_params=tavimor.Params(mw=18))
    assert pickle.loads(pickle.dumps(settings)) == settings


def bad(call, *args, **kwargs):
    return (call, args, kwargs)


@pytest.mark.parametrize("call,exception,message", [
    (bad(tavimor.convert, 1, "ppm", "dp-c"), ValueError,
     "unknown unit 'ppm': expected one of mbar, dfp-c"),
    (bad(tavimor.convert, 1, "ppmv", 11), ValueError, "unknown unit '11'"),
    (bad(tavimor.convert, 1, "ppmv", 5.0), TypeError, "to_unit must be a name or an index"),
    (bad(tavimor.convert, 1, "ppmv", "dp-c", formula="goff"), ValueError,
     "unknown formula 'goff': expected one of goff-gratch, hyland-wexler, sonntag, magnus"),
    (bad(tavimor.convert, 1, "ppmv", "dp-c", enhancement="x"), ValueError,
     "expected one of none, greenspan, bogel"),
    (bad(tavimor.convert, 1, "ppmv", "dp-c", gas_method="x"), ValueError,
     "expected one of igt, astm"),
    (bad(tavimor.convert, 1, "ppmv", "dp-c", measured_unit="bar"), ValueError,
     "unknown pressure unit 'bar': expected one of mbar, psia, psig, atm, kpa"),
    (bad(tavimor.convert, 1, "ppmv", "dp-c", compute_at_unit="psia"), ValueError,
     "compute_at_unit needs compute_at"),
    (bad(tavimor.convert, 1, "ppmv", "g-m3", to_params={"medium": "water"}), ValueError,
     "unknown medium 'water': expected one of natural-gas, air, vapor"),
    (bad(tavimor.convert, 1, "ppmv", "ppmw", to_params={"weight": 18}), ValueError,
     "to_params: unknown parameter 'weight': expected one of mw, k, ambient"),
    (bad(tavimor.convert, 1, "ppmv", "ppmw", to_params={"mw": 0}), ValueError,
     "to_params: mw must be a number above 0, not 0.0"),
    (bad(tavimor.convert, 1, "rh", "ppmv", from_params={"ambient": 200}), ValueError,
     "from_params: ambient must be a temperature above -80 and below 200"),
    (bad(tavimor.convert, 1, "ppmv", "ppmw", to_params={"mw": "18"}), TypeError,
     "to_params: mw must be a number"),
    (bad(tavimor.convert, [1, 2e5], "ppmv", "dp-c", errors="raise"), ValueError,
     "value 200000.0 at index 1: stay between 0 and 138670 ppm"),
    (bad(tavimor.convert, 130, "mbar", "dp-c", errors="raise"), ValueError,
     "value 130: stay between 0 and 123.4 mb."),
    (bad(tavimor.convert, [[1, 2], [3, -4]], "mbar", "dp-c", errors="raise"), ValueError,
     "value -4 at index (1, 1): stay between 0 and 123.4 mb."),
    (bad(tavimor.convert, ["1", "x"], "ppmv", "dp-c", errors="raise"), ValueError,
     "value 'x' at index 1: not a number"),
    (bad(tavimor.convert, 1, "ppmv", "dp-c", errors="ignore"), ValueError,
     "errors must be one of 'nan', 'raise'"),
    (bad(tavimor.convert, 1, "ppmv", "dp-c", threads=0), ValueError, "threads must be"),
    (bad(tavimor.convert, [1j], "ppmv", "dp-c"), TypeError, "cannot convert values of dtype"),
    (bad(tavimor.saturation_pressure, 0, over="steam"), ValueError,
     "expected one of water, ice, auto"),
    (bad(tavimor.format, 1, "kelvin"), ValueError, "unknown unit 'kelvin'"),
    (bad(tavimor.Settings.from_ini, "/nonexistent/tavimor.ini"), FileNotFoundError, ""),
])
def test_bad_input_raises_with_the_reason(call, exception, message):
    function, args, kwargs = call
    with pytest.raises(exception) as raised:
        function(*args, **kwargs)
    assert message in str(raised.value)


# Hostile input: each case a result once wrong without a word, or input once read wrongly.
@pytest.mark.parametrize("call,expected", [
    # The water vapour would make up more than the total pressure: no concentration.
    (lambda: tavimor.convert(20, "dfp-c", "ppmv", measured=5), "nan"),
    (lambda: tavimor.convert(20, "dfp-c", "ppmv", measured=5, errors="raise"), "nan"),
    # No saturation pressure: a temperature beyond any formula, a total pressure of 0.
    (lambda: tavimor.saturation_pressure(math.inf, errors="reason"), (math.nan, "out of range")),
    (lambda: tavimor.saturation_pressure(1e308, errors="reason"), (math.nan, "out of range")),
    (lambda: tavimor.saturation_pressure(1.0, pressure=0, enhancement="greenspan",
                                         errors="reason"), (math.nan, "out of range")),
    (lambda: tavimor.saturation_pressure([1.0, math.inf], errors="reason")[1].tolist(),
     [None, "out of range"]),
    # A bytearray is a text, as bytes are, not the numbers of its bytes.
    (lambda: tavimor.convert(bytearray(b"5"), "dp-c", "ppmv"),
     tavimor.convert("5", "dp-c", "ppmv")),
    (lambda: tavimor.convert([bytearray(b"5"), b"6"], "dp-c", "ppmv").tolist(),
     tavimor.convert(["5", "6"], "dp-c", "ppmv").tolist()),
])
def test_hostile_input_gives_nan_or_is_read_as_text(call, expected):
    got = call()
    if expected == "nan":
        assert math.isnan(got)
    elif isinstance(expected, tuple):
        assert math.isnan(got[0]) and got[1] == expected[1]
    else:
        assert got == expected


def test_missing_values_and_pressures_without_answer_give_nan():
    # errors="raise" does not count a missing value (NaN) as an error.
    got = tavimor.convert([np.nan, 1.0], "ppmv", "dp-c", errors="raise")
    assert math.isnan(got[0]) and got[1] == tavimor.convert(1.0, "ppmv", "dp-c")
    with pytest.warns(RuntimeWarning, match="measured pressure is not a finite number above 0"):
        settings = tavimor.Settings("dp-c", "ppmv", measured=0)
    assert math.isnan(settings.convert(20))
