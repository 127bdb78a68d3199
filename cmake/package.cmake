# The Debian packages, built by CPack from the install rules, one per component:
#   desktop  tavimor          the desktop program and the command (cmake/install.cmake)
#   python   python3-tavimor  the Python package (python/CMakeLists.txt)
#   cpack --config build-package/CPackConfig.cmake   (./tavimor.sh package does all of it)
# Their dependencies on libraries come from dpkg-shlibdeps over the installed binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimor)
set(CPACK_PACKAGE_VENDOR "The Tavimor developers")
# Each component's description (below) starts with its own summary line.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL desktop)
if(TAVIMOR_PYTHON)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVIMOR_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAVIMOR_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SOURCE tavimor)

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME tavimor)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION science)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
    "moisture and humidity calculator
Tavimor converts a humidity or moisture value between eleven units: partial
water vapour pressure, dew/frost point and dew point in degrees Celsius and
Fahrenheit, ppmv, ppmw in a carrier gas, lb/MMSCF of natural gas, g/m3, %RH
and ppmw in a liquid, at one total pressure or into another, with a choice of
saturation-vapour-pressure formulas, enhancement factors and natural-gas
methods. It graphs the conversion and has temperature, pressure and 4-20 mA
converters.

The command tavimor-convert does the same conversions from a terminal.")
if(TARGET tavimor)
  # The dialogs are laid out for the metrics of Liberation Sans.
  set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "fonts-liberation")
  # Qt's own window-system plugin for Wayland sessions (X11's comes with Qt itself).
  set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "qt6-wayland")
endif()

# The module is built for this machine's Python 3.x and NumPy's C interface.
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-tavimor)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
math(EXPR python_next_minor "${Python3_VERSION_MINOR} + 1")
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
    "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}~), python3 (<< ${Python3_VERSION_MAJOR}.${python_next_minor}), python3-numpy, python3-numpy-abi9")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS
    "python3-pint, python3-xarray, python3-dask, python3-distributed, python3-pandas")
set(CPACK_DEBIAN_PYTHON_DESCRIPTION
    "moisture and humidity conversions for Python
The Python package tavimor converts humidity and moisture values between the
eleven units of the Tavimor calculator (partial water vapour pressure, dew and
frost points, ppmv, ppmw, lb/MMSCF, g/m3, %RH, ppmw in a liquid) on the same
engine as the program and tavimor-convert, bit for bit: single values, NumPy
arrays on several threads, pint quantities, xarray and Dask arrays.")

include(CPack)
