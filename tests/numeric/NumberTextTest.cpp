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

TEST(DecimalSeparator, AnythingButTheCommaIsTakenAsThePoint)
{
    EXPECT_EQ(DecimalSeparator(',').get(), ',');
    EXPECT_EQ(DecimalSeparator('.').get(), '.');
    EXPECT_EQ(DecimalSeparator(' ').get(), '.');
    EXPECT_EQ(DecimalSeparator('\'').get(), '.');
    EXPECT_FALSE(DecimalSeparator(' ').isComma());
}

TEST(FormatNumber, WritesWhatPrintfWritesWithTheUsersSeparator)
{
    const double values[] = {0.1,  1.0 / 3.0, -2.5e-7, 12345.678,
                             1e20, 0.0,       -7.0,    123456789012345678.0};
    const char* formats[] = {"%.14g", "%.4f", "%.3g", "%.6e", "%g"};
    for (const char* format : formats) {
        for (double value : values) {
            EXPECT_EQ(formatNumber(value, format, POINT), printed(format, value))
                << format << " of " << value;
            EXPECT_EQ(formatNumber(value, format, COMMA), withComma(printed(format, value)))
                << format << " of " << value;
        }
    }
}

TEST(FormatNumber, ExamplesOfTheTables)
{
    EXPECT_EQ(formatNumber(0.5, "%.4f", COMMA), "0,5000");
    EXPECT_EQ(formatNumber(0.1, "%.14g", POINT), "0.1");
    EXPECT_EQ(formatNumber(0.333333333333333333, "%.14g", COMMA), "0,33333333333333");
    EXPECT_EQ(formatNumber(12.3456, "%.3g", POINT), "12.3");
    EXPECT_EQ(formatNumber(2.0, "%.4f", DecimalSeparator(' ')), "2.0000");
}

TEST(FormatNumber, WideFixedFormatsGrowTheBuffer)
{
    const std::string text = formatNumber(1e300, "%.4f", COMMA);
    EXPECT_EQ(text.size(), 301u + 5u);
    EXPECT_EQ(text.substr(text.size() - 5), ",0000");
    EXPECT_EQ(text, withComma(printed("%.4f", 1e300)));
}

TEST(ParseNumber, ReadsTheUsersSeparatorAndStopsAtTheOther)
{
    EXPECT_EQ(parseNumber("1,5", COMMA), 1.5);
    EXPECT_EQ(parseNumber("1.5", COMMA), 1.0);
    EXPECT_EQ(parseNumber("1.5", POINT), 1.5);
    EXPECT_EQ(parseNumber("1,5", POINT), 1.0);
    // A blank separator is the point: "1.5" keeps its fraction, a blank ends the number.
    EXPECT_EQ(parseNumber("1.5", DecimalSeparator(' ')), 1.5);
    EXPECT_EQ(parseNumber("1 5", DecimalSeparator(' ')), 1.0);
}

TEST(ParseNumber, FollowsTheDecimalSyntax)
{
    EXPECT_EQ(parseNumber("  -2,5e3xyz", COMMA), -2500.0);
    EXPECT_EQ(parseNumber("\t+.5", POINT), 0.5);
    EXPECT_EQ(parseNumber("5.", POINT), 5.0);
    EXPECT_EQ(parseNumber("2E-2", POINT), 0.02);
    EXPECT_EQ(parseNumber("1e", POINT), 1.0) << "an exponent needs a digit";
    EXPECT_EQ(parseNumber("1e+", POINT), 1.0);
    EXPECT_EQ(parseNumber("3e+2", POINT), 300.0);
    EXPECT_EQ(parseNumber("1.2.3", POINT), 1.2);
    EXPECT_EQ(parseNumber("007", POINT), 7.0);
    EXPECT_TRUE(std::signbit(parseNumber("-0", POINT)));
}

TEST(ParseNumber, TextWithoutDigitsIsZero)
{
    for (const char* text : {"", " ", "-", "+", ".", "-.e5", "abc", "inf", "nan", "e5"})
        EXPECT_EQ(parseNumber(text, POINT), 0.0) << '"' << text << '"';
    EXPECT_EQ(parseNumber("0x10", POINT), 0.0) << "no hexadecimal: the x ends the number";
}

TEST(ParseNumber, MagnitudesBeyondTheDoubleRangeGiveInfinityOrZero)
{
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(parseNumber("1e999", POINT), infinity);
    EXPECT_EQ(parseNumber("-1e999", POINT), -infinity);
    EXPECT_EQ(parseNumber("1e-999", POINT), 0.0);
    EXPECT_EQ(parseNumber("0.0001e-400", POINT), 0.0);
    EXPECT_EQ(parseNumber("1000e-325", POINT), 1e-322) << "a subnormal is still a number";
    EXPECT_EQ(parseNumber("1e99999999999999999999", POINT), infinity);
    EXPECT_EQ(parseNumber(std::string(400, '9'), POINT), infinity);
}

TEST(NumberText, SeventeenDigitsRoundTripExactlyWithBothSeparators)
{
    const double values[] = {0.1, 1.0 / 3.0, -2.5e-7, 6.02214076e23, 1e-300, 123.456, -0.0};
    for (DecimalSeparator separator : {POINT, COMMA}) {
        for (double value : values) {
            const std::string text = formatNumber(value, "%.17g", separator);
            EXPECT_EQ(parseNumber(text, separator), value) << text;
        }
    }
}

// "%.14g" keeps 14 significant digits, so the value comes back within 5e-14 relative.
TEST(NumberText, FourteenDigitsRoundTripWithinTheirPrecision)
{
    const double values[] = {1234.5678901234567, -0.000123456789012345, 98765432.123456789,
                             2.0 / 3.0, 1e-12 / 7.0};
    for (DecimalSeparator separator : {POINT, COMMA}) {
        for (double value : values) {
            const double back = parseNumber(formatNumber(value, "%.14g", separator), separator);
            EXPECT_NEAR(back, value, std::abs(value) * 5e-14) << value;
        }
    }
}

TEST(ParseLeadingInteger, ReadsSignAndDigitsAfterWhiteSpace)
{
    EXPECT_EQ(parseLeadingInteger(" 12abc"), 12);
    EXPECT_EQ(parseLeadingInteger("-3"), -3);
    EXPECT_EQ(parseLeadingInteger("+4"), 4);
    EXPECT_EQ(parseLeadingInteger("2.9"), 2);
    EXPECT_EQ(parseLeadingInteger("x1"), 0);
    EXPECT_EQ(parseLeadingInteger(""), 0);
    EXPECT_EQ(parseLeadingInteger("- 1"), 0);
}

TEST(ParseLeadingInteger, ClampsToTheIntRange)
{
    EXPECT_EQ(parseLeadingInteger("2147483647"), INT_MAX);
    EXPECT_EQ(parseLeadingInteger("2147483648"), INT_MAX);
    EXPECT_EQ(parseLeadingInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(parseLeadingInteger("-99999999999999999999999"), INT_MIN);
}
