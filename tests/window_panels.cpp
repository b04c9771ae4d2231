// Prints the panel sketches the window makes of a title and a message, one
// for each face and style, as a user would make them: types the texts,
// picks the face, ticks or unticks 粗體 and 斜體 and presses 產生程式. Each
// sketch is followed by a form feed. Given a folder, it then presses 寫入檔案,
// which writes FOLDER/bb/bb.ino. The window tests run it on a scaled screen
// and on other window systems, which have to be chosen before the
// application starts; the window is shown as the tool shows it.
//   window-panels TITLE MESSAGE [FOLDER]
#include "platform/canvas_rendering.h"
#include "platform/face_substitutions.h"
#include "window/fitted_window.h"
#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

template <typename Widget>
Widget* control(QWidget& form, const char* name)
{
    return form.findChild<Widget*>(QString::fromLatin1(name));
}

void setTicked(QCheckBox* box, bool ticked)
{
    if (box->isChecked() != ticked) {
        QTest::mouseClick(box, Qt::LeftButton);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s TITLE MESSAGE [FOLDER]\n", argv[0]);
        return 2;
    }
    platform::pinCanvasRendering();
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    QTemporaryDir toolFolder;
    QTemporaryDir settingsFolder;
    // The last port used is kept in the user's settings: not the tester's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    const QString folder = argc == 4 ? QString::fromLocal8Bit(argv[3]) : toolFolder.path();
    window::Form1 form(folder.toStdString());
    window::FittedWindow fitted(form);
    fitted.show();
    if (!QTest::qWaitForWindowExposed(&fitted)) {
        return 1;
    }
    control<QLineEdit>(form, "Text1")->setText(QString::fromUtf8(argv[1]));
    control<QLineEdit>(form, "Text2")->setText(QString::fromUtf8(argv[2]));
    for (const char* face : {"Option1", "Option2"}) {
        QTest::mouseClick(control<QRadioButton>(form, face), Qt::LeftButton);
        for (const bool bold : {false, true}) {
            for (const bool italic : {false, true}) {
                setTicked(control<QCheckBox>(form, "Check1"), bold);
                setTicked(control<QCheckBox>(form, "Check2"), italic);
                QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
                std::fputs(form.panelText().toUtf8().constData(), stdout);
                std::fputc('\f', stdout);
            }
        }
    }
    if (argc == 4) {
        QTest::mouseClick(control<QPushButton>(form, "Command5"), Qt::LeftButton);
    }
    return 0;
}
