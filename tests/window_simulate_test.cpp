#include "board/board_tools.h"
#include "window/form1.h"
#include "window/panel_prebuild.h"
#include "window/sign_preview.h"

#include "stand_in_builder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <unistd.h>

namespace {

// The processes this test has started that are still there, zombies
// included, each as its name and its state letter (T while stopped).
QList<QPair<QByteArray, char>> children()
{
    QList<QPair<QByteArray, char>> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // pid (name) state ppid ...
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.value(1).toInt() == getpid()) {
            found.append({line.mid(line.indexOf('(') + 1, close - line.indexOf('(') - 1), fields.value(0).at(0)});
        }
    }
    return found;
}

// The simulator's state letter, or none while it does not run.
char simulatorState()
{
    for (const auto& [name, state] : children()) {
        if (name.startsWith("ledmarquee-simu")) {
            return state;
        }
    }
    return '\0';
}

// The window on the real builder and the simulated board, with a build
// cache of the tests' own; skipped where the Arduino tools are missing.
class WindowSimulateTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (const QStringList missing = board::BoardTools::missingForCompile(); !missing.isEmpty()) {
            GTEST_SKIP() << "Arduino tools absent: " << missing.join(QLatin1Char(' ')).toStdString();
        }
        qputenv("XDG_CACHE_HOME", LEDMARQUEE_BOARD_CACHE);
        opened = std::make_unique<window::Form1>(toolFolder.path().toStdString());
        opened->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(opened.get()));
    }

    QTemporaryDir toolFolder;
    std::unique_ptr<window::Form1> opened;
};

// The simulate button runs the panel as it stands, hand edits included, on
// the real builder and the simulated board: the live sign shows the title
// word typed over; a click on it holds the simulator stopped, and Space lets
// it go on. Stopped with the edit still in the panel, the sign keeps the
// last picture, dimmed, until a generate plays the preview again, and no
// process is left.
TEST_F(WindowSimulateTest, RunsThePanelLivePausesAndStops)
{
    window::Form1& form = *opened;
    auto* panel = form.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    auto* generate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* simulate = form.findChild<QPushButton*>(QStringLiteral("simulate"));
    auto* preview = form.findChild<window::SignPreview*>(QStringLiteral("preview"));
    auto* note = form.findChild<QLabel*>(QStringLiteral("signNote"));
    auto* memory = form.findChild<QLabel*>(QStringLiteral("memoryLine"));
    ASSERT_TRUE(panel && generate && simulate && preview && note && memory);

    QTest::mouseClick(generate, Qt::LeftButton);
    // The title's first word typed over, as a user edits.
    const QTextBlock titleLine = panel->document()->find(QStringLiteral("unsigned int b[]={")).block().next();
    ASSERT_TRUE(titleLine.isValid());
    QTextCursor edit(titleLine);
    edit.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, int(titleLine.text().indexOf(QLatin1Char(','))));
    edit.insertText(QStringLiteral(" 12345"));
    const auto before = children().size();

    QTest::mouseClick(simulate, Qt::LeftButton);
    EXPECT_EQ(simulate->text(), QStringLiteral("停止試跑"));
    // Column 0 lights the rows of 12345 (bits 0, 3, 4, 5, 12, 13) and no other.
    const auto showsEditedWord = [&] {
        for (int row = 0; row < 16; ++row) {
            if ((preview->levels()[std::size_t(row)] >= 8) != bool((12345 >> row) & 1)) {
                return false;
            }
        }
        return preview->live();
    };
    // Picture by picture: the simulated board's stream of pictures would
    // keep a wait that only returns once events run out from ever looking.
    QSignalSpy pictureChanged(preview, &window::SignPreview::pictureChanged);
    const QDeadlineTimer compiled(120000);
    while (!showsEditedWord() && pictureChanged.wait(int(std::max<qint64>(1, compiled.remainingTime())))) {
    }
    ASSERT_TRUE(showsEditedWord()) << note->text().toStdString();
    EXPECT_TRUE(note->text().contains(QStringLiteral("K、F"))) << note->text().toStdString();
    EXPECT_TRUE(memory->text().contains(QStringLiteral("實測（avr-size）"))) << memory->text().toStdString();
    EXPECT_EQ(children().size(), before + 1) << "the simulator runs";
    EXPECT_FALSE(preview->paused()) << "the live sign is not the preview's to pause";

    QTest::mouseClick(preview, Qt::LeftButton);
    EXPECT_EQ(preview->liveLook(), window::SignPreview::LiveLook::Paused);
    EXPECT_TRUE(note->text().contains(QStringLiteral("暫停"))) << note->text().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([] { return simulatorState() == 'T'; }, 5000)) << simulatorState();
    QTest::keyClick(preview, Qt::Key_Space);
    EXPECT_EQ(preview->liveLook(), window::SignPreview::LiveLook::Running);
    pictureChanged.clear();
    EXPECT_TRUE(pictureChanged.wait(5000)) << "the board goes on";

    QTest::mouseClick(preview, Qt::LeftButton);
    QSignalSpy signChanged(&form.session(), &window::Session::signChanged);
    QTest::mouseClick(simulate, Qt::LeftButton);
    ASSERT_TRUE(signChanged.wait(5000));
    EXPECT_EQ(simulate->text(), QStringLiteral("在模擬看板上試跑"));
    EXPECT_TRUE(showsEditedWord());
    EXPECT_EQ(preview->liveLook(), window::SignPreview::LiveLook::Held);
    EXPECT_TRUE(note->text().contains(QStringLiteral("已停止試跑"))) << note->text().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return children().size() == before; }, 5000)) << "the simulator is ended and reaped";

    QTest::mouseClick(generate, Qt::LeftButton);
    EXPECT_FALSE(preview->live());
    EXPECT_TRUE(note->text().isEmpty()) << note->text().toStdString();
}

