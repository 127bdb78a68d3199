# Every target of the project gets the same warnings and the same floating-point rules:
# no fused multiply-add may change a last bit of a result.
add_compile_options(-Wall -Wextra -ffp-contract=off)

if(TAVIMOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Single precision is explicit in the physics: every narrowing is a visible cast.
function(tavimor_strict_floats target)
  target_compile_options(${target} PRIVATE -Wfloat-conversion)
endfunction()
