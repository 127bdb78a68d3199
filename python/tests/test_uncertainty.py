"""tavimor.uncertainty against tavimor-convert --uncertainty, bit for bit, and its arrays,
contributions and refusals.

Run by ctest with PYTHONPATH at the build tree's package and TAVIMOR_CONVERT naming the
built tavimor-convert."""

import math
import os
import struct
import subprocess

import numpy as np
import pytest

import tavimor

CONVERT = os.environ.get("TAVIMOR_CONVERT")
needs_command = pytest.mark.skipif(
    not CONVERT, reason="TAVIMOR_CONVERT does not name a tavimor-convert to compare with")


def bits(x):
    return struct.pack("<d", x)


# One row per family of unit pairs: the command's options, the package's keywords, values.
FAMILIES = [
    ("saturation: frost point to ppmv, the example the feature was asked with",
     ["--from", "dfp-c", "--to", "ppmv", "--uncertainty", "2"],
     {"from_unit": "dfp-c", "to_unit": "ppmv", "u": 2}, ["-60", "-139", "20", "60", "abc"]),
    ("the dew-point search, in percent",
     ["--from", "ppmv", "--to", "dfp-c", "--uncertainty", "20%"],
     {"from_unit": "ppmv", "to_unit": "dfp-c", "u": "20%"}, ["10.65", "1", "5000"]),
    ("the tariff: both pressures' uncertainties, the formula's spread",
     ["--from", "dp-c", "--to", "lb-mmscf", "--measured", "800,psig", "--uncertainty", "2",
      "--measured-uncertainty", "1%", "--include-formula"],
     {"from_unit": "dp-c", "to_unit": "lb-mmscf", "measured": 800, "measured_unit": "psig",
      "u": 2, "measured_u": "1%", "include_formula": True}, ["-2", "-20"]),
    ("the formula's spread decides the estimate; a pressure uncertainty in a unit of its own",
     ["--from", "dfp-c", "--to", "ppmv", "--measured", "20000", "--compute-at", "3,atm",
      "--uncertainty", "1", "--compute-at-uncertainty", "0.1,psia", "--include-formula",
      "--coverage-factor", "1.5"],
     {"from_unit": "dfp-c", "to_unit": "ppmv", "measured": 20000, "compute_at": 3,
      "compute_at_unit": "atm", "u": 1, "compute_at_u": "0.1,psia", "include_formula": True,
      "coverage_factor": 1.5}, ["-80", "-20"]),
]


@needs_command
@pytest.mark.parametrize("name,args,options,texts", FAMILIES, ids=[f[0] for f in FAMILIES])
def test_matches_the_command_bit_for_bit(name, args, options, texts):
    done = subprocess.run([CONVERT, *args, "--raw", "--", *texts], capture_output=True,
                          text=True, check=False)
    lines = done.stdout.splitlines()
    assert len(lines) == len(texts)
    result = tavimor.uncertainty(texts, **options)
    held = tavimor.convert(texts, options["from_unit"], options["to_unit"],
                           **{k: v for k, v in options.items() if k not in (
                               "from_unit", "to_unit", "u", "measured_u", "compute_at_u",
                               "coverage_factor", "include_formula")})
    assert tavimor.convert_text(texts, raw=True, **options) == lines
    for i, line in enumerate(lines):
        fields = line.split("\t")
        if fields[0] == "error":
            assert math.isnan(result.estimate[i]) and not result.reaches_out_of_range[i]
            continue
        if fields[0] != "out of range":
            assert bits(held[i]) == bits(float(fields[0]))
            if not options.get("include_formula"):
                assert bits(result.estimate[i]) == bits(held[i])
        if fields[1] == "interval reaches out of range":
            assert result.reaches_out_of_range[i]
            continue
        assert not result.reaches_out_of_range[i]
        for value, field in zip((result.low[i], result.high[i], result.standard_uncertainty[i]),
                                fields[1:], strict=True):
            assert bits(value) == bits(float(field))


