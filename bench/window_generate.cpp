// How long the real window stays frozen when 產生程式 is pressed with a
// message of a given length, and how much memory the process needs at its
// peak. One size per process, so that each peak is its own:
//   ledmarquee-window-generate CHARACTERS [whole]
// A timer ticks every 5 ms while the click is handled; the longest gap
// between two ticks is the time the window could not answer the user.
#include "platform/executable_folder.h"
#include "platform/face_substitutions.h"
#include "window/form1.h"
#include "window/long_sketch_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Chinese characters of the usual kind, none repeated next to its neighbour.
QString message(qsizetype characters)
{
    static const char16_t kWords[] = u"祝你生日快樂天天開心學業進步身體健康萬事如意";
    const qsizetype count = qsizetype(std::size(kWords)) - 1;
    QString text(characters, Qt::Uninitialized);
    for (qsizetype i = 0; i < characters; ++i) {
        text[i] = QChar(kWords[i % count]);
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CHARACTERS [whole]\n", argv[0]);
        return 2;
    }
    const qsizetype characters = std::atol(argv[1]);
    const bool whole = argc > 2 && std::strcmp(argv[2], "whole") == 0;
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    window::Form1 form(platform::executableFolder());
    form.show();
    QTest::qWait(300);
    form.findChild<QCheckBox*>(QStringLiteral("wholeMessage"))->setChecked(whole);
    form.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(message(characters));
    QTest::qWait(300);
    const long before = peakKilobytes();

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    ticks.start();
    QTimer::singleShot(20, &form, [&] {
        form.findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
    });
    // A message past what the board holds is refused in a box; close it.
    bool refused = false;
    QTimer boxes;
    QObject::connect(&boxes, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            refused = true;
            box->close();
        }
    });
    boxes.start(100);
    // Long enough for the panel to be painted and the preview to start.
    QTest::qWait(3000);
    ticks.stop();
    const auto* editor = form.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    const auto* viewer = form.findChild<window::LongSketchView*>(QStringLiteral("longSketch"));
    const bool viewing = viewer != nullptr && viewer->isVisible();
    const long long lines = viewing ? static_cast<long long>(viewer->lineCount()) : editor->blockCount();
    std::printf("window %8lld characters%s: froze %6.0f ms, peak %4ld MB (%ld MB before the click), %s %lld lines\n",
                static_cast<long long>(characters), whole ? " whole" : "", double(longest) / 1e6,
                peakKilobytes() / 1024, before / 1024, viewing ? "viewed" : "editable", lines);
    if (refused) {
        std::printf("window %8lld characters%s: refused in a message box\n", static_cast<long long>(characters),
                    whole ? " whole" : "");
    }
    return 0;
}
