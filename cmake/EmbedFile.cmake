# tesmirol_embed_file(<output.cpp> <input> <symbol>)
#
# Generates, at build time, a C++ source that defines
#   std::span<const unsigned char> <symbol>();
# returning the bytes of <input>, so that data files (the code template) are compiled into builds that have no
# resource section. The bytes are copied exactly; nothing is appended.
function(tesmirol_embed_file output input symbol)
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/scripts/embed_file.cmake"
    DEPENDS "${input}" "${PROJECT_SOURCE_DIR}/cmake/scripts/embed_file.cmake"
    COMMENT "Embedding ${input}"
    VERBATIM)
endfunction()
