# Warnings in our own code; third-party headers come in as system includes. With KZM_WERROR
# (our scripts and CI) they are errors; a user's or packager's build must build whatever a
# newer compiler finds to warn about.
function(kzm_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KZM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # GCC 12 at -O3 reports overlapping or oversized copies inside std::string code that
    # cannot happen (GCC bug 105329 and its kin); shown as warnings, never a failed build.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-error=stringop-overflow
        -Wno-error=stringop-overread -Wno-error=array-bounds)
    endif()
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
