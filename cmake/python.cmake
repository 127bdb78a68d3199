# TAVIMOR_PYTHON: the Python package, on by default where pybind11 and NumPy are installed.
# Sanitizer and fuzz builds leave it out: an instrumented module cannot load into a plain
# interpreter.
set(tavimor_python_default OFF)
if(NOT TAVIMOR_SANITIZE AND NOT TAVIMOR_FUZZ)
  # Debian's python3-* packages serve /usr/bin/python3, not whatever python3 comes first on
  # PATH; -DPython3_EXECUTABLE=... chooses another interpreter.
  if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "Python interpreter of the package")
  endif()
  find_package(Python3 COMPONENTS Interpreter Development.Module NumPy QUIET)
  if(Python3_FOUND AND Python3_NumPy_FOUND)
    find_package(pybind11 CONFIG QUIET)
    if(pybind11_FOUND)
      set(tavimor_python_default ON)
    endif()
  endif()
endif()
option(TAVIMOR_PYTHON "Build the Python package (needs pybind11 and NumPy)" ${tavimor_python_default})
if(TAVIMOR_PYTHON AND NOT tavimor_python_default)
  message(FATAL_ERROR "TAVIMOR_PYTHON needs pybind11, NumPy and the Python headers of "
                      "${Python3_EXECUTABLE}, and no sanitizer or fuzz build")
endif()
