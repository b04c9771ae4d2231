// Records the window's sign preview playing the default title and message,
// as numbered PNG pictures taken at a steady rate, for docs/preview.gif
// (docs/make-preview-gif turns them into the animation). The sketch is made
// by the real builder on the real canvas and fonts, and the pictures are the
// preview widget's own painting; nothing here draws a LED.
//   ledmarquee-preview-frames FOLDER [SECONDS] [PICTURES_PER_SECOND]
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/row_window.h"
#include "generation/sign_animation.h"
#include "platform/face_substitutions.h"
#include "platform/qt_glyph_canvas.h"
#include "window/sign_preview.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [SECONDS] [PICTURES_PER_SECOND]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    const int perSecond = argc > 3 ? std::atoi(argv[3]) : 12;
    if (!folder.mkpath(QStringLiteral(".")) || seconds <= 0 || perSecond <= 0) {
        std::fprintf(stderr, "%s: cannot record into %s\n", argv[0], argv[1]);
        return 2;
    }

    platform::QtGlyphCanvas canvas(QStringLiteral("新細明體"));
    generation::ColumnSampler sampler(canvas);
    generation::PanelSketchBuilder builder(sampler);
    const generation::PanelSketch sketch = builder.buildPanelSketch(std::u16string(generation::kDefaultTitle),
                                                         std::u16string(generation::kDefaultMessage),
                                                         generation::RowWindow::standard());

    window::SignPreview preview(nullptr);
    preview.resize(64 * window::SignPreview::kPitch + 2 * window::SignPreview::kMargin,
                   16 * window::SignPreview::kPitch + 2 * window::SignPreview::kMargin);
    preview.show();
    preview.play(generation::SignAnimation(sketch.titleWords, sketch.messageWords, sketch.messageWords.size()));

    const int pictures = static_cast<int>(seconds * perSecond);
    int taken = 0;
    bool failed = false;
    QTimer camera;
    camera.setTimerType(Qt::PreciseTimer);
    camera.setInterval(1000 / perSecond);
    QObject::connect(&camera, &QTimer::timeout, [&] {
        const QString name = folder.filePath(QStringLiteral("frame%1.png").arg(taken, 4, 10, QLatin1Char('0')));
        failed = failed || !preview.grab().save(name);
        if (++taken == pictures || failed) {
            QCoreApplication::quit();
        }
    });
    camera.start();
    application.exec();
    if (failed) {
        std::fprintf(stderr, "%s: cannot write pictures into %s\n", argv[0], argv[1]);
        return 1;
    }
    std::printf("%d pictures in %s\n", taken, argv[1]);
    return 0;
}
