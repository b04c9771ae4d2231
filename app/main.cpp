#include "platform/executable_folder.h"
#include "platform/face_substitutions.h"
#include "window/form1.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    // A write over the file-size limit fails with an error the window reports.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    window::Form1 form(platform::executableFolder());
    form.show();
    return application.exec();
}
