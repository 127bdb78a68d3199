# The Debian package, built by CPack from the install rules of cmake/install.cmake:
#   cpack --config build-package/CPackConfig.cmake   (./tavimor.sh package does all of it)
# Its dependencies come from dpkg-shlibdeps over the installed programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimor)
set(CPACK_PACKAGE_VENDOR "The Tavimor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "moisture and humidity calculator")
set(CPACK_PACKAGE_DESCRIPTION
    "Tavimor converts a humidity or moisture value between eleven units: partial
water vapour pressure, dew/frost point and dew point in degrees Celsius and
Fahrenheit, ppmv, ppmw in a carrier gas, lb/MMSCF of natural gas, g/m3, %RH
and ppmw in a liquid, at one total pressure or into another, with a choice of
saturation-vapour-pressure formulas, enhancement factors and natural-gas
methods. It graphs the conversion and has temperature, pressure and 4-20 mA
converters.

The command tavimor-convert does the same conversions from a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVIMOR_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TAVIMOR_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET tavimor)
  # The dialogs are laid out for the metrics of Liberation Sans.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
  # Qt's own window-system plugin for Wayland sessions (X11's comes with Qt itself).
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
endif()

include(CPack)
