"""tavimor-convert's options and tavimor.convert's keywords are two spellings of one request:
each reaches the same field, with the same default and the same words for a bad value.

Run by ctest with PYTHONPATH at the build tree's package and TAVIMOR_CONVERT naming the
built tavimor-convert."""

import dataclasses
import inspect
import os
import re
import subprocess

import pytest

import tavimor
from tavimor import _engine

CONVERT = os.environ.get("TAVIMOR_CONVERT")
pytestmark = pytest.mark.skipif(
    not CONVERT, reason="TAVIMOR_CONVERT does not name a tavimor-convert to compare with")

VALUES = ["-60", "-20", "0.5", "3", "20", "45", "abc"]

# Per field of the request: a unit pair that needs it, a value in either spelling (the
# command's text, the keyword's value) and a value it refuses (None where one front end
# takes any value of its type). A field without a row here fails the test: add one.
CASES = {
    ("from_unit", ""): ("dfp-c", "ppmv", "ppmv", "ppmv", "kelvin", "kelvin"),
    ("to_unit", ""): ("dfp-c", "ppmv", "dp-f", "dp-f", "11", "11"),
    ("measured", ""): ("dfp-c", "ppmv", "85", 85.0, "high", None),
    ("measured_unit", ""): ("dfp-c", "ppmv", "psig", "psig", "bar", "bar"),
    ("compute_at", ""): ("dfp-c", "ppmv", "3000", 3000.0, "high", None),
    ("compute_at_unit", ""): ("dfp-c", "ppmv", "atm", "atm", "bar", "bar"),
    ("formula", ""): ("dfp-c", "ppmv", "sonntag", "sonntag", "wexler", "wexler"),
    ("enhancement", ""): ("dfp-c", "ppmv", "greenspan", "greenspan", "bögel", "bögel"),
    ("gas_method", ""): ("dfp-c", "lb-mmscf", "astm", "astm", "bulletin", "bulletin"),
    ("increment", ""): ("dfp-c", "ppmv", "0.5", 0.5, "small", None),
    ("raw", ""): ("dfp-c", "ppmv", "", True, None, None),
    ("u", ""): ("dfp-c", "ppmv", "2", 2.0, "-1", -1.0),
    ("measured_u", ""): ("dfp-c", "ppmv", "1%", "1%", "-1", -1.0),
    ("compute_at_u", ""): ("ppmv", "dfp-c", "2,psia", "2,psia", "-2", -2.0),
    ("coverage_factor", ""): ("dfp-c", "ppmv", "3", 3.0, "0", 0.0),
    ("include_formula", ""): ("dfp-c", "ppmv", "", True, None, None),
}
for side, unit in (("from", "ppmw"), ("to", "ppmw")):
    pair = ("ppmv", unit) if side == "to" else (unit, "ppmv")
    CASES[(f"{side}_params", "mw")] = (*pair, "18", 18.0, "0", 0.0)
    CASES[(f"{side}_params", "k")] = (*("ppmv", "ppmw-liquid")[::1 if side == "to" else -1],
                                      "8.6", 8.6, "-1", -1.0)
    CASES[(f"{side}_params", "ambient")] = (*("ppmv", "rh")[::1 if side == "to" else -1],
                                            "35", 35.0, "200", 200.0)
    CASES[(f"{side}_params", "medium")] = (*("ppmv", "g-m3")[::1 if side == "to" else -1],
                                           "air", "air", "steam", "steam")
    CASES[(f"{side}_params", "vapor_temp")] = (*("ppmv", "g-m3")[::1 if side == "to" else -1],
                                               "-5", -5.0, "250", 250.0)
# The command has "P[,UNIT]" where the package has two keywords.
UNIT_OF = {"measured_unit": "--measured", "compute_at_unit": "--compute-at"}
# Fields that act only beside another, given in both spellings with them.
WITH = {"coverage_factor": (["--uncertainty", "1"], {"u": 1.0}),
        "compute_at_u": (["--compute-at", "2000"], {"compute_at": 2000.0})}
# Chosen per call rather than held by Settings: how results are written, and the
# uncertainties.
PER_CALL = {"increment", "raw", "u", "measured_u", "compute_at_u", "coverage_factor",
            "include_formula"}


def run(args):
    done = subprocess.run([CONVERT, *args], capture_output=True, text=True, check=False)
    return done.returncode, done.stdout, done.stderr


