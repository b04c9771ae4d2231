#include "generation/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

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
    // A German locale writes 12,5; the sketch must still read 12.5.
    // scripts/install-deps generates the locale; without it there is nothing to check.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    }
    const std::string decimalPoint = std::localeconv()->decimal_point;
    const std::string first = generation::numberText(12.5);
    const std::string second = generation::numberText(1234567);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(decimalPoint, ",");
    EXPECT_EQ(first, " 12.5");
    EXPECT_EQ(second, " 1234567");
}

} // namespace
