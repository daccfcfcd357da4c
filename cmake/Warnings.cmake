# Warnings in our own code; third-party headers come in as system includes. With KZM_WERROR
# (our scripts and CI) they are errors; a user's or packager's build must build whatever a
# newer compiler finds to warn about.
function(kzm_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KZM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Sources of one area of the program: every .cpp below the given folders.
function(kzm_glob_sources out)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()
