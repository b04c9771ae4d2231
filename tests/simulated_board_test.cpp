#include "avr_toolchain.h"

#include "board/simulated_mega.h"
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sign_animation.h"
#include "platform/qt_glyph_canvas.h"

#include <gtest/gtest.h>

namespace {

// The generated sketch, compiled as the IDE would and run on a simulated
// Mega 2560: its first frame on ports C, K and F is the title.
TEST(SimulatedBoardTest, FirstFrameOfThePanelSketchIsTheTitle)
{
    tests::AvrToolchain* toolchain = tests::AvrToolchain::instance();
    if (toolchain == nullptr) {
        GTEST_SKIP() << "AVR toolchain absent: " << tests::AvrToolchain::why().toStdString();
    }
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    generation::PanelSketchBuilder builder(sampler);
    const auto sketch = builder.buildPanelSketch(std::u16string(generation::kDefaultTitle),
                                      std::u16string(generation::kDefaultMessage), generation::RowWindow::standard());
    QString error;
    ASSERT_TRUE(toolchain->build(QByteArray::fromStdString(sketch.text), "firstframe", &error).has_value())
        << error.toStdString();

    board::SimulatedMega mega;
    ASSERT_TRUE(mega.loadElf(toolchain->elfPath("firstframe"), &error)) << error.toStdString();
    mega.watchPorts("CKF");
    // Start-up plus one frame of 64 columns of about 1,650 cycles each.
    ASSERT_TRUE(mega.run(200000));
    const auto columns = mega.shownColumns('K', 'F');
    ASSERT_GE(columns.size(), 64u);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(columns[i].column, i);
        EXPECT_EQ(columns[i].word, generation::SignAnimation::boardValue(sketch.titleWords[i])) << "column " << i;
    }
}

} // namespace
