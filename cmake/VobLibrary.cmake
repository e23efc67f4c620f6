# The sources of a subsystem, as paths below <dir>: every .cpp of <dir> and
# its subfolders, split by whether a folder on the way is ui/ or qt/ (Qt
# code). A subsystem's rooms keep their Qt dialogs in <room>/ui/, so the
# split looks at every folder under <dir>; the folders above <dir> (where
# the checkout happens to lie) play no part.
function(_vob_sources out dir want_qt)
  file(GLOB_RECURSE _src RELATIVE "${dir}" CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(want_qt)
    list(FILTER _src INCLUDE REGEX "(^|/)(ui|qt)/")
  else()
    list(FILTER _src EXCLUDE REGEX "(^|/)(ui|qt)/")
    list(FILTER _src EXCLUDE REGEX "(^|/)main\\.cpp$")
  endif()
  list(TRANSFORM _src PREPEND "${dir}/")
  set(${out} ${_src} PARENT_SCOPE)
endfunction()

# vob_headless_library(<target> <dir> <deps...>)
# A subsystem's core library: every .cpp in <dir> and its subfolders except
# those in a ui/ or qt/ folder (Qt code) and main.cpp (the program
# entry). The headless core must build and test without a display, so the
# Qt parts are kept apart.
# A subsystem with no sources yet is an interface library that only passes
# its dependencies on.
function(vob_headless_library target dir)
  _vob_sources(_src "${dir}" FALSE)
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
# A subsystem's Qt part: every .cpp in a ui/ folder of <dir>, at its top
# (<dir>/ui/) or in one of its rooms (<dir>/<room>/ui/), or in <dir>/qt/ for
# the platform, with moc, uic and rcc run automatically. It links the
# subsystem's headless core through <deps> and Qt Widgets and PrintSupport. A
# subsystem without Qt sources yet gets an interface library, so that the
# program and the tests can link every ui library from the start.
function(vob_ui_library target dir)
  _vob_sources(_src "${dir}" TRUE)
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
