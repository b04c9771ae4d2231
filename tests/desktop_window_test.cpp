// The window on the desktops people run: framed by a real window manager at
// twice the scale, natively under Wayland, and under a dark theme. The
// first two start their own servers (Xvfb with openbox, weston's headless
// backend) and run the window in a process of its own, since a process
// chooses its window system once; without those programs they are skipped.
#include "window/form1.h"
#include "window/sign_preview.h"
#include "window/theme_colours.h"

#include "file_bytes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using window::ThemeColours;

// A server or window manager the test started, ended when the test ends:
// politely, so that Xvfb takes its lock file and socket with it.
class Started {
public:
    Started(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
    {
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
    }
    ~Started()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished();
            }
        }
    }
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

// What the programs the tests start see: a home of their own (no user's
// window manager settings, no user's ledmarquee settings) and no display
// until the test gives them one.
QProcessEnvironment environmentIn(const QTemporaryDir& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "XDG_CONFIG_HOME"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    return environment;
}

QString missingProgram(const QStringList& programs)
{
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            return program;
        }
    }
    return {};
}

// Standard output of a short program, or nothing when it fails.
QByteArray outputOf(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return {};
    }
    return process.readAllStandardOutput();
}

// Starts a virtual X server with one screen of this size on a display
// number it finds free, and gives the environment that display.
std::unique_ptr<Started> startX(QSize size, QProcessEnvironment& environment)
{
    auto server = std::make_unique<Started>(
        QStringLiteral("Xvfb"),
        QStringList{"-displayfd", "1", "-nolisten", "tcp", "-screen", "0",
                    QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height())},
        environment);
    QProcess& process = server->process();
    if (!QTest::qWaitFor([&] { return process.canReadLine() || process.state() == QProcess::NotRunning; }, 30000)) {
        return nullptr;
    }
    bool isNumber = false;
    const int display = process.readLine().trimmed().toInt(&isNumber);
    if (!isNumber) {
        return nullptr;
    }
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
    // With two servers starting side by side, a display can be named a
    // moment before it takes clients.
    if (!QTest::qWaitFor([&] { return !outputOf(QStringLiteral("xprop"), {"-root", "-len", "1"}, environment).isEmpty(); },
                         30000)) {
        return nullptr;
    }
    return server;
}

