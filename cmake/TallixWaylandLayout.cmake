# The base classes of the program's Qt Wayland plugins (app/wayland_shm,
# app/wayland_frame) are private to QtWaylandClient. They come from Qt's own
# private headers where those are installed (qt6-wayland-private-dev, Debian
# 13), else from the plugin's own declarations for Qt 6.4's ABI, checked here
# against the library found (Debian 12 ships no private WaylandClient
# headers).
#
# tallix_wayland_plugin_bases(<prefix> NAME <plugin name>
#   PRIVATE_HEADER <one of Qt's private headers the plugin includes>
#   VTABLES <mangled vtable name>=<virtual slots> ...
#   INTERFACE_ID <the factory's interface id>
#   PROBE <source deriving from the declared classes>)
# Sets <prefix>_QT to the Qt release the plugin must run on ("6.8.2" on Qt's
# headers, whose private ABI may change in any release; "6.4" on the
# declarations), or to "" when the plugin cannot be built (and says why);
# <prefix>_LINK to the WaylandClient target to link (Qt6::WaylandClientPrivate
# on Qt's headers; Qt6::WaylandClient alone on the declarations, Debian 12's
# private target naming a header folder no package installs); and
# <prefix>_PRIVATE_HEADERS to whether Qt's headers are used (the plugin then
# compiles with TALLIX_QT_WAYLAND_PRIVATE_HEADERS).
function(tallix_wayland_plugin_bases prefix)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;PRIVATE_HEADER;INTERFACE_ID;PROBE" "VTABLES")
  set(${prefix}_QT "" PARENT_SCOPE)
  set(${prefix}_PRIVATE_HEADERS OFF PARENT_SCOPE)
  find_package(Qt6 QUIET COMPONENTS WaylandClient)
  if(NOT Qt6WaylandClient_FOUND)
    message(STATUS "${arg_NAME} Wayland plugin not built: Qt6 WaylandClient not found (qt6-wayland-dev)")
    return()
  endif()

  set(_private_headers OFF)
  if(TARGET Qt6::WaylandClientPrivate)
    string(MAKE_C_IDENTIFIER "TALLIX_HAVE_${arg_PRIVATE_HEADER}" _found)
    string(TOUPPER "${_found}" _found)
    find_path(${_found} QtWaylandClient/private/${arg_PRIVATE_HEADER}
              PATHS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}/QtWaylandClient/${Qt6WaylandClient_VERSION}
              NO_DEFAULT_PATH)
    set(_private_headers ${${_found}})
  endif()

  set(_qt "${Qt6WaylandClient_VERSION_MAJOR}.${Qt6WaylandClient_VERSION_MINOR}")
  if(_private_headers)
    set(${prefix}_QT "${Qt6WaylandClient_VERSION}" PARENT_SCOPE)
    set(${prefix}_LINK Qt6::WaylandClientPrivate PARENT_SCOPE)
    set(${prefix}_PRIVATE_HEADERS ON PARENT_SCOPE)
  elseif(_qt STREQUAL "6.4")
    _tallix_check_wayland_layout(_matches "${arg_NAME}" "${arg_VTABLES}" "${arg_INTERFACE_ID}" "${arg_PROBE}")
    if(_matches)
      set(${prefix}_QT "${_qt}" PARENT_SCOPE)
      set(${prefix}_LINK Qt6::WaylandClient PARENT_SCOPE)
    endif()
  else()
    message(STATUS "${arg_NAME} Wayland plugin not built: Qt WaylandClient ${Qt6WaylandClient_VERSION} "
                   "without its private headers (qt6-wayland-private-dev)")
  endif()
endfunction()

