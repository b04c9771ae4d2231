# simavr, the AVR simulator the simulated Mega 2560 runs on (libsimavr-dev,
# libelf-dev). The tool runs sketches on it, so the build needs it; defines
# the target simavr::simavr.
include_guard(GLOBAL)
find_path(SIMAVR_INCLUDE_DIR sim_avr.h PATH_SUFFIXES simavr)
find_library(SIMAVR_LIBRARY simavr)
find_library(SIMAVR_PARTS_LIBRARY simavrparts)
find_library(ELF_LIBRARY elf)
if(NOT (SIMAVR_INCLUDE_DIR AND SIMAVR_LIBRARY AND SIMAVR_PARTS_LIBRARY AND ELF_LIBRARY))
  message(FATAL_ERROR "simavr is missing: install libsimavr-dev and libelf-dev (scripts/install-deps)")
endif()
find_package(Threads REQUIRED)
add_library(simavr::simavr INTERFACE IMPORTED GLOBAL)
# simavr's headers are not ours to fix.
target_include_directories(simavr::simavr SYSTEM INTERFACE ${SIMAVR_INCLUDE_DIR})
target_link_libraries(simavr::simavr INTERFACE
  ${SIMAVR_PARTS_LIBRARY} ${SIMAVR_LIBRARY} ${ELF_LIBRARY} util Threads::Threads)
