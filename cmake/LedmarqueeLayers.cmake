# The layers and what each may include, in one table that both the include
# roots (LedmarqueeTargets.cmake) and the include scan (check_layers.cmake)
# read. A layer sees itself and the layers below it, never one above.
set(LEDMARQUEE_LAYERS generation platform simulator board window cli app)

set(LEDMARQUEE_SEES_generation generation)
set(LEDMARQUEE_SEES_platform generation platform)
set(LEDMARQUEE_SEES_simulator generation simulator)
set(LEDMARQUEE_SEES_board generation platform simulator board)
set(LEDMARQUEE_SEES_window generation platform simulator board window)
set(LEDMARQUEE_SEES_cli generation platform simulator board cli)
set(LEDMARQUEE_SEES_app generation platform simulator board window app)

# A layer that shows the layers above only some of its files lists them
# here. The simulated board and the simulator program stay apart from the
# tool, which runs the program as it runs the Arduino tools and reads no more
# of it than the lines it writes; the tests include the rest.
set(LEDMARQUEE_SHOWS_simulator simulator/simulator_output.h)
