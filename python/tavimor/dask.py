"""Conversions of Dask DataFrame columns, partition by partition, on any Dask scheduler,
a distributed cluster included: the function and the settings pickle, so the workers run
them without code of their own."""

from __future__ import annotations

from typing import Any, Literal, Optional

from .conversion import Settings, Unit, _errors

__all__ = ["convert_column"]


def convert_column(df: Any, column: str, from_unit: Optional[Unit] = None,
                   to_unit: Optional[Unit] = None, *, settings: Optional[Settings] = None,
                   raw: bool = True, errors: Literal["nan", "raise"] = "nan",
                   threads: Optional[int] = 1, **options: Any) -> Any:
    """The column of a Dask DataFrame converted like tavimor.convert: a lazy float64 Dask
    Series with the frame's partitions and index.

    Give the units and options as to tavimor.convert, or a tavimor.Settings as settings.
    threads are per partition; Dask already runs partitions in parallel.

    >>> ddf["ppmv"] = tavimor.dask.convert_column(ddf, "dew_point", "dp-c", "ppmv")
    """
    _errors(errors, ("nan", "raise"))
    if settings is None:
        if from_unit is None or to_unit is None:
            raise TypeError("give either settings or the units and options")
        settings = Settings(from_unit, to_unit, **options)
    elif from_unit is not None or to_unit is not None or options:
        raise TypeError("give either settings or the units and options, not both")
    return df[column].map_partitions(_convert_partition, settings, raw, errors, threads,
                                     meta=(column, "f8"))


def _convert_partition(part, settings, raw, errors, threads):
    import pandas as pd

    converted = settings.convert(part.to_numpy(), raw=raw, errors=errors, threads=threads)
    return pd.Series(converted, index=part.index, name=part.name)
