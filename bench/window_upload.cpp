// The window's 上傳到看板 for a panel generated a few seconds before
// (WINDOW_UPLOAD_WAIT seconds, 5 unless given): how long from the click to
// avrdude's start, seen as the upload's stage turning to uploading on the
// status line, and to the end of the upload. Prints both in seconds, then
// whether avrdude verified the upload, on one line. On Qt's offscreen platform:
//   ledmarquee-window-upload PORT TITLE
#include "platform/executable_folder.h"
#include "platform/face_substitutions.h"
#include "window/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ledmarquee-window-upload PORT TITLE\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    window::Form1 form(platform::executableFolder());
    form.show();
    QTest::qWait(300);
    const char* waitText = std::getenv("WINDOW_UPLOAD_WAIT");
    const double wait = waitText != nullptr ? std::atof(waitText) : 5.0;

    auto* port = form.findChild<QComboBox*>(QStringLiteral("port"));
    auto* upload = form.findChild<QPushButton*>(QStringLiteral("upload"));
    auto* status = form.findChild<QLabel*>(QStringLiteral("uploadStatus"));
    port->setEditText(QString::fromLocal8Bit(argv[1]));
    form.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QString::fromLocal8Bit(argv[2]));
    form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QTest::qWait(int(wait * 1000));

    QElapsedTimer clock;
    clock.start();
    upload->click();
    while (!status->text().startsWith(QStringLiteral("上傳到")) && !upload->isEnabled()) {
        QTest::qWait(1);
    }
    const double toAvrdude = double(clock.nsecsElapsed()) / 1e9;
    while (!upload->isEnabled() && clock.elapsed() < 300000) {
        QTest::qWait(5);
    }
    const double whole = double(clock.nsecsElapsed()) / 1e9;
    const bool verified = status->text().startsWith(QStringLiteral("上傳完成"));
    std::printf("%.3f %.3f %s\n", toAvrdude, whole, verified ? "verified" : "failed");
    if (!verified) {
        std::fprintf(stderr, "ledmarquee-window-upload: %s\n", qPrintable(status->text()));
    }
    return 0;
}
