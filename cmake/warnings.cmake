# Warnings and the floating-point rule for one target of the project: no fused multiply-add
# may change a last bit of a result. Every target calls this (layers through tavimor_layer).
function(tavimor_compile_rules target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off)
endfunction()

if(TAVIMOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Single precision is explicit in the physics: every narrowing is a visible cast.
function(tavimor_strict_floats target)
  target_compile_options(${target} PRIVATE -Wfloat-conversion)
endfunction()

# Sources whose loops over columns of values (a conversion's steps one at a time) should run
# two values to an instruction. GCC does that at -O2 only for loops of a fixed count, and only
# where it may compute an arithmetic step before knowing its result is wanted (no trap on a
# floating-point exception: none is ever enabled here). Neither option changes a bit of a
# result: no operation is reordered, fused or replaced.
function(tavimor_column_loops)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set_property(SOURCE ${ARGN} APPEND PROPERTY COMPILE_OPTIONS
                 -fvect-cost-model=cheap -fno-trapping-math)
  endif()
endfunction()
