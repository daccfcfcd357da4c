# Compiles every file under resources/embedded/ into the program. Each file becomes one
# entry named by its upper-case file name without extension ("colors.xml" -> "COLORS").
function(kzm_embed_resources out_var)
  file(GLOB inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/embedded/*)
  list(SORT inputs)
  set(output ${CMAKE_BINARY_DIR}/generated/EmbeddedData.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DINPUTS=${inputs}"
            -P ${CMAKE_SOURCE_DIR}/cmake/GenerateEmbedded.cmake
    DEPENDS ${inputs} ${CMAKE_SOURCE_DIR}/cmake/GenerateEmbedded.cmake
    COMMENT "Embedding resources"
    VERBATIM)
  set(${out_var} ${output} PARENT_SCOPE)
endfunction()
