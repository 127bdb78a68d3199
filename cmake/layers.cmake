# Each layer is one folder and one target. A target sees the headers of its own folder and of
# the layers it links, and nothing else: its include root holds only a link to its folder, so
# an include of a layer above ("app/...") from below fails to compile.
function(tavimor_layer target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  tavimor_compile_rules(${target})
endfunction()
