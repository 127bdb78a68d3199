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
