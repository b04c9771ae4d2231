// Measures a whole generate run with the real canvas and fonts: the default
// texts, messages of 1 000 to 1 000 000 characters, then whole messages kept
// in flash. Each case reports the process's peak resident memory so far; the
// standard cases run from the smallest up, so the 1 000 000 case's figure is
// the peak of the largest message.
#include "generation/column_sampler.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "platform/face_substitutions.h"
#include "platform/qt_glyph_canvas.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::u16string messageOf(std::size_t length)
{
    const std::u16string pattern(generation::kDefaultMessage);
    std::u16string message;
    while (message.size() < length) {
        message += pattern;
    }
    message.resize(length);
    return message;
}

void runBuild(benchmark::State& state, const std::u16string& message, bool wholeMessage = false)
{
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    generation::PanelSketchBuilder builder(sampler);
    const std::u16string title(generation::kDefaultTitle);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string sketch = builder.buildPanelSketch(title, message, generation::RowWindow::standard(), wholeMessage).text;
        bytes = sketch.size();
        benchmark::DoNotOptimize(sketch.data());
    }
    state.counters["message_chars"] = static_cast<double>(message.size());
    state.counters["sketch_bytes"] = static_cast<double>(bytes);
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

void BM_DefaultTexts(benchmark::State& state)
{
    runBuild(state, std::u16string(generation::kDefaultMessage));
}

void BM_LongMessage(benchmark::State& state)
{
    runBuild(state, messageOf(static_cast<std::size_t>(state.range(0))));
}

// The whole message in flash, up to as long as the board holds: the time
// should double with the message.
void BM_WholeMessage(benchmark::State& state)
{
    runBuild(state, messageOf(static_cast<std::size_t>(state.range(0))), true);
}

BENCHMARK(BM_DefaultTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongMessage)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeMessage)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(7800)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    platform::installFaceSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