def help_options():
    _, text, _ = run(["--help"])
    return set(re.findall(r"(?:^ {2}|, )(--[a-z-]+)", text, re.MULTILINE))


def command_args(keyword, key, option, text):
    if keyword in UNIT_OF:  # the unit after the number of its pressure option
        return [UNIT_OF[keyword], "1013.25," + text]
    return [option] if text == "" else [option, text]


def python_options(keyword, key, value):
    if key:
        return {keyword: {key: value}}
    if keyword == "compute_at_unit":
        return {"compute_at": 1013.25, keyword: value}
    return {keyword: value}


def lines(from_unit, to_unit, options):
    return tavimor.convert_text(VALUES, **{"from_unit": from_unit, "to_unit": to_unit, **options})


def test_every_option_and_keyword_has_its_place():
    fields = {(keyword, key) for keyword, key, _, _ in _engine.FIELDS if keyword}
    assert fields == set(CASES), "a field of the request without its case here"
    options = help_options()
    for keyword, key, option, _ in _engine.FIELDS:
        if option:
            assert option in options, f"{option} is not in --help"
    # Every other option of --help is the command's own, and the command takes it.
    for option in options - {option for _, _, option, _ in _engine.FIELDS}:
        _, _, err = run([option])
        assert "unknown option" not in err, option
    # Settings holds every keyword but those chosen per call.
    held = {f.name for f in dataclasses.fields(tavimor.Settings)}
    assert held == {keyword for keyword, _, _, _ in _engine.FIELDS if keyword} - PER_CALL
    # Every keyword of tavimor.convert is a field's, or how the package returns results.
    own = {"values", "errors", "threads", "quantity"}
    for name in inspect.signature(tavimor.convert).parameters:
        assert name in own or any(name == keyword for keyword, _, _, _ in _engine.FIELDS), name


@pytest.mark.parametrize("keyword,key,option,default",
                         [row for row in _engine.FIELDS if row[0]], ids=lambda v: str(v))
def test_option_and_keyword_reach_one_field(keyword, key, option, default):
    from_unit, to_unit, text, value, bad_text, bad_value = CASES[(keyword, key)]
    with_args, with_options = WITH.get(keyword, ([], {}))
    units = ["--from", from_unit, "--to", to_unit, *with_args]
    values = ["--", *VALUES]
    # The same field: given in either spelling, the same lines.
    if text is not None:
        _, expected, _ = run(units + command_args(keyword, key, option, text) + values)
        assert lines(from_unit, to_unit, {**with_options, **python_options(keyword, key, value)}) \
            == expected.splitlines()
    # The same default: the package's Settings (or convert_text for what is chosen per
    # call), and the command without the option.
    held = {f.name: f.default for f in dataclasses.fields(tavimor.Settings)}
    if not key:
        declared = held[keyword] if keyword in held else \
            inspect.signature(tavimor.convert_text).parameters[keyword].default
        assert declared == default
    if default is not None and default is not False:
        # The units the case needs, but not the one under test.
        others = {"from_unit": ["--to", to_unit], "to_unit": ["--from", from_unit]}.get(
            keyword, units)
        _, plain, _ = run(others + values)
        shown = ("%g" % default) if isinstance(default, float) else default
        assert run(others + command_args(keyword, key, option, shown) + values)[1] == plain
        given = {"from_unit": from_unit, "to_unit": to_unit, **with_options,
                 **python_options(keyword, key, default)}
        assert tavimor.convert_text(VALUES, **given) == plain.splitlines()
    # The same words for a bad value, each front end with its own name and quoting.
    if bad_text is not None and bad_value is not None:
        _, _, err = run(units + command_args(keyword, key, option, bad_text) + values)
        command_words = words(err.splitlines()[0].removeprefix("tavimor-convert: "),
                              UNIT_OF.get(keyword, option), f'"{bad_text}"')
        given = {"from_unit": from_unit, "to_unit": to_unit, **with_options,
                 **python_options(keyword, key, bad_value)}
        with pytest.raises(ValueError) as raised:
            if keyword in PER_CALL:
                tavimor.convert_text(VALUES, **given)
            else:
                tavimor.Settings(**given)
        python_words = words(str(raised.value), f"{keyword}: {key}" if key else keyword,
                             repr(bad_value))
        assert command_words == python_words


def words(message, name, value):
    """A message with the name it starts with and the value it quotes taken out."""
    assert message.startswith(name), (message, name)
    assert value in message, (message, value)
    return "N" + message[len(name):].replace(value, "V", 1)
