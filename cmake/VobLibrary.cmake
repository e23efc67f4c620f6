# vob_headless_library(<target> <dir> <deps...>)
# A subsystem's core library: every .cpp in <dir> and its subfolders except
# ui/ and qt/ (Qt code) and main.cpp (the program entry). The headless core
# must build and test without a display, so the Qt parts are kept apart.
# A subsystem with no sources yet is an interface library that only passes
# its dependencies on.
function(vob_headless_library target dir)
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS "${dir}/*.cpp")
  list(FILTER _src EXCLUDE REGEX "/ui/")
  list(FILTER _src EXCLUDE REGEX "/qt/")
  list(FILTER _src EXCLUDE REGEX "/main\\.cpp$")
  if(_src)
    add_library(${target} STATIC ${_src})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARGN})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARGN})
  endif()
endfunction()
