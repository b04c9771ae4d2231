# Where the window and the command line find the simulator program: the path
# from the folder the programs are installed in to the simulator's, worked
# out from the GNU install folders, so that a distribution with a libexec
# folder of its own keeps the simulated board. The build tree puts the
# simulator where that path leads from build/app, build/cli and build/tests,
# so the programs find it there as they do installed.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(LEDMARQUEE_SIMULATOR_INSTALL_DIR "${CMAKE_INSTALL_LIBEXECDIR}/ledmarquee")
file(RELATIVE_PATH LEDMARQUEE_SIMULATOR_FROM_PROGRAMS
  "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBEXECDIR}/ledmarquee")
cmake_path(ABSOLUTE_PATH LEDMARQUEE_SIMULATOR_FROM_PROGRAMS BASE_DIRECTORY "${PROJECT_BINARY_DIR}/app"
  NORMALIZE OUTPUT_VARIABLE LEDMARQUEE_SIMULATOR_BUILD_DIR)
cmake_path(IS_PREFIX PROJECT_BINARY_DIR "${LEDMARQUEE_SIMULATOR_BUILD_DIR}" NORMALIZE _inside)
if(NOT _inside)
  message(FATAL_ERROR "the simulator's folder ${LEDMARQUEE_SIMULATOR_FROM_PROGRAMS}, seen from the programs' "
                      "${CMAKE_INSTALL_BINDIR}, leads out of the build tree; give CMAKE_INSTALL_BINDIR one folder")
endif()
