"""Values that carry their units: pint Quantities and xarray DataArrays in and out.

A number with a unit is never taken as its bare number: a Quantity or a DataArray with
attrs["units"] converts in its own unit (68 °F given as a dew point in °C converts as 68 °F),
and an object that carries units this package cannot read is refused. pint and xarray are
imported only when such an object arrives or a Quantity is asked for.
"""

from __future__ import annotations

import sys

from . import _engine

# Each unit's pint unit; None where pint has none, and the unit keeps its Tavimor name.
_PINT_NAMES = {
    "mbar": "millibar", "dfp-c": "degC", "dfp-f": "degF", "dp-c": "degC", "dp-f": "degF",
    "ppmv": "ppm", "ppmw": "ppm", "lb-mmscf": None, "g-m3": "g/m**3", "rh": "percent",
    "ppmw-liquid": None,
}
# Units of their own that this package adds to a registry for the units pint has no name for
# (each its own dimension, so that nothing converts into them by accident), and the common
# ones older pint versions lack.
_PINT_DEFINITIONS = {
    "lb-mmscf": "lb_mmscf = [tavimor_lb_mmscf]",
    "ppmw-liquid": "ppmw_liquid = [tavimor_ppmw_liquid]",
    "ppm": "ppm = 1e-6",
    "percent": "percent = 0.01",
}
# The name attrs["units"] takes for each unit: pint's where it has one.
ATTRS_UNITS = {name: pint or name for name, pint in _PINT_NAMES.items()}
# A temperature is a dew/frost point or a dew point: each family in °C and in °F.
_FAMILIES = {"dfp-c": ("dfp-c", "dfp-f"), "dfp-f": ("dfp-c", "dfp-f"),
             "dp-c": ("dp-c", "dp-f"), "dp-f": ("dp-c", "dp-f")}
# Tavimor's pressure units that a Quantity may name exactly (psig has no Quantity).
_PINT_PRESSURES = {"millibar": "mbar", "pound_force_per_square_inch": "psia",
                   "standard_atmosphere": "atm", "kilopascal": "kpa"}


def unit_name(unit):
    """The name of a unit given by name or list index, or None."""
    if isinstance(unit, str):
        return unit.lower()
    if isinstance(unit, int) and not isinstance(unit, bool) and 0 <= unit < len(_engine.UNITS):
        return _engine.UNITS[unit]
    return None


def is_quantity(value):
    pint = sys.modules.get("pint")
    return pint is not None and isinstance(value, pint.Quantity)


def is_dataarray(value):
    xarray = sys.modules.get("xarray")
    return xarray is not None and isinstance(value, xarray.DataArray)


def refuse_hidden_units(values):
    """TypeError for an object that carries units this package does not read (an astropy
    Quantity, a pandas column of pint values): converting its bare numbers would be wrong
    without a word."""
    units = getattr(values, "units", None) or getattr(values, "unit", None) or getattr(
        getattr(values, "dtype", None), "units", None)
    if units is not None and not isinstance(values, (str, bytes)):
        raise TypeError(f"the values carry units ({units}) that tavimor cannot read: give "
                        "a pint Quantity, or the bare numbers in from_unit")
    # NumPy would take the bare numbers of a list of Quantities.
    if isinstance(values, (list, tuple)) and "pint" in sys.modules and any(
            is_quantity(value) for value in values):
        raise TypeError("a list of Quantities: give one Quantity of an array instead")


def _registry(quantity=None):
    if quantity is not None:
        return quantity._REGISTRY
    import pint

    return pint.get_application_registry()


def _define(registry, unit):
    definition = _PINT_DEFINITIONS[unit]
    if definition.split(" ")[0] not in registry:
        registry.define(definition)


def pint_unit(registry, unit):
    """The pint unit of a Tavimor unit, defined in the registry where it is missing."""
    name = _PINT_NAMES[unit]
    if name is None:
        _define(registry, unit)
        return registry.Unit(_PINT_DEFINITIONS[unit].split(" ")[0])  # its name in pint
    if name in ("ppm", "percent"):
        _define(registry, name)
    return registry.Unit(name)


