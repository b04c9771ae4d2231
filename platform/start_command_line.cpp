#include "platform/start_command_line.h"

#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr int kNoDisplay = 1;

const char* const kHelp =
    "Usage: ledmarquee [--help] [--version] [Qt options such as -platform NAME]\n"
    "\n"
    "Opens the window that turns a title and a message into an Arduino sketch\n"
    "for a 16 x 64 LED matrix sign on a Mega 2560.\n"
    "\n"
    "The write button saves bb/bb.ino beside the program when it runs from its\n"
    "build or an unpacked folder (the bb folder must exist), and in\n"
    "~/Arduino/bb/bb.ino when it is installed (the folder is made when missing).\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Without a display, use ledmarquee-cli, which prints the same sketches.\n";

// The handler Qt had before reportStartFailures(), and what Qt said since:
// on a failed start only the first line (the display it could not reach)
// is worth showing; on a good start everything is passed on afterwards.
QtMessageHandler g_previousHandler = nullptr;
std::vector<std::pair<QtMsgType, QString>> g_startMessages;

void startFailureHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        g_startMessages.emplace_back(type, message);
        return;
    }
    const QString reason = g_startMessages.empty() ? message : g_startMessages.front().second;
    std::fprintf(stderr, "ledmarquee: cannot open the window: %s\n", reason.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(kNoDisplay);
}

} // namespace

StartCommandLine::StartCommandLine(int argc, const char* const* argv, std::string version)
    : m_arguments(argv + (argc > 0 ? 1 : 0), argv + argc)
    , m_version(std::move(version))
{
}

std::optional<int> StartCommandLine::answer(std::FILE* out, std::FILE* err, bool haveDisplay) const
{
    for (const std::string& argument : m_arguments) {
        if (argument == "--help" || argument == "-h" || argument == "-?") {
            std::fputs(kHelp, out);
            return 0;
        }
        if (argument == "--version" || argument == "-v") {
            std::fprintf(out, "ledmarquee %s\n", m_version.c_str());
            return 0;
        }
    }
    if (!haveDisplay) {
        std::fputs("ledmarquee: there is no display to open the window on (set DISPLAY, or run it under "
                   "xvfb-run; ledmarquee-cli works without one)\n",
                   err);
        return kNoDisplay;
    }
    return std::nullopt;
}

bool StartCommandLine::environmentHasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

void StartCommandLine::reportStartFailures()
{
    g_previousHandler = qInstallMessageHandler(startFailureHandler);
}

void StartCommandLine::endOfStart()
{
    qInstallMessageHandler(g_previousHandler);
    for (const auto& [type, message] : g_startMessages) {
        qt_message_output(type, QMessageLogContext(), message);
    }
    g_startMessages.clear();
}

} // namespace platform
