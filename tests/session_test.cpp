#include "window/session.h"

#include "generation/board_memory.h"
#include "generation/face_names.h"
#include "window/box_pictures.h"
#include "window/memory_line.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using board::BoardFailure;
using window::Session;

// The window's document on the real canvas, with no window: the simulated
// board's runs are told to it as the simulation actions tell them.
class SessionTest : public testing::Test {
protected:
    void generate() { session.generate(QStringLiteral("恭喜"), QStringLiteral("新年快樂"), generation::RowWindow::standard()); }

    static board::BoardOutcome outcome(BoardFailure failure)
    {
        board::BoardOutcome ended;
        ended.failure = failure;
        ended.flashBytes = 5120;
        ended.sramBytes = 333;
        return ended;
    }

    // A run that got as far as lighting the sign.
    void runUntilLit()
    {
        session.simulationStarted();
        session.simulationCompiled(outcome(BoardFailure::None));
        session.simulationWiring({generation::PortWiring::PortsKF, false});
        session.simulationLight(lit);
    }

    QString memoryLine() const { return window::MemoryLine::describe(session.sketch(), session.measured()).text; }
    QString note() const { return session.signNote().text; }

    Session session{generation::kMingFace};
    const simulator::SimulatorOutput::Levels lit = [] {
        simulator::SimulatorOutput::Levels levels{};
        levels[5] = 15;
        return levels;
    }();
};

TEST_F(SessionTest, TheWiringTestsMemoryLineNamesItAndGivesItsOwnFigures)
{
    generate();
    session.showWiringTest();
    const QString line = memoryLine();
    EXPECT_TRUE(line.contains(QStringLiteral("接線測試"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral(" %1／").arg(generation::BoardMemory::kWiringTestSramBytes)))
        << line.toStdString();
    EXPECT_FALSE(line.contains(QStringLiteral("個字"))) << "the message's figures: " << line.toStdString();
}

TEST_F(SessionTest, AfterAHandEditTheFiguresAreTheGeneratedSketchsUntilMeasured)
{
    generate();
    const QString generated = memoryLine();
    QSignalSpy memoryChanged(&session, &Session::memoryChanged);
    session.panelChanged(true);
    EXPECT_EQ(memoryChanged.count(), 1);
    EXPECT_TRUE(memoryLine().contains(QStringLiteral("手動修改")) && memoryLine().contains(QStringLiteral("在模擬看板上試跑"))
                && memoryLine().endsWith(generated.section(QLatin1Char('\n'), -1)))
        << memoryLine().toStdString();

    runUntilLit();
    EXPECT_TRUE(memoryLine().contains(QStringLiteral("實測（avr-size）"))) << memoryLine().toStdString();
    // Edited again, the panel is not what was measured.
    session.panelChanged(true);
    EXPECT_FALSE(memoryLine().contains(QStringLiteral("實測（avr-size）"))) << memoryLine().toStdString();
}

TEST_F(SessionTest, AFailedCompileLeavesNoMeasuredFigures)
{
    generate();
    runUntilLit();
    session.simulationFinished(outcome(BoardFailure::Cancelled));
    ASSERT_TRUE(memoryLine().contains(QStringLiteral("實測（avr-size）")));
    session.simulationStarted();
    session.simulationFinished(outcome(BoardFailure::CompileFailed));
    EXPECT_FALSE(memoryLine().contains(QStringLiteral("實測（avr-size）"))) << memoryLine().toStdString();
}

TEST_F(SessionTest, StoppingPlaysThePreviewAgainUnlessThePanelWasEdited)
{
    generate();
    runUntilLit();
    QSignalSpy signChanged(&session, &Session::signChanged);
    session.simulationFinished(outcome(BoardFailure::Cancelled));
    EXPECT_EQ(session.board(), Session::Board::Idle);
    EXPECT_EQ(signChanged.count(), 1);
    EXPECT_TRUE(note().isEmpty()) << note().toStdString();

    session.panelChanged(true);
    runUntilLit();
    session.simulationFinished(outcome(BoardFailure::Cancelled));
    EXPECT_EQ(session.board(), Session::Board::Stopped);
    EXPECT_EQ(session.levels(), lit);
    EXPECT_TRUE(note().contains(QStringLiteral("已停止試跑")) && note().contains(QStringLiteral("「在模擬看板上試跑」")))
        << note().toStdString();
    // The edit undone, the panel holds its sketch again.
    session.panelChanged(false);
    EXPECT_EQ(session.board(), Session::Board::Idle);
}

TEST_F(SessionTest, PausingHoldsTheBoardAndTheNoteSaysSo)
{
    generate();
    runUntilLit();
    session.simulationPaused();
    EXPECT_EQ(session.board(), Session::Board::Paused);
    EXPECT_TRUE(note().contains(QStringLiteral("暫停"))) << note().toStdString();
    session.simulationResumed();
    EXPECT_EQ(session.board(), Session::Board::Running);
    EXPECT_FALSE(note().contains(QStringLiteral("暫停"))) << note().toStdString();
}

TEST_F(SessionTest, TheNoteNeverSpeaksOfASketchThePanelNoLongerHolds)
{
    generate();
    runUntilLit();
    ASSERT_TRUE(note().contains(QStringLiteral("執行輸出區的程式"))) << note().toStdString();
    session.panelChanged(true);
    EXPECT_FALSE(note().contains(QStringLiteral("執行輸出區的程式"))) << note().toStdString();

    // Another sketch lets the run go: nothing it says afterwards is heard.
    session.showWiringTest();
    EXPECT_EQ(session.board(), Session::Board::Idle);
    EXPECT_TRUE(note().isEmpty()) << note().toStdString();
    QSignalSpy signChanged(&session, &Session::signChanged);
    session.simulationFaulted({});
    session.simulationFinished(outcome(BoardFailure::Cancelled));
    EXPECT_EQ(signChanged.count(), 0);
    EXPECT_TRUE(note().isEmpty()) << note().toStdString();
}

// Two marks look alike; the edit is told by where it leaves the cursor, so
// deleting the first mark drops the first picture, not the last.
TEST(BoxPicturesTest, DeletingOneOfTwoMarksDropsItsOwnPicture)
{
    using window::BoxPictures;
    const QString marks = QStringLiteral("\uFFFC\uFFFC");
    BoxPictures box(marks);
    const auto first = std::make_shared<const generation::Picture>(std::vector<std::uint16_t>{1});
    const auto second = std::make_shared<const generation::Picture>(std::vector<std::uint16_t>{2});
    box.attach(0, first);
    box.attach(1, second);
    box.changed(marks.mid(1), 0, BoxPictures::Change::Edit);
    EXPECT_EQ(box.pictures(), std::vector<BoxPictures::Shared>{second});
}

} // namespace
