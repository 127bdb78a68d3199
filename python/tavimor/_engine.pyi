# Types of the compiled engine tavimor._engine (python/src). The package's modules give it
# its interface; python/tests/test_typing.py checks this file against the module itself.

from typing import Any, Callable, Mapping, Optional, Sequence, TypeVar

import numpy as np
import numpy.typing as npt

_Floats = npt.NDArray[np.float64]
# (keyword, key, command option, default) of each field of the request.
_Field = tuple[str, str, str, Optional[float | str | bool]]

UNITS: tuple[str, ...]
PRESSURE_UNITS: tuple[str, ...]
FORMULAS: tuple[str, ...]
ENHANCEMENTS: tuple[str, ...]
GAS_METHODS: tuple[str, ...]
MEDIA: tuple[str, ...]
COMBINATIONS: tuple[tuple[str, str], ...]
FIELDS: tuple[_Field, ...]
MISS: object

class Conversion:
    def __init__(self, keywords: dict[str, Any]) -> None: ...
    def convert(
        self, values: npt.ArrayLike, increment: Optional[float], shown: bool, threads: int
    ) -> tuple[_Floats, Optional[_Floats], npt.NDArray[np.uint8]]: ...
    def spread(
        self, values: npt.ArrayLike, shown: bool, threads: int
    ) -> tuple[
        _Floats, _Floats, _Floats, npt.NDArray[np.int64], npt.NDArray[np.int64],
        npt.NDArray[np.uint8]
    ]: ...
    def lines(
        self,
        values: npt.ArrayLike,
        not_number: Optional[npt.ArrayLike],
        increment: Optional[float],
        raw: bool,
        threads: int,
    ) -> list[str]: ...
    @property
    def range_text(self) -> Optional[str]: ...
    @property
    def measured_mbar(self) -> float: ...
    @property
    def compute_mbar(self) -> float: ...

class Uncertainty:
    def __init__(self, keywords: dict[str, Any]) -> None: ...
    # (statistics n x 5, reaches out of range, exact, contributions n x 4 x 3, status)
    def propagate(
        self, values: npt.ArrayLike, u: Optional[npt.ArrayLike], threads: int
    ) -> tuple[_Floats, npt.NDArray[np.bool_], npt.NDArray[np.bool_], _Floats,
               npt.NDArray[np.uint8]]: ...

def read_saved_selections(path: bytes) -> tuple[dict[str, Any], list[str], str]: ...
def read_values(items: Sequence[Any]) -> tuple[_Floats, npt.NDArray[np.uint8]]: ...
def format(values: npt.ArrayLike, unit: str) -> list[str]: ...
def saturation_pressure(
    t_c: npt.ArrayLike, pressure: npt.ArrayLike, formula: str, enhancement: str, over: str
) -> _Floats: ...
def dew_point(
    pw_mbar: npt.ArrayLike, pressure: npt.ArrayLike, formula: str, enhancement: str, frost: bool
) -> _Floats: ...

# Single values through fast calls; each answers MISS where the general way must take over.
def convert_one(
    value: object, from_unit: object, to_unit: object, options: Mapping[str, Any],
    raw: object, errors: object, threads: object, /
) -> Any: ...
def increment_one(
    value: object, delta: object, from_unit: object, to_unit: object,
    options: Mapping[str, Any], raw: object, errors: object, threads: object, /
) -> Any: ...
def settings_one(
    conversion: Conversion, value: object, delta: object, raw: object, errors: object,
    threads: object, /
) -> Any: ...
def cached(from_unit: object, to_unit: object, options: Mapping[str, Any], /) -> Any: ...
def remember(
    from_unit: object, to_unit: object, options: Mapping[str, Any], settings: object, /
) -> None: ...
def set_params_type(Params: type, /) -> None: ...
_Function = TypeVar("_Function", bound=Callable[..., Any])
def front(function: _Function, positional: int, with_delta: bool, /) -> _Function: ...
def saturation_one(
    t_c: object, pressure: object, formula: object, enhancement: object, over: object,
    errors: object, /
) -> Any: ...
def dew_point_one(
    pw_mbar: object, pressure: object, formula: object, enhancement: object, frost: object,
    errors: object, /
) -> Any: ...
