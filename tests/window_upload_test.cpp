#include "window/form1.h"
#include "window/panel_prebuild.h"

#include "generation/wiring_test_sketch.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The real compiler runs on what the upload button sent: a sketch whose
// fault is on line 4 at the click, replaced by a sound one right after. The
// cursor goes to the faulty line only while the panel still holds what was
// sent.
TEST(WindowUploadTest, SendsThePanelAsItWasAtTheClick)
{
    QTemporaryDir toolFolder;
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    qputenv("XDG_CACHE_HOME", LEDMARQUEE_BOARD_CACHE);
    window::Form1 form(toolFolder.path().toStdString());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* panel = form.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    auto* port = form.findChild<QComboBox*>(QStringLiteral("port"));
    auto* upload = form.findChild<QPushButton*>(QStringLiteral("upload"));
    auto* status = form.findChild<QLabel*>(QStringLiteral("uploadStatus"));
    ASSERT_TRUE(panel && port && upload && status);

    const QString faulty = QStringLiteral("void setup() {}\nvoid loop() {}\n\nthis is no sketch;\n");
    panel->setPlainText(faulty);
    // A typed path that is there, so that the work goes on to compile.
    const QString typedPort = toolFolder.filePath(QStringLiteral("ttyLEDMARQUEE9"));
    QFile(typedPort).open(QIODevice::WriteOnly);
    port->setEditText(QString());
    QTest::keyClicks(port, typedPort);
    QTest::mouseClick(upload, Qt::LeftButton);
    // The click returns at once; the work goes on behind the window.
    EXPECT_FALSE(upload->isEnabled());
    panel->setPlainText(QStringLiteral("void setup() {}\nvoid loop() {}\n\n\n\n\n"));

    // The button comes back when the work is over.
    const auto finished = [&] { return QTest::qWaitFor([&] { return upload->isEnabled(); }, 240000); };
    ASSERT_TRUE(finished());
    EXPECT_TRUE(status->text().contains(QStringLiteral("第 4 行"))) << status->text().toStdString();
    EXPECT_FALSE(status->text().contains(QStringLiteral("游標"))) << status->text().toStdString();
    EXPECT_EQ(panel->textCursor().blockNumber(), 0);
    panel->setPlainText(faulty);
    QTest::mouseClick(upload, Qt::LeftButton);
    ASSERT_TRUE(finished());
    EXPECT_TRUE(status->text().contains(QStringLiteral("游標"))) << status->text().toStdString();
    EXPECT_EQ(panel->textCursor().blockNumber(), 3);
    EXPECT_EQ(QSettings(QStringLiteral("ledmarquee"), QStringLiteral("ledmarquee")).value(QStringLiteral("board/lastPort")),
              typedPort);

    // The B/A button sends what the write button puts in bb/bb.ino, at
    // the speed chosen.
    ASSERT_TRUE(QDir(toolFolder.path()).mkdir(QStringLiteral("bb")));
    form.findChild<QSpinBox*>(QStringLiteral("stepFrames"))->setValue(30);
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Command5")), Qt::LeftButton);
    QFile written(toolFolder.filePath(QStringLiteral("bb/bb.ino")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString fileText = QStringDecoder("Big5").decode(written.readAll());
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("uploadPortsBA")), Qt::LeftButton);
    ASSERT_TRUE(finished());
    QFile sent(QStringLiteral(LEDMARQUEE_BOARD_CACHE "/ledmarquee/board/sketch/sketch.ino"));
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(sent.readAll()), fileText);
    EXPECT_TRUE(fileText.contains(QStringLiteral("for (j=0;j<=29;j++)")));
    sent.close();

    // While the panel holds the wiring test, the B/A button sends the
    // test's B/A variant, not the panel's sketch, which the window builds
    // in the background first.
    QSignalSpy built(&form.prebuild(), &window::PanelPrebuild::built);
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("wiringTest")), Qt::LeftButton);
    ASSERT_TRUE(built.wait(240000));
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("uploadPortsBA")), Qt::LeftButton);
    ASSERT_TRUE(finished());
    ASSERT_TRUE(sent.open(QIODevice::ReadOnly));
    EXPECT_EQ(sent.readAll().toStdString(), generation::WiringTestSketch::text(generation::PortWiring::PortsBA));
}

} // namespace
