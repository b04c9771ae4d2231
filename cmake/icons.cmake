# The tool's icon is drawn once, as data/icons/ledmarquee.svg; the PNG sizes
# that launchers and the window need are made from it at build time.
set(LEDMARQUEE_ICON_SIZES 16 24 32 48 64 128 256)
set(LEDMARQUEE_ICON_SVG ${PROJECT_SOURCE_DIR}/data/icons/ledmarquee.svg)
set(LEDMARQUEE_ICON_DIR ${PROJECT_BINARY_DIR}/icons)

find_program(RSVG_CONVERT rsvg-convert REQUIRED)

# ledmarquee_window_icons(target): renders the PNGs (into build/icons/SIZE.png)
# and embeds the sizes up to 64 px in target as :/icons/SIZE.png, so the
# window's icon is sharp without an SVG plugin. Larger ones would only slow
# the start: the window hands every size to the window manager as pixels.
function(ledmarquee_window_icons target)
  set(pngs)
  set(embedded)
  foreach(size IN LISTS LEDMARQUEE_ICON_SIZES)
    set(png ${LEDMARQUEE_ICON_DIR}/${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${LEDMARQUEE_ICON_DIR}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${LEDMARQUEE_ICON_SVG}
      DEPENDS ${LEDMARQUEE_ICON_SVG}
      COMMENT "Drawing the ${size} px icon"
      VERBATIM)
    list(APPEND pngs ${png})
    if(size LESS_EQUAL 64)
      list(APPEND embedded ${png})
    endif()
  endforeach()
  add_custom_target(${target}-icons ALL DEPENDS ${pngs})
  qt_add_resources(${target} window_icons
    PREFIX /icons
    BASE ${LEDMARQUEE_ICON_DIR}
    FILES ${embedded})
endfunction()
