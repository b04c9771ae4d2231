# How the project's own targets are built: each layer compiles against an
# include root that holds only the layers it may see, every build first scans
# the includes (check_layers.cmake), and our code gets the warning set and,
# on request, the sanitizers. Third-party code and Qt's headers are left alone.
include_guard(GLOBAL)
include("${CMAKE_CURRENT_LIST_DIR}/LedmarqueeLayers.cmake")

option(LEDMARQUEE_WERROR "Treat warnings in the project's own code as errors" OFF)
option(LEDMARQUEE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(LEDMARQUEE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
if(LEDMARQUEE_WERROR)
  list(APPEND LEDMARQUEE_WARNINGS -Werror)
endif()

if(LEDMARQUEE_SANITIZE)
  # Everything, tests and helpers included, so that no object file of ours
  # runs uninstrumented; undefined behaviour stops the test instead of
  # printing and carrying on.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# One folder per layer, holding a link to each layer it may see and nothing
# else: build/layer-include/board/{generation,platform,board}. Of a layer
# that shows the others only some files, the folder holds links to those:
# build/layer-include/board/simulator/simulator_output.h.
set(LEDMARQUEE_LAYER_INCLUDE "${PROJECT_BINARY_DIR}/layer-include")
file(REMOVE_RECURSE "${LEDMARQUEE_LAYER_INCLUDE}")
foreach(_layer IN LISTS LEDMARQUEE_LAYERS)
  file(MAKE_DIRECTORY "${LEDMARQUEE_LAYER_INCLUDE}/${_layer}")
  foreach(_seen IN LISTS LEDMARQUEE_SEES_${_layer})
    if(NOT IS_DIRECTORY "${PROJECT_SOURCE_DIR}/${_seen}")
      continue()
    endif()
    if(DEFINED LEDMARQUEE_SHOWS_${_seen} AND NOT _seen STREQUAL _layer)
      foreach(_file IN LISTS LEDMARQUEE_SHOWS_${_seen})
        get_filename_component(_folder "${LEDMARQUEE_LAYER_INCLUDE}/${_layer}/${_file}" DIRECTORY)
        file(MAKE_DIRECTORY "${_folder}")
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${_file}" "${LEDMARQUEE_LAYER_INCLUDE}/${_layer}/${_file}" SYMBOLIC)
      endforeach()
    else()
      file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${_seen}" "${LEDMARQUEE_LAYER_INCLUDE}/${_layer}/${_seen}" SYMBOLIC)
    endif()
  endforeach()
endforeach()

# The include scan, once now and again before every build that compiles a layer.
set(LEDMARQUEE_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
include("${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake")
set(_scanned "")
foreach(_layer IN LISTS LEDMARQUEE_LAYERS)
  file(GLOB_RECURSE _layer_files CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/${_layer}/*.h" "${PROJECT_SOURCE_DIR}/${_layer}/*.cpp")
  list(APPEND _scanned ${_layer_files})
endforeach()
add_custom_command(
  OUTPUT "${PROJECT_BINARY_DIR}/layer-check.stamp"
  COMMAND "${CMAKE_COMMAND}" "-DLEDMARQUEE_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "-DLEDMARQUEE_STAMP=${PROJECT_BINARY_DIR}/layer-check.stamp"
          -P "${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake"
  DEPENDS ${_scanned} "${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake"
          "${CMAKE_CURRENT_LIST_DIR}/LedmarqueeLayers.cmake"
  COMMENT "Checking that no include reaches up a layer"
  VERBATIM)
add_custom_target(ledmarquee-layer-check DEPENDS "${PROJECT_BINARY_DIR}/layer-check.stamp")

# The warning set (as errors with LEDMARQUEE_WERROR) for a target of ours.
function(ledmarquee_warnings target)
  target_compile_options(${target} PRIVATE ${LEDMARQUEE_WARNINGS})
endfunction()

# Makes a target part of a layer: it compiles against that layer's include
# root, waits for the include scan, and gets the warning set. The layer is the
# folder the target is defined in unless LAYER names it. Libraries hand their
# root on to whoever links them.
function(ledmarquee_layer target)
  cmake_parse_arguments(ARG "" "LAYER" "" ${ARGN})
  if(ARG_LAYER)
    set(layer "${ARG_LAYER}")
  else()
    get_target_property(folder ${target} SOURCE_DIR)
    get_filename_component(layer "${folder}" NAME)
  endif()
  if(NOT layer IN_LIST LEDMARQUEE_LAYERS)
    message(FATAL_ERROR "ledmarquee_layer(${target}): '${layer}' is not one of ${LEDMARQUEE_LAYERS}")
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(scope PRIVATE)
  else()
    set(scope PUBLIC)
  endif()
  target_include_directories(${target} ${scope} "${LEDMARQUEE_LAYER_INCLUDE}/${layer}")
  add_dependencies(${target} ledmarquee-layer-check)
  ledmarquee_warnings(${target})
  set_property(TARGET ${target} PROPERTY LEDMARQUEE_LAYER "${layer}")
endfunction()

# Makes every library and executable defined in a layer folder part of that
# layer, so a new target there cannot slip past the include roots.
function(ledmarquee_layer_folders)
  foreach(layer IN LISTS LEDMARQUEE_LAYERS)
    if(NOT EXISTS "${PROJECT_SOURCE_DIR}/${layer}/CMakeLists.txt")
      continue()
    endif()
    get_property(targets DIRECTORY "${PROJECT_SOURCE_DIR}/${layer}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      get_target_property(done ${target} LEDMARQUEE_LAYER)
      if(type MATCHES "LIBRARY|EXECUTABLE" AND NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT done)
        ledmarquee_layer(${target} LAYER ${layer})
      endif()
    endforeach()
  endforeach()
endfunction()
