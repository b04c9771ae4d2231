#include "cli/command_line.h"
#include "platform/canvas_rendering.h"
#include "platform/face_substitutions.h"

#include <QGuiApplication>
#include <QStringDecoder>

#include <csignal>
#include <cstdio>

namespace {

// Qt's own warnings (missing runtime folders and the like) would mix with
// the tool's one-line errors on standard error; only Qt's fatal messages pass.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    }
}

} // namespace

int main(int argc, char** argv)
{
    // A write over the file-size limit then fails with EFBIG and is reported,
    // instead of the signal ending the tool part-way.
    std::signal(SIGXFSZ, SIG_IGN);

    // Arguments are checked as bytes before Qt sees them: once decoded, an
    // invalid sequence has already become U+FFFD and could not be reported.
    // A leading U+FEFF is kept: text on the command line is taken as typed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8,
                               QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        QString argument = decoder.decode(QByteArrayView(argv[i]));
        if (decoder.hasError()) {
            std::fprintf(stderr, "ledmarquee-cli: argument %d is not valid UTF-8\n", i);
            return 2;
        }
        arguments << argument;
    }

    // Drawing needs a GUI application but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(quietQtMessages);
    platform::pinCanvasRendering();
    // Qt is given only the program name, so no title or message can be taken
    // for one of Qt's own options (-style, -platform, ...).
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    platform::installFaceSubstitutions();
    return cli::CommandLine::run(arguments);
}
