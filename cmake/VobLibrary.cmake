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

# vob_ui_library(<target> <dir> <deps...>)
# A subsystem's Qt part: every .cpp in <dir>/ui/ (or <dir>/qt/ for the
# platform), with moc, uic and rcc run automatically. It links the subsystem's
# headless core through <deps> and Qt Widgets and PrintSupport. A subsystem
# without Qt sources yet gets an interface library, so that the program and the
# tests can link every ui library from the start.
function(vob_ui_library target dir)
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS "${dir}/ui/*.cpp" "${dir}/qt/*.cpp")
  if(_src)
    add_library(${target} STATIC ${_src})
    set_target_properties(${target} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARGN} Qt6::Widgets Qt6::PrintSupport)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARGN})
  endif()
endfunction()
