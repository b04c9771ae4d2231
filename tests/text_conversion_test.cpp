#include "platform/text_conversion.h"

#include <gtest/gtest.h>

namespace {

TEST(TextConversionTest, EveryKindOfLineEndBecomesCrLf)
{
    using platform::withCrLfLineEnds;
    EXPECT_EQ(withCrLfLineEnds(QStringLiteral("a\rb\nc\r\nd\r\r\ne\n\r")),
              QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n"));
    EXPECT_EQ(withCrLfLineEnds(QStringLiteral("x\r\ny\r\n")), QStringLiteral("x\r\ny\r\n"));
    EXPECT_EQ(withCrLfLineEnds(QStringLiteral("\r")), QStringLiteral("\r\n"));
    EXPECT_EQ(withCrLfLineEnds(QString()), QString());
}

} // namespace