def value_of(quantity, from_unit):
    """(magnitude, Tavimor unit) of a value given as a Quantity. from_unit says what the value
    is where its unit alone does not (a temperature is a dew or a frost point, ppm by volume
    or by weight); a unit of the Quantity's own dimension is taken in the Quantity's unit (a
    temperature in °F as the family's °F unit), any other converted by pint."""
    registry = _registry(quantity)
    unit = unit_name(from_unit)
    units = quantity.units
    if quantity.check("[temperature]"):
        if str(units).startswith("delta_"):
            raise ValueError(f"{units} is a temperature difference, not a dew or frost point")
        if unit not in _FAMILIES:
            raise ValueError(f"a temperature is a dew/frost point or a dew point: name "
                             f"from_unit ('dfp-c' or 'dp-c'), not {from_unit!r}")
        celsius, fahrenheit = _FAMILIES[unit]
        if units == registry.Unit("degF"):
            return quantity.magnitude, fahrenheit
        return quantity.to(registry.Unit("degC")).magnitude, celsius
    kinds = [("[pressure]", ("mbar",)), ("[mass] / [length] ** 3", ("g-m3",)),
             ("[tavimor_lb_mmscf]", ("lb-mmscf",)), ("[tavimor_ppmw_liquid]", ("ppmw-liquid",))]
    for dimension, units_of_kind in kinds:
        if dimension.startswith("[tavimor_"):
            _define(registry, units_of_kind[0])
        if quantity.check(dimension):
            if unit is not None and unit not in units_of_kind:
                raise ValueError(f"a value in {units} cannot be given in {from_unit!r}")
            target = units_of_kind[0]
            return quantity.to(pint_unit(registry, target)).magnitude, target
    if quantity.dimensionless:
        if unit in ("ppmv", "ppmw", "rh"):
            return quantity.to(pint_unit(registry, unit)).magnitude, unit
        raise ValueError(f"a ratio is ppmv, ppmw or rh: name from_unit, not {from_unit!r}")
    raise ValueError(f"a value in {units} is no moisture unit of tavimor")


def attrs_reader(units, from_unit):
    """(Tavimor unit, reader) for values whose unit is the text units (a DataArray's
    attrs["units"]): a Tavimor unit name or the name this package writes there is taken as it
    is (reader None), with the family's sibling where it names the other scale (°F for a unit
    in °C); anything else pint reads, and reader(numbers) converts them."""
    unit = unit_name(from_unit)
    text = str(units)
    candidates = _FAMILIES.get(unit, (unit,)) if unit is not None else tuple(_PINT_NAMES)
    for candidate in candidates:
        if text.lower() == candidate or (unit is not None and text == ATTRS_UNITS[candidate]):
            return candidate, None
    if text.lower() in _PINT_NAMES:
        raise ValueError(f"values in {text} cannot be given in {from_unit!r}")
    try:
        registry = _registry()
    except ImportError:
        raise ValueError(f"cannot read the units {text!r} without pint (python3-pint); name "
                         "them as tavimor does") from None
    resolved = value_of(registry.Quantity(1.0, text), from_unit)[1]
    return resolved, lambda numbers: value_of(registry.Quantity(numbers, text), from_unit)[0]


def quantity_of(values, to_unit, registry=None):
    """Results as a Quantity in the To unit."""
    registry = registry if registry is not None else _registry()
    return registry.Quantity(values, pint_unit(registry, to_unit))


def pressure_of(value, unit_given, what):
    """(number, Tavimor pressure unit) of a pressure given as a Quantity: in its own unit where
    Tavimor has it, else converted into mbar."""
    if unit_given not in (None, "mbar"):
        raise TypeError(f"{what} is a Quantity with its unit: leave {what}_unit out")
    if not value.check("[pressure]"):
        raise ValueError(f"{what} must be a pressure, not {value.units}")
    name = str(value.units)
    if name in _PINT_PRESSURES:
        return float(value.magnitude), _PINT_PRESSURES[name]
    return float(value.to(_registry(value).Unit("millibar")).magnitude), "mbar"