// What the linker refuses is named under the sign, and 詳細資訊 shows the
// builder's whole output, the linker's own lines among it.
TEST_F(WindowSimulateTest, AMissingLoopIsNamedAndTheLogIsShown)
{
    window::Form1& form = *opened;
    auto* panel = form.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    auto* note = form.findChild<QLabel*>(QStringLiteral("signNote"));
    auto* details = form.findChild<QPushButton*>(QStringLiteral("uploadDetails"));
    ASSERT_TRUE(panel && note && details);

    // Typed over the placeholder, as a user pastes a sketch of their own.
    QTextCursor all(panel->document());
    all.select(QTextCursor::Document);
    all.insertText(QStringLiteral("void setup() {}\n"));
    QSignalSpy signChanged(&form.session(), &window::Session::signChanged);
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("simulate")), Qt::LeftButton);
    const QDeadlineTimer built(120000);
    while (form.session().board() == window::Session::Board::Compiling
           && signChanged.wait(int(std::max<qint64>(1, built.remainingTime())))) {
    }
    EXPECT_TRUE(note->text().contains(QStringLiteral("loop()"))) << note->text().toStdString();
    ASSERT_TRUE(details->isEnabled());
    QTest::mouseClick(details, Qt::LeftButton);
    auto* log = form.findChild<QPlainTextEdit*>(QStringLiteral("uploadLog"));
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->toPlainText().contains(QStringLiteral("undefined reference to `loop'")))
        << log->toPlainText().toStdString();
}

// After a generate the window builds the panel in the background, so that
// 在模擬看板上試跑 finds it built: the real builder, behind a stand-in that
// counts its runs, runs once, for the background build, and the click's
// run lights the sign all the same.
TEST_F(WindowSimulateTest, TheClickTakesTheBackgroundBuild)
{
    window::Form1& form = *opened;
    const tests::StandInBuilder builder("#!/bin/sh\necho run >> \"$0.runs\"\nexec '"
                                        + board::BoardTools::builderProgram().toLocal8Bit() + "' \"$@\"\n");
    ASSERT_TRUE(builder.ok());
    const auto builderRuns = [&] { return builder.runs(); };
    auto* generate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* simulate = form.findChild<QPushButton*>(QStringLiteral("simulate"));
    auto* preview = form.findChild<window::SignPreview*>(QStringLiteral("preview"));
    ASSERT_TRUE(generate && simulate && preview);

    QSignalSpy built(&form.prebuild(), &window::PanelPrebuild::built);
    QTest::mouseClick(generate, Qt::LeftButton);
    ASSERT_TRUE(built.wait(240000));
    const auto outcome = built.value(0).value(0).value<board::BoardOutcome>();
    ASSERT_TRUE(outcome.ok()) << outcome.detail.toStdString();
    ASSERT_EQ(builderRuns(), 1);

    QTest::mouseClick(simulate, Qt::LeftButton);
    const auto lit = [preview] {
        const auto& levels = preview->levels();
        return preview->live() && std::any_of(levels.begin(), levels.end(), [](auto level) { return level > 0; });
    };
    QSignalSpy pictureChanged(preview, &window::SignPreview::pictureChanged);
    const QDeadlineTimer deadline(60000);
    while (!lit() && pictureChanged.wait(int(std::max<qint64>(1, deadline.remainingTime())))) {
    }
    EXPECT_TRUE(lit());
    EXPECT_EQ(builderRuns(), 1);
    QTest::mouseClick(simulate, Qt::LeftButton);
}

} // namespace
