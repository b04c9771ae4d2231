# Scans every #include in the layer folders and fails on one that reaches a
# layer the including file may not see (see LedmarqueeLayers.cmake), on a file
# that a layer keeps to itself, on a path that climbs out with "..", and on a
# Qt header inside generation/.
#
# Runs at configure time (included with LEDMARQUEE_SOURCE_DIR set) and at
# build time before any layer compiles:
#   cmake -DLEDMARQUEE_SOURCE_DIR=<src> [-DLEDMARQUEE_STAMP=<file>] -P check_layers.cmake
# The stamp is written only when the scan passes.
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()
include("${CMAKE_CURRENT_LIST_DIR}/LedmarqueeLayers.cmake")

if(NOT LEDMARQUEE_SOURCE_DIR)
  message(FATAL_ERROR "check_layers.cmake: LEDMARQUEE_SOURCE_DIR is not set")
endif()

set(_wrong "")
foreach(_layer IN LISTS LEDMARQUEE_LAYERS)
  file(GLOB_RECURSE _files "${LEDMARQUEE_SOURCE_DIR}/${_layer}/*.h" "${LEDMARQUEE_SOURCE_DIR}/${_layer}/*.cpp")
  foreach(_file IN LISTS _files)
    file(STRINGS "${_file}" _includes ENCODING UTF-8 REGEX "^[ \t]*#[ \t]*include")
    file(RELATIVE_PATH _shown "${LEDMARQUEE_SOURCE_DIR}" "${_file}")
    foreach(_line IN LISTS _includes)
      if(NOT _line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"]")
        # A macro include cannot be checked, so it is not allowed either.
        string(APPEND _wrong "  ${_shown}: ${_line}  (an include this scan cannot read)\n")
        continue()
      endif()
      set(_path "${CMAKE_MATCH_1}")
      string(REGEX MATCH "^[^/]*" _top "${_path}")
      if(_path MATCHES "(^|/)\\.\\.(/|$)")
        string(APPEND _wrong "  ${_shown}: ${_line}  (climbs out with ..)\n")
      elseif(_top IN_LIST LEDMARQUEE_LAYERS AND _path MATCHES "/" AND NOT _top IN_LIST LEDMARQUEE_SEES_${_layer})
        string(REPLACE ";" ", " _seen "${LEDMARQUEE_SEES_${_layer}}")
        string(APPEND _wrong "  ${_shown}: ${_line}  (${_layer}/ may include only ${_seen})\n")
      elseif(DEFINED LEDMARQUEE_SHOWS_${_top} AND NOT _top STREQUAL _layer AND NOT _path IN_LIST LEDMARQUEE_SHOWS_${_top})
        string(REPLACE ";" ", " _open "${LEDMARQUEE_SHOWS_${_top}}")
        string(APPEND _wrong "  ${_shown}: ${_line}  (outside ${_top}/ only ${_open} may be included)\n")
      elseif(_layer STREQUAL "generation" AND _line MATCHES "[<\"](Q|qt|Qt)")
        string(APPEND _wrong "  ${_shown}: ${_line}  (generation/ is plain C++ without Qt)\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_wrong)
  message(FATAL_ERROR "Includes that reach across the layers:\n${_wrong}")
endif()
if(LEDMARQUEE_STAMP)
  file(TOUCH "${LEDMARQUEE_STAMP}")
endif()
