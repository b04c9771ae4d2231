#include "board/board_job.h"
#include "board/board_tools.h"
#include "board/simulated_mega.h"
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sign_animation.h"
#include "platform/qt_glyph_canvas.h"

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

    board::SimulatedMega mega;
    mega.watchPorts("CKF");
    QString error;
    const QString pty = mega.startBootloaderOnPty(&error);
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
    board::SimulatedMega reference;
    ASSERT_TRUE(reference.loadHex(outcome.hexPath, &error)) << error.toStdString();
    const auto length = static_cast<std::size_t>(outcome.flashBytes);
    EXPECT_EQ(mega.flash(0, length), reference.flash(0, length));

    // Leaving the bootloader starts the application: the first frame on
    // ports C, K and F is the title.
    ASSERT_TRUE(mega.waitForWrites(3 * 64 * 3, 20000));
    mega.stop();
    const auto columns = mega.shownColumns('K', 'F');
    ASSERT_GE(columns.size(), 64u);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(columns[i].column, i);
        EXPECT_EQ(columns[i].word, generation::SignAnimation::boardValue(sketch.titleWords[static_cast<std::size_t>(i)]))
            << "column " << i;
    }
}

} // namespace
