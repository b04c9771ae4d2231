#include "board/board_job.h"
#include "board/board_tools.h"
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sign_animation.h"
#include "platform/qt_glyph_canvas.h"
#include "pty_board.h"
#include "simulator/simulated_mega.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// The whole road without a board: the default panel sketch compiled by the
// Arduino builder, uploaded by avrdude to a simulated Mega 2560 running its
// real bootloader, then run there.
TEST(BoardUploadTest, DefaultSketchLandsOnTheSimulatedMegaAndShowsTheTitle)
{
    if (const QStringList missing = board::BoardTools::missingForAll(); !missing.isEmpty()) {
        GTEST_SKIP() << "board tools absent: " << missing.join(QLatin1Char(' ')).toStdString();
    }
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    generation::PanelSketchBuilder builder(sampler);
    const auto sketch = builder.buildPanelSketch(std::u16string(generation::kDefaultTitle),
                                      std::u16string(generation::kDefaultMessage), generation::RowWindow::standard());

    tests::PtyBoard mega;
    QString error;
    const QString pty = mega.start(&error);
    ASSERT_FALSE(pty.isEmpty()) << error.toStdString();

    qputenv("XDG_CACHE_HOME", LEDMARQUEE_BOARD_CACHE);
    board::BoardJob job;
    QSignalSpy stages(&job, &board::BoardJob::stageChanged);
    QSignalSpy progress(&job, &board::BoardJob::progress);
    QSignalSpy finished(&job, &board::BoardJob::finished);
    job.start(QString::fromStdString(sketch.text), pty);
    ASSERT_TRUE(finished.wait(180000));
    const auto outcome = finished.first().first().value<board::BoardOutcome>();
    ASSERT_TRUE(outcome.ok()) << outcome.detail.toStdString() << "\n" << outcome.log.toStdString();
    EXPECT_EQ(stages.size(), 2);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().first().toInt(), 100);
    for (qsizetype i = 1; i < progress.size(); ++i) {
        EXPECT_LE(progress[i - 1].first().toInt(), progress[i].first().toInt());
    }

    // The flash holds the hex byte for byte, read by simavr's own loader.
    ASSERT_GT(outcome.flashBytes, 0);
    simulator::SimulatedMega reference;
    ASSERT_TRUE(reference.loadHex(outcome.hexPath, &error)) << error.toStdString();
    const auto length = static_cast<std::size_t>(outcome.flashBytes);
    EXPECT_EQ(mega.flash(0, length), reference.flash(0, length));

    // Leaving the bootloader starts the application: the first frame on
    // ports C, K and F is the title.
    const auto frame = mega.firstFrame(std::chrono::seconds(20));
    ASSERT_TRUE(frame.has_value());
    for (std::size_t i = 0; i < frame->words.size(); ++i) {
        EXPECT_EQ(frame->words[i], generation::SignAnimation::boardValue(sketch.titleWords[i])) << "column " << i;
    }
}

} // namespace