def test_scalars_arrays_and_each_values_uncertainty():
    frost_points = np.array([[-60.0, -40.0], [-20.0, 0.0]])
    u = np.array([2.0, 1.0])  # one per column
    arrays = tavimor.uncertainty(frost_points, "dfp-c", "ppmv", u=u, threads=2)
    assert arrays.estimate.shape == arrays.low.shape == (2, 2)
    assert arrays.exact.dtype == bool and arrays.exact.all()
    assert arrays.contributions["value"].value.shape == (2, 2)
    for index in np.ndindex(2, 2):
        scalar = tavimor.uncertainty(frost_points[index], "dfp-c", "ppmv", u=u[index[1]],
                                     threads=1)
        assert isinstance(scalar.low, float) and scalar.exact is True
        for field in ("estimate", "standard_uncertainty", "low", "high",
                      "linear_standard_uncertainty"):
            assert bits(getattr(arrays, field)[index]) == bits(getattr(scalar, field)), field
    # The worked example of the README: -60 °C ± 2 °C.
    assert list(tavimor.format([arrays.estimate[0, 0], arrays.low[0, 0], arrays.high[0, 0]],
                               "ppmv")) == ["10.65", "8.149", "13.85"]


def test_contributions_are_each_inputs_share():
    # The tariff example: -2 °C ± 2 °C at 800 psig ± 1 %, with the formula (which adds
    # nothing to natural gas, computed with plain Goff-Gratch).
    r = tavimor.uncertainty(-2, "dp-c", "lb-mmscf", u=2, measured=800, measured_unit="psig",
                            measured_u="1%", include_formula=True)
    assert set(r.contributions) == {"value", "measured", "formula"}
    value, measured, formula = (r.contributions[k] for k in ("value", "measured", "formula"))
    assert value.standard_uncertainty == 1.0  # U / k in °C
    assert measured.standard_uncertainty == pytest.approx(4 / 0.01450377, rel=1e-6)  # mbar
    assert formula == (0.0, 1.0, 0.0)
    for c in (value, measured):
        assert c.value == pytest.approx(c.sensitivity * c.standard_uncertainty, rel=1e-12)
    assert (value.value, measured.value) == (pytest.approx(0.4496, abs=5e-5),
                                              pytest.approx(-0.02187, abs=5e-6))
    assert r.linear_standard_uncertainty == pytest.approx(math.hypot(value.value, measured.value))
    assert tavimor.format([r.estimate, r.low, r.high], "lb-mmscf").tolist() == \
        ["6.918", "6.091", "7.857"]
    assert not r.exact and r.standard_uncertainty == pytest.approx(0.4523, abs=5e-5)


@pytest.mark.parametrize("call,exception,message", [
    (lambda: tavimor.uncertainty([-60, 70], "dfp-c", "ppmv", u=2, errors="raise"), ValueError,
     "value 70 at index 1: stay between -140°C and +50°C"),
    (lambda: tavimor.uncertainty([-60, -50], "dfp-c", "ppmv", u=[1, -1]), ValueError,
     "u must be a number of 0 or more, or a percentage such as 5%, not -1.0 at index 1"),
    (lambda: tavimor.uncertainty(-60, "dfp-c", "ppmv", compute_at_u="1%"), ValueError,
     "compute_at_u needs compute_at"),
    (lambda: tavimor.uncertainty(-60, "dfp-c", "ppmv", measured_u="1,bar"), ValueError,
     "measured_u: unknown pressure unit 'bar': expected one of mbar, psia, psig, atm, kpa"),
    (lambda: tavimor.convert_text(-60, "dfp-c", "ppmv", coverage_factor=0), ValueError,
     "coverage_factor must be a number above 0, not 0"),
    (lambda: tavimor.Settings(from_unit="dfp-c").convert_text(-60, u_value=2), TypeError,
     "unexpected keyword argument 'u_value'"),
])
def test_refusals_name_the_keyword(call, exception, message):
    with pytest.raises(exception) as raised:
        call()
    assert message in str(raised.value)
