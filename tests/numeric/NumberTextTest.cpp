#include "numeric/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

const DecimalSeparator POINT('.');
const DecimalSeparator COMMA(',');
const DecimalSeparator BLANK(' '); // anything but the comma is taken as the point

/// The reference: printf itself, in the "C" locale the test process runs in.
std::string printed(const char* format, double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string withComma(std::string text)
{
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

} // namespace

TEST(FormatNumber, WritesWhatPrintfWritesWithTheUsersSeparator)
{
    const double values[] = {0.1,  1.0 / 3.0, -2.5e-7, 12345.678,
                             1e20, 0.0,       -7.0,    123456789012345678.0};
    for (const char* format : {"%.14g", "%.4f", "%.3g", "%.6e", "%g"}) {
        for (double value : values) {
            EXPECT_EQ(formatNumber(value, format, POINT), printed(format, value))
                << format << " of " << value;
            EXPECT_EQ(formatNumber(value, format, COMMA), withComma(printed(format, value)))
                << format << " of " << value;
        }
    }
    EXPECT_EQ(formatNumber(0.5, "%.4f", COMMA), "0,5000");
    EXPECT_EQ(formatNumber(2.0, "%.4f", BLANK), "2.0000");
    // 301 digits before the separator: wide fixed formats grow the buffer.
    EXPECT_EQ(formatNumber(1e300, "%.4f", COMMA), withComma(printed("%.4f", 1e300)));
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
        {"1,5", POINT, 1.0},
        {"1.5", BLANK, 1.5},
        {"1 5", BLANK, 1.0},
        {"  -2,5e3xyz", COMMA, -2500.0},
        {"\t+.5", POINT, 0.5},
        {"5.", POINT, 5.0},
        {"2E-2", POINT, 0.02},
        {"1e", POINT, 1.0}, // an exponent needs a digit
        {"1e+", POINT, 1.0},
        {"3e+2", POINT, 300.0},
        {"1.2.3", POINT, 1.2},
        {"007", POINT, 7.0},
        {"0x10", POINT, 0.0}, // no hexadecimal: the x ends the number
        {"1e999", POINT, infinity},
        {"-1e999", POINT, -infinity},
        {"1e-999", POINT, 0.0},
        {"0.0001e-400", POINT, 0.0},
        {"1000e-325", POINT, 1e-322}, // a subnormal is still a number
        {"1e99999999999999999999", POINT, infinity},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseNumber(c.text, c.separator), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(parseNumber(std::string(400, '9'), POINT), infinity);
    EXPECT_TRUE(std::signbit(parseNumber("-0", POINT)));
    for (const char* text : {"", " ", "-", "+", ".", "-.e5", "abc", "inf", "nan", "e5"})
        EXPECT_EQ(parseNumber(text, POINT), 0.0) << '"' << text << '"';
}

// "%.17g" round-trips exactly; "%.14g" keeps 14 significant digits, so the value comes
// back within 5e-14 relative.
TEST(NumberText, WrittenNumbersReadBackWithBothSeparators)
{
    const double exact[] = {0.1, 1.0 / 3.0, -2.5e-7, 6.02214076e23, 1e-300, 123.456, -0.0};
    const double rounded[] = {1234.5678901234567, -0.000123456789012345, 98765432.123456789,
                              2.0 / 3.0, 1e-12 / 7.0};
    for (DecimalSeparator separator : {POINT, COMMA}) {
        for (double value : exact) {
            const std::string text = formatNumber(value, "%.17g", separator);
            EXPECT_EQ(parseNumber(text, separator), value) << text;
        }
        for (double value : rounded) {
            const double back = parseNumber(formatNumber(value, "%.14g", separator), separator);
            EXPECT_NEAR(back, value, std::abs(value) * 5e-14) << value;
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
        {"+4", 4},
        {"2.9", 2},
        {"x1", 0},
        {"", 0},
        {"- 1", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseLeadingInteger(c.text), c.expected) << '"' << c.text << '"';
}
