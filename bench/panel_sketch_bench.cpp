// Measures a whole generate run with the real canvas and fonts: the default
// texts, then messages of 1 000, 10 000 and 100 000 characters. Each case
// reports the process's peak resident memory so far; the cases run from the
// smallest up, so the last figure is the peak of the largest message.
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

void runBuild(benchmark::State& state, const std::u16string& message)
{
    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    generation::PanelSketchBuilder builder(sampler);
    const std::u16string title(generation::kDefaultTitle);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string sketch = builder.buildPanelSketch(title, message, generation::RowWindow::standard()).text;
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

BENCHMARK(BM_DefaultTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongMessage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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
