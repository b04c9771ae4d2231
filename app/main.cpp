#include "platform/executable_folder.h"
#include "platform/face_substitutions.h"
#include "window/form1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    window::Form1 form(platform::executableFolder());
    form.show();
    return application.exec();
}