# Whether the libQt6WaylandClient that find_package found has the layout the
# plugin's declarations give it:
# - each vtable, read from the library's dynamic symbol table, has the size
#   the declarations give it: two entries (offset, type information) and one
#   per virtual function. A slot added or removed changes its size;
# - the library holds the factory's interface id the plugin announces;
# - the probe, built and linked against the library, finds every symbol the
#   declarations use.
# Sets RESULT to TRUE or FALSE and says why when it is FALSE.
function(_tallix_check_wayland_layout result name vtables interface_id probe)
  set(${result} FALSE PARENT_SCOPE)
  set(_library "")
  get_target_property(_configs Qt6::WaylandClient IMPORTED_CONFIGURATIONS)
  foreach(config IN LISTS _configs)
    get_target_property(_library Qt6::WaylandClient IMPORTED_LOCATION_${config})
    if(_library)
      break()
    endif()
  endforeach()
  if(NOT _library)
    get_target_property(_library Qt6::WaylandClient IMPORTED_LOCATION)
  endif()
  if(NOT _library OR NOT EXISTS "${_library}" OR NOT CMAKE_NM)
    message(STATUS "${name} Wayland plugin not built: libQt6WaylandClient or nm not found to check its layout")
    return()
  endif()

  execute_process(COMMAND ${CMAKE_NM} -D -S --defined-only "${_library}"
                  OUTPUT_VARIABLE _symbols RESULT_VARIABLE _nm_status ERROR_QUIET)
  if(NOT _nm_status EQUAL 0)
    message(STATUS "${name} Wayland plugin not built: nm cannot read ${_library}")
    return()
  endif()
  foreach(entry IN LISTS vtables)
    string(REPLACE "=" ";" entry "${entry}")
    list(GET entry 0 _vtable)
    list(GET entry 1 _slots)
    math(EXPR _expected "(2 + ${_slots}) * ${CMAKE_SIZEOF_VOID_P}")
    if(NOT _symbols MATCHES "[0-9a-f]+ ([0-9a-f]+) [A-Za-z] ${_vtable}\n")
      message(STATUS "${name} Wayland plugin not built: ${_library} has no ${_vtable}")
      return()
    endif()
    math(EXPR _size "0x${CMAKE_MATCH_1}")
    if(NOT _size EQUAL _expected)
      message(STATUS "${name} Wayland plugin not built: ${_vtable} is ${_size} bytes in ${_library}, "
                     "declared ${_expected}")
      return()
    endif()
  endforeach()

  # The id is made of letters, digits, '-' and '.'; it must stand alone.
  string(REPLACE "." "\\." _iid_pattern "${interface_id}")
  file(STRINGS "${_library}" _iid LIMIT_COUNT 1 REGEX "^${_iid_pattern}$")
  if(NOT _iid)
    message(STATUS "${name} Wayland plugin not built: ${_library} has another factory interface id "
                   "than ${interface_id}")
    return()
  endif()

  try_compile(_links
              SOURCES ${probe}
              CMAKE_FLAGS "-DINCLUDE_DIRECTORIES=${PROJECT_SOURCE_DIR}"
                          "-DCMAKE_POSITION_INDEPENDENT_CODE=ON"
              LINK_LIBRARIES Qt6::WaylandClient
              CXX_STANDARD 20
              OUTPUT_VARIABLE _probe_output)
  if(NOT _links)
    string(REGEX MATCHALL "undefined reference to [^\n]*" _missing "${_probe_output}")
    list(REMOVE_DUPLICATES _missing)
    message(STATUS "${name} Wayland plugin not built: the declared classes do not link against "
                   "${_library}: ${_missing}")
    return()
  endif()
  message(STATUS "${name}: the declared Qt WaylandClient layout matches ${_library}")
  set(${result} TRUE PARENT_SCOPE)
endfunction()

# tallix_wayland_plugin(<target> <prefix> FOLDER <Qt's plugin folder>
#   SOURCES <source> ... LIBRARIES <target> ... DECLARATIONS <header>)
# Builds one of the program's Qt Wayland plugins on the bases
# tallix_wayland_plugin_bases(<prefix> ...) chose, into plugins/<FOLDER>
# beside the program (build folder and lib/tallix), and records on the
# target, for app/, the Qt release it must run on (TALLIX_PLUGIN_QT) and its
# file under the plugin folder (TALLIX_PLUGIN_FILE).
function(tallix_wayland_plugin target prefix)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "FOLDER;DECLARATIONS" "SOURCES;LIBRARIES")
  add_library(${target} MODULE ${arg_SOURCES} ${arg_DECLARATIONS})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${arg_LIBRARIES} ${${prefix}_LINK})
  if(${prefix}_PRIVATE_HEADERS)
    target_compile_definitions(${target} PRIVATE TALLIX_QT_WAYLAND_PRIVATE_HEADERS)
  endif()
  # The plugin's own class goes through moc; the declared base classes never
  # do (their meta-objects live in libQt6WaylandClient).
  set_target_properties(${target} PROPERTIES
    AUTOMOC ON
    CXX_VISIBILITY_PRESET hidden
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/app/plugins/${arg_FOLDER}
    TALLIX_PLUGIN_QT "${${prefix}_QT}"
    TALLIX_PLUGIN_FILE "${arg_FOLDER}/${CMAKE_SHARED_MODULE_PREFIX}${target}${CMAKE_SHARED_MODULE_SUFFIX}")
  set_source_files_properties(${arg_DECLARATIONS} layout_probe.cpp PROPERTIES SKIP_AUTOMOC ON)
  target_link_options(${target} PRIVATE -Wl,--as-needed -Wl,-O1 -Wl,--no-undefined)
  tallix_warnings(${target})
  install(TARGETS ${target} LIBRARY DESTINATION lib/tallix/plugins/${arg_FOLDER})
  message(STATUS "${target} Wayland plugin built for Qt ${${prefix}_QT} (${${prefix}_LINK})")
endfunction()