int number(const QByteArray& text, const char* pattern)
{
    const QRegularExpressionMatch match = QRegularExpression(QString::fromLatin1(pattern)).match(QString::fromUtf8(text));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// The frame the window manager put around an X window, in the screen's
// pixels, or nothing while it has not framed it.
std::optional<QRect> frameOf(const QString& window, const QProcessEnvironment& environment)
{
    const QByteArray info = outputOf(QStringLiteral("xwininfo"), {"-id", window}, environment);
    const QByteArray extents = outputOf(QStringLiteral("xprop"), {"-id", window, "_NET_FRAME_EXTENTS"}, environment);
    const QRegularExpressionMatch margins =
        QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(QString::fromUtf8(extents));
    if (info.isEmpty() || !margins.hasMatch()) {
        return std::nullopt;
    }
    const QRect client(number(info, "Absolute upper-left X:\\s+(-?\\d+)"), number(info, "Absolute upper-left Y:\\s+(-?\\d+)"),
                       number(info, "Width:\\s+(\\d+)"), number(info, "Height:\\s+(\\d+)"));
    return client.marginsAdded(QMargins(margins.captured(1).toInt(), margins.captured(3).toInt(),
                                        margins.captured(2).toInt(), margins.captured(4).toInt()));
}

TEST(WindowManagerTest, AtTwiceTheScaleTheWholeFrameLiesOnTheScreen)
{
    if (const QString missing = missingProgram({"Xvfb", "openbox", "xdotool", "xprop", "xwininfo"}); !missing.isEmpty()) {
        GTEST_SKIP() << missing.toStdString() << " is not installed (scripts/install-deps installs it)";
    }
    QTemporaryDir home;
    QProcessEnvironment environment = environmentIn(home);
    const QSize screen(1600, 1000);
    const auto server = startX(screen, environment);
    if (!server) {
        GTEST_SKIP() << "Xvfb did not start";
    }
    // openbox gives up when its first connection is refused; it is started
    // again until the display has it.
    auto manager = std::make_unique<Started>(QStringLiteral("openbox"), QStringList{"--sm-disable"}, environment);
    QByteArray refusal;
    if (!QTest::qWaitFor(
            [&] {
                if (manager->process().state() == QProcess::NotRunning) {
                    refusal = manager->process().readAllStandardOutput() + manager->process().readAllStandardError();
                    manager = std::make_unique<Started>(QStringLiteral("openbox"), QStringList{"--sm-disable"}, environment);
                }
                return outputOf(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}, environment).contains("window id");
            },
            30000)) {
        GTEST_SKIP() << "openbox did not start: " << refusal.constData();
    }

    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    Started tool(QStringLiteral(LEDMARQUEE_WINDOW), {}, environment);
    QString window;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window = QString::fromLatin1(outputOf(QStringLiteral("xdotool"),
                                                  {"search", "--onlyvisible", "--pid",
                                                   QString::number(tool.process().processId())},
                                                  environment))
                         .section(QLatin1Char('\n'), 0, 0);
            return !window.isEmpty();
        },
        30000))
        << tool.process().readAllStandardError().constData();

    // The window manager frames the window after it is shown; the window
    // fits itself to the frame once it knows it.
    std::optional<QRect> frame;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            frame = frameOf(window, environment);
            return frame && QRect(QPoint(0, 0), screen).contains(*frame);
        },
        20000))
        << (frame ? QStringLiteral("%1,%2 %3 x %4").arg(frame->x()).arg(frame->y()).arg(frame->width()).arg(frame->height())
                  : QStringLiteral("never framed"))
               .toStdString();
    // The form needs more than the screen: the window takes all of it
    // (less the pixels the rounding of a scaled frame may cost).
    ASSERT_TRUE(frame);
    EXPECT_GE(frame->width(), screen.width() - 2);
    EXPECT_GE(frame->height(), screen.height() - 2);
}

// The bb.ino the window writes after its generate buttons were pressed,
// run with this environment; empty when it failed.
QByteArray sketchFileWritten(const QProcessEnvironment& environment, std::string& log)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("bb"));
    QProcess panels;
    panels.setProcessEnvironment(environment);
    panels.start(QStringLiteral(LEDMARQUEE_WINDOW_PANELS),
                 {QStringLiteral("新春快樂"), QStringLiteral("歡迎光臨本校電子社成果展"), folder.path()});
    panels.waitForFinished(120000);
    log += panels.readAllStandardError().toStdString();
    if (panels.exitStatus() != QProcess::NormalExit || panels.exitCode() != 0
        || panels.readAllStandardOutput().count('\f') != 8) {
        return {};
    }
    return tests::readAll(folder.filePath(QStringLiteral("bb/bb.ino")));
}

TEST(WaylandTest, TheWindowRunsNativelyAndWritesTheSketchFileItWritesUnderX)
{
    if (const QString missing = missingProgram({"weston", "Xvfb"}); !missing.isEmpty()) {
        GTEST_SKIP() << missing.toStdString() << " is not installed (scripts/install-deps installs it)";
    }
    QTemporaryDir home;
    QProcessEnvironment wayland = environmentIn(home);
    const QString socket = QStringLiteral("ledmarquee-test");
    Started compositor(QStringLiteral("weston"),
                       {"--backend=headless-backend.so", "--use-pixman", "--idle-time=0", "--width=1600",
                        "--height=1000", "--socket=" + socket},
                       wayland);
    if (!QTest::qWaitFor(
            [&] {
                return QFileInfo::exists(QDir(home.path()).filePath(socket))
                    || compositor.process().state() == QProcess::NotRunning;
            },
            30000)
        || compositor.process().state() == QProcess::NotRunning) {
        GTEST_SKIP() << "weston did not start: " << compositor.process().readAllStandardError().constData();
    }
    wayland.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
    // Qt does not fall back to another window system when it is named.
    wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    std::string log;
    const QByteArray underWayland = sketchFileWritten(wayland, log);
    ASSERT_FALSE(underWayland.isEmpty()) << log;

    QProcessEnvironment x = environmentIn(home);
    const auto server = startX(QSize(1600, 1000), x);
    if (!server) {
        GTEST_SKIP() << "Xvfb did not start";
    }
    x.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QByteArray underX = sketchFileWritten(x, log);
    ASSERT_FALSE(underX.isEmpty()) << log;
    EXPECT_TRUE(underWayland == underX);
}

