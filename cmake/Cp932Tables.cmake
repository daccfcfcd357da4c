# The codec's CP932 tables, written at build time by tools/cp932tables from the system's iconv,
# so that no process has to build them through iconv when it starts.
function(kzm_cp932_tables out_var)
  add_executable(cp932tables ${CMAKE_SOURCE_DIR}/tools/cp932tables/Cp932Tables.cpp)
  set_target_properties(cp932tables PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
  if(Iconv_FOUND AND NOT Iconv_IS_BUILT_IN)
    target_link_libraries(cp932tables PRIVATE Iconv::Iconv)
  endif()
  kzm_warnings(cp932tables)
  set(output ${CMAKE_BINARY_DIR}/generated/Cp932Tables.inc)
  add_custom_command(
    OUTPUT ${output}
    COMMAND cp932tables ${output}
    DEPENDS cp932tables
    COMMENT "Writing the CP932 tables"
    VERBATIM)
  set(${out_var} ${output} PARENT_SCOPE)
endfunction()
