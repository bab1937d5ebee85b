# Sources are found by folder: one folder, one library. Re-run cmake after adding a file
# (CONFIGURE_DEPENDS does it for you on the next build).
function(qvin_glob out)
  set(files)
  foreach(pattern IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${pattern})
    list(APPEND files ${found})
  endforeach()
  list(SORT files)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# qvin_library(NAME "SOURCES" DEPS...): a static library of stub code built under the
# small-stub rules, or an interface library carrying only the dependencies while its
# folder is still empty. The rules stay private: code that links it keeps its own flags.
function(qvin_library name sources)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC qvin_includes ${ARGN} PRIVATE qvin_stub_options)
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE qvin_includes ${ARGN})
  endif()
endfunction()
