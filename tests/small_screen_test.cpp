#include "window/fitted_window.h"
#include "window/form1.h"

#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Twice the scale on an offscreen screen of 1600 x 1000 pixels, 800 x 500
// at that scale, where the form (1239 x 596) cannot fit. Set before main()
// makes the application.
const bool kSmallScreen = qputenv("QT_SCALE_FACTOR", "2")
    && qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" LEDMARQUEE_SOURCE_DIR "/tests/small_screen.json");

TEST(SmallScreenTest, TheWindowFitsTheScreenAndScrollsToEveryControl)
{
    ASSERT_TRUE(kSmallScreen);
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_LT(free.width(), 1239);
    ASSERT_LT(free.height(), 596);

    QTemporaryDir toolFolder;
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    window::Form1 form(toolFolder.path().toStdString());
    window::FittedWindow fitted(form);
    fitted.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fitted));
    QApplication::setActiveWindow(&fitted);
    QApplication::processEvents();

    EXPECT_TRUE(free.contains(fitted.frameGeometry())) << fitted.frameGeometry().width() << " x "
                                                       << fitted.frameGeometry().height();
    EXPECT_EQ(form.size(), QSize(1239, 596));
    EXPECT_EQ(fitted.windowTitle(), form.windowTitle());

    // The scroll bars reach the form's far corner.
    QWidget* view = fitted.viewport();
    fitted.horizontalScrollBar()->setValue(fitted.horizontalScrollBar()->maximum());
    fitted.verticalScrollBar()->setValue(fitted.verticalScrollBar()->maximum());
    EXPECT_EQ(form.mapTo(view, QPoint(form.width(), form.height())), QPoint(view->width(), view->height()));

    // Tab brings every control it reaches into view: whole when the view
    // can hold it, else in part.
    fitted.horizontalScrollBar()->setValue(0);
    fitted.verticalScrollBar()->setValue(0);
    QWidget* first = QApplication::focusWidget();
    ASSERT_NE(first, nullptr);
    int visited = 0;
    do {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_TRUE(focused && form.isAncestorOf(focused));
        const QRect shown(focused->mapTo(view, QPoint(0, 0)), focused->size());
        const QRect seen = shown.intersected(view->rect());
        const std::string name = focused->objectName().toStdString();
        if (shown.width() <= view->width() && shown.height() <= view->height()) {
            EXPECT_EQ(seen, shown) << name;
        } else {
            EXPECT_FALSE(seen.isEmpty()) << name;
        }
        ++visited;
    } while (QApplication::focusWidget() != first && visited < 100);
    EXPECT_GT(visited, 10);
}

} // namespace
