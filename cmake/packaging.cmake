# `make package` (cpack) builds ledmarquee_VERSION_ARCH.deb from the install
# rules. The Qt and simavr libraries it needs (libsimavr2 for the simulator)
# are found by dpkg-shlibdeps; the faces the sketches are drawn with, and
# Qt's SVG image plug-in that reads SVG pictures, are named here, since
# nothing links them. The license is GPL-3.0-or-later
# (LICENSE; data/copyright in the package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ledmarquee)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "ledmarquee developers <ledmarquee@qelvorn.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Arduino sketches for 16 x 64 LED matrix signs")
set(CPACK_PACKAGE_DESCRIPTION
  "A desktop tool that turns a title and a message (usually Traditional\n"
  "Chinese) into a complete Arduino sketch for a 16 x 64 LED matrix sign on a\n"
  "Mega 2560: the text is drawn at 16 px, read back as 16-pixel columns and\n"
  "written as a sketch that blinks the title and scrolls the message. It comes\n"
  "with a window (ledmarquee) and a command-line tool (ledmarquee-cli).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, fonts-arphic-ukai, libqt6svg6")
# Compiling and uploading from the tool, and Qt's own Chinese buttons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "arduino-builder, arduino-core-avr, avrdude, qt6-translations-l10n")
# The window running natively on a Wayland desktop rather than through XWayland.
string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qelvorn.example/ledmarquee")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
