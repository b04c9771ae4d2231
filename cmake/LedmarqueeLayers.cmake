# The layers and what each may include, in one table that both the include
# roots (LedmarqueeTargets.cmake) and the include scan (check_layers.cmake)
# read. A layer sees itself and the layers below it, never one above.
set(LEDMARQUEE_LAYERS generation platform board window cli app)

set(LEDMARQUEE_SEES_generation generation)
set(LEDMARQUEE_SEES_platform generation platform)
set(LEDMARQUEE_SEES_board generation platform board)
set(LEDMARQUEE_SEES_window generation platform board window)
set(LEDMARQUEE_SEES_cli generation platform board cli)
set(LEDMARQUEE_SEES_app generation platform board window app)
