// Runs GoogleTest inside a QApplication on the offscreen platform, so tests
// can use the real canvas, widgets and clipboard without a display.
#include "platform/canvas_rendering.h"
#include "platform/face_substitutions.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // A test may give the offscreen platform a screen of its own.
    if (!qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen"))) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
    platform::pinCanvasRendering();
    QApplication application(argc, argv);
    platform::installFaceSubstitutions();
    return RUN_ALL_TESTS();
}
