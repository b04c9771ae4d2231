#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The window program's command line, answered before Qt opens a display:
// an option neither it nor Qt knows, or a stray argument, is a usage error
// (one line, status 2), --help and --version print and end, and without
// any display to open the program says so in one line instead of ending
// inside Qt's platform plugin. What Qt's options (-platform, -style, ...)
// do is left to Qt; starting the window is left to main.
class StartCommandLine {
public:
    StartCommandLine(int argc, const char* const* argv, std::string version);

    // The exit status when the command line has been answered here; nothing
    // when the window should start. haveDisplay is the environment's
    // DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM, any of which lets Qt
    // open a window, as -platform on the command line does.
    std::optional<int> answer(std::FILE* out, std::FILE* err, bool haveDisplay) const;
    // True when DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is set.
    static bool environmentHasDisplay();
    // From here until endOfStart(), a fatal Qt message (a display that was
    // named but cannot be reached) ends the program with one line and
    // status 1 instead of an abort.
    static void reportStartFailures();
    static void endOfStart();

private:
    std::vector<std::string> m_arguments;
    std::string m_version;
};

} // namespace platform
