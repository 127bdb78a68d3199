"""The package's types: mypy knows every function's signature (the package's own annotations,
and the stub of the compiled engine, checked against the engine itself).

Run by ctest with PYTHONPATH at the build tree's package."""

import ast
import inspect
import os
import pathlib
import re
import subprocess
import sys

import pytest

import tavimor
from tavimor import _engine

pytest.importorskip("mypy", reason="needs mypy (python3-mypy)")

PACKAGE = pathlib.Path(tavimor.__file__).parent


@pytest.fixture(scope="module")
def mypy(tmp_path_factory):
    """mypy's command, with one cache for the module's runs (NumPy's types are read once)."""
    cache = tmp_path_factory.mktemp("mypy-cache")
    return [sys.executable, "-m", "mypy", "--cache-dir", str(cache), "--ignore-missing-imports"]


# Calls a user writes, and what mypy says of each: None where it accepts the call.
CALLS = [
    ('tavimor.convert(20.0, "dp-c", "ppmv", measured=1013.25)', None),
    ('tavimor.convert([1.0], "ppmv", "dp-c", errors="reason", threads=2)', None),
    ('tavimor.increment(20, 0.5, "dp-c", "ppmv", raw=False)', None),
    ('tavimor.saturation_pressure(20, formula="sonntag", errors="raise")', None),
    ('tavimor.Settings.from_ini(b"tavimor.ini").convert(5.0, quantity=True)', None),
    ('tavimor.spread(5, "dp-c", "ppmv").min', None),
    ('tavimor.convert(20.0, "dp-c")', 'Missing positional argument "to_unit"'),
    ('tavimor.convert(20.0, "dp-c", "ppmv", errors="ignore")', 'Argument "errors"'),
    ('tavimor.saturation_pressure(20, over=3)', 'Argument "over"'),
    ('tavimor.Settings("dp-c", "ppmv").convert(1.0, raw="yes")', 'Argument "raw"'),
    ('tavimor.dew_point(1.0, pressure=1013.25, frost=True)', 'Unexpected keyword argument'),
    ('tavimor.Settings.from_ini(None)', 'Argument 1 to "from_ini"'),
]


def test_mypy_checks_every_call_against_the_signatures(tmp_path, mypy):
    sample = tmp_path / "sample.py"
    sample.write_text("import tavimor\n" + "".join(f"{call}\n" for call, _ in CALLS))
    env = dict(os.environ, MYPYPATH=str(PACKAGE.parent))
    done = subprocess.run(mypy + [str(sample)], capture_output=True, text=True, env=env,
                          check=False)
    errors = {int(m.group(1)): m.group(2) for m in
              re.finditer(r"sample\.py:(\d+): error: (.*)", done.stdout)}
    for line, (call, expected) in enumerate(CALLS, start=2):
        if expected is None:
            assert line not in errors, (call, errors.get(line))
        else:
            assert expected in errors.get(line, ""), (call, errors.get(line))


def test_the_package_itself_is_typed(mypy):
    assert (PACKAGE / "py.typed").exists()
    done = subprocess.run(mypy + ["-p", "tavimor"], capture_output=True, text=True,
                          env=dict(os.environ, MYPYPATH=str(PACKAGE.parent)), check=False)
    assert done.returncode == 0, done.stdout


def test_the_engines_stub_matches_the_engine():
    done = subprocess.run(
        [sys.executable, "-m", "mypy.stubtest", "tavimor._engine", "--allowlist",
         str(pathlib.Path(__file__).with_name("stubtest_allowlist.txt"))],
        capture_output=True, text=True, check=False)
    assert done.returncode == 0, done.stdout
    # stubtest cannot see the parameters of functions bound with pybind11; their first
    # docstring line names them.
    stub = ast.parse((PACKAGE / "_engine.pyi").read_text())
    stubbed = {}
    for node in ast.walk(stub):
        if isinstance(node, ast.FunctionDef):
            names = [a.arg for a in node.args.posonlyargs + node.args.args]
            stubbed[node.name] = [n for n in names if n != "self"]
    for owner in (_engine, _engine.Conversion):
        for name, function in vars(owner).items():
            if name.startswith("_") or not callable(function) or isinstance(function, type):
                continue
            try:
                names = list(inspect.signature(function).parameters)
            except (ValueError, TypeError):
                first = function.__doc__.splitlines()[0]
                names = re.findall(r"(\w+):", first.split("(", 1)[1])
            assert stubbed.get(name) == [n for n in names if n != "self"], name
