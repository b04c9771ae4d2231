#include "platform/start_command_line.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr int kNoDisplay = 1;
constexpr int kUsageError = 2;

const char* const kHelp =
    "Usage: ledmarquee [--help] [--version] [Qt options such as -platform NAME or -style NAME]\n"
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

// The options Qt's application takes from the command line, as it spells
// them (a second leading dash is allowed), and whether each takes a value.
struct QtOption {
    std::string_view name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"qmljsdebugger", true},
    {"session", true},
    {"reverse", false},
    {"style", true},
    {"stylesheet", true},
    {"widgetcount", false},
    // The X11 platform's own.
    {"display", true},
    {"geometry", true},
    {"title", true},
    {"icon", true},
    {"name", true},
    {"visual", true},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
};

// What the command line asks beyond --help and --version: the one line
// that says what is wrong with it, if anything, and whether -platform
// names where the window goes.
struct Reading {
    std::optional<std::string> problem;
    bool platformGiven = false;
};

Reading read(const std::vector<std::string>& arguments)
{
    Reading reading;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h" || argument == "-?" || argument == "--version" || argument == "-v") {
            continue;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            reading.problem = "unexpected argument '" + argument + "'";
            return reading;
        }
        const std::string_view spelled = std::string_view(argument).substr(argument[1] == '-' ? 2 : 1);
        const std::size_t equals = spelled.find('=');
        const std::string_view name = spelled.substr(0, equals);
        const auto* option = std::find_if(std::begin(kQtOptions), std::end(kQtOptions),
                                          [&](const QtOption& known) { return known.name == name; });
        if (option == std::end(kQtOptions) || (equals != std::string_view::npos && !option->takesValue)) {
            reading.problem = "Unknown option '" + std::string(name) + "'.";
            return reading;
        }
        if (option->takesValue && equals == std::string_view::npos) {
            if (i + 1 == arguments.size()) {
                reading.problem = "Missing value after '" + argument + "'.";
                return reading;
            }
            ++i;
        }
        reading.platformGiven = reading.platformGiven || name == "platform";
    }
    return reading;
}

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
    const Reading reading = read(m_arguments);
    if (reading.problem) {
        std::fprintf(err, "ledmarquee: %s\nTry 'ledmarquee --help' for more information.\n", reading.problem->c_str());
        return kUsageError;
    }
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
    if (!haveDisplay && !reading.platformGiven) {
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
