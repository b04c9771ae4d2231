#include "generation/number_text.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

struct NumberCase {
    double value;
    const char* text;
};

class NumberTextTest : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextTest, WritesLeadingSpaceAndNoRedundantDigits)
{
    EXPECT_EQ(generation::numberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, NumberTextTest,
                         testing::Values(NumberCase{0, " 0"}, NumberCase{0.5, " .5"}, NumberCase{1, " 1"},
                                         NumberCase{384, " 384"}, NumberCase{12.5, " 12.5"},
                                         NumberCase{32767.5, " 32767.5"}, NumberCase{65535, " 65535"},
                                         NumberCase{1352, " 1352"}, NumberCase{16385.5, " 16385.5"},
                                         NumberCase{1300260, " 1300260"}));

TEST(NumberTextLocaleTest, PointStaysADotUnderACommaLocale)
{
    // A German locale writes 12,5; the sketch must still read 12.5. Where the
    // locale is not installed the C locale is used and the check still holds.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(generation::numberText(12.5), " 12.5");
    EXPECT_EQ(generation::numberText(1234567), " 1234567");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
