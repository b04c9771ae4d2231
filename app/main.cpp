#include "platform/canvas_rendering.h"
#include "platform/face_substitutions.h"
#include "platform/qt_translation.h"
#include "platform/sketch_folder.h"
#include "platform/start_command_line.h"
#include "window/fitted_window.h"
#include "window/form1.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    const platform::StartCommandLine commandLine(argc, argv, LEDMARQUEE_VERSION);
    if (const auto status = commandLine.answer(stdout, stderr, platform::StartCommandLine::environmentHasDisplay())) {
        return *status;
    }

    platform::StartCommandLine::reportStartFailures();
    // A write over the file-size limit fails with an error the window reports.
    std::signal(SIGXFSZ, SIG_IGN);
    platform::pinCanvasRendering();
    QApplication application(argc, argv);
    platform::StartCommandLine::endOfStart();

    const platform::QtTranslation qtTexts;
    // One picture per size, drawn from the same SVG at build time.
    QIcon icon;
    for (const QString& size : QDir(QStringLiteral(":/icons")).entryList()) {
        icon.addFile(QStringLiteral(":/icons/") + size);
    }
    QApplication::setWindowIcon(icon);
    QApplication::setDesktopFileName(QStringLiteral("ledmarquee"));
    platform::installFaceSubstitutions();
    window::Form1 form(platform::SketchFolder::current().toolFolder());
    // The form keeps its designed size; on a small screen its window scrolls it.
    window::FittedWindow fitted(form);
    fitted.show();
    return application.exec();
}