// A dark theme of the kind desktops ship: light texts on dark grey, and a
// selection blue that is too dark to see on the sign's black board.
QPalette darkPalette()
{
    const QColor text(0xe6, 0xe6, 0xe6);
    QPalette palette(text, QColor(0x3a, 0x3a, 0x3a), QColor(0x50, 0x50, 0x50), QColor(0x20, 0x20, 0x20),
                     QColor(0x30, 0x30, 0x30), text, Qt::white, QColor(0x1e, 0x1e, 0x1e), QColor(0x2d, 0x2d, 0x2d));
    palette.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3a));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0xa0, 0xa0, 0xa0));
    return palette;
}

TEST(DarkThemeTest, EveryTextTheWindowShowsKeepsItsContrast)
{
    // WCAG's own figures: black on white, and the grey at the AA limit.
    ASSERT_DOUBLE_EQ(ThemeColours::contrast(Qt::black, Qt::white), 21.0);
    ASSERT_NEAR(ThemeColours::contrast(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);

    const QPalette before = QApplication::palette();
    QTemporaryDir toolFolder;
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    {
        window::Form1 form(toolFolder.path().toStdString());
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        // A text is drawn in its palette's colours unless a style sheet
        // gives others, and the window uses none.
        const auto expectReadable = [&](const char* state) {
            for (QWidget* widget : form.findChildren<QWidget*>()) {
                EXPECT_TRUE(widget->styleSheet().isEmpty()) << widget->objectName().toStdString();
                auto* label = qobject_cast<QLabel*>(widget);
                if (label && label->isVisible() && !label->text().isEmpty()) {
                    const QPalette& colours = label->palette();
                    EXPECT_GE(ThemeColours::contrast(colours.color(label->foregroundRole()),
                                                     colours.color(label->backgroundRole())),
                              ThemeColours::kTextContrast)
                        << state << ": " << label->objectName().toStdString() << " " << label->text().toStdString();
                }
            }
        };
        // A failure shown on a light theme, then the desktop switches to a
        // dark one.
        form.showUploadResult(QStringLiteral("上傳失敗：找不到看板"), false, QString());
        form.session().simulationStarted();
        form.session().simulationFaulted({});
        QApplication::setPalette(darkPalette());
        // Qt tells a window of the new palette through its event queue.
        const QColor darkWindow = darkPalette().color(QPalette::Window);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.palette().color(QPalette::Window) == darkWindow; }));
        expectReadable("a failure when the theme turned dark");

        auto* message = form.findChild<QLineEdit*>(QStringLiteral("Text2"));
        auto* generate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
        auto* memoryLine = form.findChild<QLabel*>(QStringLiteral("memoryLine"));
        const QColor plain = memoryLine->palette().color(QPalette::WindowText);
        // Too long for bb.ino's sketch only (amber), then for both (red).
        for (const int characters : {278, 300}) {
            message->setText(QString(characters, QChar(0x5b57)));
            QTest::mouseClick(generate, Qt::LeftButton);
            EXPECT_NE(memoryLine->palette().color(QPalette::WindowText), plain) << characters;
            expectReadable(characters == 278 ? "a sketch file too long" : "both sketches too long");
        }
        form.showUploadResult(QStringLiteral("上傳完成"), true, QString());
        expectReadable("a finished upload");

        // The focus frame round the sign, against the sign's board.
        auto* preview = form.findChild<window::SignPreview*>(QStringLiteral("preview"));
        QApplication::setActiveWindow(&form);
        preview->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return preview->hasFocus(); }));
        const QImage sign = preview->grab().toImage();
        const int middle = sign.height() / 2;
        EXPECT_GE(ThemeColours::contrast(sign.pixelColor(0, middle), sign.pixelColor(window::SignPreview::kMargin - 1, middle)),
                  ThemeColours::kFrameContrast);
    }
    QApplication::setPalette(before);
}

} // namespace
