# tallix_check_wayland_layout(RESULT): whether the libQt6WaylandClient that
# find_package found has the layout client_buffer_integration.h declares.
# - The two vtables, read from the library's dynamic symbol table, have the
#   sizes the declarations give them: two entries (offset, type information)
#   and one per virtual function. A slot added or removed in either class
#   changes its size.
# - layout_probe.cpp, built and linked against the library, finds every
#   symbol the declarations use.
# - The library holds the factory's interface id the plugin announces.
# Sets RESULT to TRUE or FALSE and says why when it is FALSE.
function(tallix_check_wayland_layout result)
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
    message(STATUS "tallix-shm Wayland plugin not built: libQt6WaylandClient or nm not found to check its layout")
    return()
  endif()

  # Slots: the destructor pair and the eight functions of the integration;
  # QObject's twelve (its destructor pair included) and create for the plugin.
  math(EXPR _integration_size "(2 + 10) * ${CMAKE_SIZEOF_VOID_P}")
  math(EXPR _plugin_size "(2 + 13) * ${CMAKE_SIZEOF_VOID_P}")
  set(_vtables
      "_ZTVN15QtWaylandClient31QWaylandClientBufferIntegrationE=${_integration_size}"
      "_ZTVN15QtWaylandClient37QWaylandClientBufferIntegrationPluginE=${_plugin_size}")
  execute_process(COMMAND ${CMAKE_NM} -D -S --defined-only "${_library}"
                  OUTPUT_VARIABLE _symbols RESULT_VARIABLE _nm_status ERROR_QUIET)
  if(NOT _nm_status EQUAL 0)
    message(STATUS "tallix-shm Wayland plugin not built: nm cannot read ${_library}")
    return()
  endif()
  foreach(entry IN LISTS _vtables)
    string(REPLACE "=" ";" entry "${entry}")
    list(GET entry 0 _name)
    list(GET entry 1 _expected)
    if(NOT _symbols MATCHES "[0-9a-f]+ ([0-9a-f]+) [A-Za-z] ${_name}\n")
      message(STATUS "tallix-shm Wayland plugin not built: ${_library} has no ${_name}")
      return()
    endif()
    math(EXPR _size "0x${CMAKE_MATCH_1}")
    if(NOT _size EQUAL _expected)
      message(STATUS "tallix-shm Wayland plugin not built: ${_name} is ${_size} bytes in ${_library}, "
                     "declared ${_expected}")
      return()
    endif()
  endforeach()

  file(STRINGS "${_library}" _iid LIMIT_COUNT 1
       REGEX "org\\.qt-project\\.Qt\\.WaylandClient\\.QWaylandClientBufferIntegrationFactoryInterface\\.5\\.3")
  if(NOT _iid)
    message(STATUS "tallix-shm Wayland plugin not built: ${_library} has another factory interface id")
    return()
  endif()

  try_compile(_links
              SOURCES ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/layout_probe.cpp
              CMAKE_FLAGS "-DINCLUDE_DIRECTORIES=${PROJECT_SOURCE_DIR}"
                          "-DCMAKE_POSITION_INDEPENDENT_CODE=ON"
              LINK_LIBRARIES Qt6::WaylandClient
              CXX_STANDARD 20
              OUTPUT_VARIABLE _probe_output)
  if(NOT _links)
    string(REGEX MATCHALL "undefined reference to [^\n]*" _missing "${_probe_output}")
    list(REMOVE_DUPLICATES _missing)
    message(STATUS "tallix-shm Wayland plugin not built: the declared classes do not link against "
                   "${_library}: ${_missing}")
    return()
  endif()
  message(STATUS "tallix-shm: the declared Qt WaylandClient layout matches ${_library}")
  set(${result} TRUE PARENT_SCOPE)
endfunction()
