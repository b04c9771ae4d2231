#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

// Debian's qt6-translations-l10n is one of the tool's dependencies here, so
// a missing or misnamed file is a fault, not a reason to skip.
TEST(QtTranslationTest, QtsOwnButtonsReadInTraditionalChineseWhileItLives)
{
    {
        const platform::QtTranslation translation;
        ASSERT_TRUE(translation.loaded());
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("確定"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("OK"));
}

} // namespace
