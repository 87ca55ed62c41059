#include "numeric/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

namespace {

const DecimalSeparator POINT('.');
const DecimalSeparator COMMA(',');
const DecimalSeparator BLANK(' '); // anything but the comma is taken as the point

/// printf itself, in the "C" locale of the test process.
std::string printed(const char* format, double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

} // namespace

TEST(FormatNumber, WritesWhatPrintfWritesWithTheUsersSeparator)
{
    for (const char* format : {"%.14g", "%.4f", "%.6e"}) {
        for (double value : {1.0 / 3.0, -2.5e-7, 12345.678, 0.0}) {
            std::string expected = printed(format, value);
            EXPECT_EQ(formatNumber(value, format, POINT), expected) << format << " of " << value;
            std::replace(expected.begin(), expected.end(), '.', ',');
            EXPECT_EQ(formatNumber(value, format, COMMA), expected) << format << " of " << value;
        }
    }
    EXPECT_EQ(formatNumber(2.0, "%.4f", BLANK), "2.0000");
    // 301 digits before the separator: wide fixed formats grow the buffer.
    EXPECT_EQ(formatNumber(1e300, "%.4f", COMMA).size(), 301u + 5u);
}

TEST(ParseNumber, FollowsTheDecimalSyntaxWithTheUsersSeparator)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        DecimalSeparator separator;
        double expected;
    } cases[] = {
        {"1,5", COMMA, 1.5},
        {"1.5", COMMA, 1.0}, // the other separator ends the number
        {"1.5", POINT, 1.5},
        {"1.5", BLANK, 1.5},
        {"  -2,5e3xyz", COMMA, -2500.0},
        {"1e+", POINT, 1.0},  // an exponent needs a digit
        {"0x10", POINT, 0.0}, // no hexadecimal
        {"-1e999", POINT, -infinity},
        {"1e-999", POINT, 0.0},
        {"1000e-325", POINT, 1e-322}, // a subnormal is still a number
        {"inf", POINT, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseNumber(c.text, c.separator), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(parseNumber(std::string(400, '9'), POINT), infinity);
}

TEST(ParseWholeNumber, TakesOnlyATextThatIsWhollyAFiniteNumber)
{
    const struct {
        const char* text;
        DecimalSeparator separator;
        double expected;
    } numbers[] = {
        {" \t+2,5e-1 ", COMMA, 0.25},
        {"-.5", POINT, -0.5},
        {"7.", POINT, 7.0},
        {"1e-999", POINT, 0.0}, // an underflow is still a number
    };
    for (const auto& c : numbers)
        EXPECT_EQ(parseWholeNumber(c.text, c.separator), c.expected) << '"' << c.text << '"';
    for (const char* text :
         {"", "   ", "abc", "1.5x", "1..2", "0x1A", "1e", "1 2", ".", "nan", "inf", "-1e999"})
        EXPECT_EQ(parseWholeNumber(text, POINT), std::nullopt) << '"' << text << '"';
    EXPECT_EQ(parseWholeNumber("1.5", COMMA), std::nullopt) << "the other separator";
}

// "%.17g" round-trips exactly with either separator.
TEST(NumberText, WrittenNumbersReadBackWithBothSeparators)
{
    for (DecimalSeparator separator : {POINT, COMMA}) {
        for (double value : {0.1, 1.0 / 3.0, -2.5e-7, 6.02214076e23, 1e-300, -0.0}) {
            const std::string text = formatNumber(value, "%.17g", separator);
            EXPECT_EQ(parseNumber(text, separator), value) << text;
            EXPECT_EQ(std::signbit(parseNumber(text, separator)), std::signbit(value)) << text;
        }
    }
}

TEST(ParseLeadingInteger, ReadsSignAndDigitsAndClampsToTheIntRange)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {" 12abc", 12},
        {"-3", -3},
        {"2.9", 2},
        {"x1", 0},
        {"- 1", 0},
        {"2147483648", INT_MAX},
        {"-99999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseLeadingInteger(c.text), c.expected) << '"' << c.text << '"';
}
