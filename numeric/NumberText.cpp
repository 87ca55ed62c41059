#include "numeric/NumberText.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace {

struct PrintfFormat {
    std::chars_format style = std::chars_format::general;
    int precision = 6;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

/// "%.Pf", "%.Pe" or "%.Pg"; anything else is a programming error, written as "%g".
PrintfFormat parsePrintfFormat(std::string_view format)
{
    PrintfFormat parsed;
    assert(format.size() >= 2 && format.front() == '%');
    std::size_t position = 1;
    if (position < format.size() && format[position] == '.') {
        ++position;
        parsed.precision = 0;
        while (position < format.size() && isDigit(format[position])) {
            parsed.precision = parsed.precision * 10 + (format[position] - '0');
            ++position;
        }
    }
    const char conversion = position < format.size() ? format[position] : 'g';
    if (conversion == 'f')
        parsed.style = std::chars_format::fixed;
    else if (conversion == 'e')
        parsed.style = std::chars_format::scientific;
    else
        assert(conversion == 'g');
    return parsed;
}

/// The syntax of a decimal number at the start of a text, taken apart so that
/// std::from_chars can read it: it accepts neither a leading '+' nor another separator
/// than the point.
struct DecimalSyntax {
    bool negative = false;
    bool hasDigits = false;
    /// Sign-less mantissa and exponent with '.' as the separator.
    std::string normalised;
    /// Position of the first significant digit relative to the point, plus the exponent
    /// (clamped): above 0 the magnitude is at least 1, so a range error is an overflow.
    long order = 0;
    /// The position after the last character that belongs to the number.
    std::size_t end = 0;
};

/// Digits starting at position, appended to out; returns the position after them.
std::size_t takeDigits(std::string_view text, std::size_t position, std::string& out)
{
    while (position < text.size() && isDigit(text[position]))
        out.push_back(text[position++]);
    return position;
}

/// The exponent digits after "e" or "E" and an optional sign, if there is at least one
/// digit; appended to out, and their value, clamped far beyond the double range, added to
/// order. Returns the position after the exponent, or position when there is none.
std::size_t takeExponent(std::string_view text, std::size_t position, DecimalSyntax& syntax)
{
    if (position >= text.size() || (text[position] != 'e' && text[position] != 'E'))
        return position;
    std::size_t digits = position + 1;
    const bool negative = digits < text.size() && text[digits] == '-';
    if (digits < text.size() && (text[digits] == '+' || text[digits] == '-'))
        ++digits;
    if (digits >= text.size() || !isDigit(text[digits]))
        return position;
    syntax.normalised.push_back('e');
    if (negative)
        syntax.normalised.push_back('-');
    long exponent = 0;
    for (; digits < text.size() && isDigit(text[digits]); ++digits) {
        syntax.normalised.push_back(text[digits]);
        exponent = std::min(exponent * 10 + (text[digits] - '0'), 100'000L);
    }
    syntax.order += negative ? -exponent : exponent;
    return digits;
}

DecimalSyntax scanDecimal(std::string_view text, char separator)
{
    DecimalSyntax syntax;
    std::size_t position = 0;
    while (position < text.size() && isWhiteSpace(text[position]))
        ++position;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        syntax.negative = text[position++] == '-';

    const std::size_t integerStart = position;
    position = takeDigits(text, position, syntax.normalised);
    const std::string_view integerDigits = text.substr(integerStart, position - integerStart);
    const std::size_t firstNonZero = integerDigits.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos)
        syntax.order = static_cast<long>(integerDigits.size() - firstNonZero);

    std::size_t fractionStart = position;
    if (position < text.size() && text[position] == separator) {
        syntax.normalised.push_back('.');
        fractionStart = position + 1;
        position = takeDigits(text, fractionStart, syntax.normalised);
    }
    const std::string_view fractionDigits = text.substr(fractionStart, position - fractionStart);
    syntax.hasDigits = !integerDigits.empty() || !fractionDigits.empty();
    if (!syntax.hasDigits)
        return syntax;
    if (firstNonZero == std::string_view::npos) {
        const std::size_t leadingZeros = fractionDigits.find_first_not_of('0');
        syntax.order =
            leadingZeros == std::string_view::npos ? 0 : -static_cast<long>(leadingZeros);
    }
    syntax.end = takeExponent(text, position, syntax);
    return syntax;
}

/// The value of a scanned number that has digits; an infinity or 0.0 beyond the double range.
double valueOf(const DecimalSyntax& syntax)
{
    assert(syntax.hasDigits);
    double magnitude = 0.0;
    const char* first = syntax.normalised.data();
    const char* last = first + syntax.normalised.size();
    const std::from_chars_result read = std::from_chars(first, last, magnitude);
    assert(read.ptr == last);
    if (read.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched on a range error; the text's order of
        // magnitude tells an overflow from an underflow, as strtod would report them.
        magnitude = syntax.order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return syntax.negative ? -magnitude : magnitude;
}

} // namespace

std::string formatNumber(double value, const char* printfFormat, DecimalSeparator separator)
{
    const PrintfFormat format = parsePrintfFormat(printfFormat);
    // 32 characters hold every "%.14g"; a wide fixed format grows the buffer.
    std::string text(32, '\0');
    while (true) {
        const std::to_chars_result written = std::to_chars(text.data(), text.data() + text.size(),
                                                           value, format.style, format.precision);
        if (written.ec == std::errc()) {
            text.resize(static_cast<std::size_t>(written.ptr - text.data()));
            break;
        }
        text.resize(text.size() * 4);
    }
    std::replace(text.begin(), text.end(), '.', separator.get());
    return text;
}

double parseNumber(std::string_view text, DecimalSeparator separator)
{
    const DecimalSyntax syntax = scanDecimal(text, separator.get());
    if (!syntax.hasDigits)
        return 0.0;
    return valueOf(syntax);
}

std::string_view trimWhiteSpace(std::string_view text)
{
    while (!text.empty() && isWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> parseWholeNumber(std::string_view text, DecimalSeparator separator)
{
    const std::string_view trimmed = trimWhiteSpace(text);
    const DecimalSyntax syntax = scanDecimal(trimmed, separator.get());
    if (!syntax.hasDigits)
        return std::nullopt;
    if (syntax.end != trimmed.size())
        return std::nullopt;
    const double value = valueOf(syntax);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

int parseLeadingInteger(std::string_view text)
{
    std::size_t position = 0;
    while (position < text.size() && isWhiteSpace(text[position]))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        negative = text[position++] == '-';
    // Accumulated in a long long that stops growing beyond the int range, so no digit
    // string can overflow it.
    long long magnitude = 0;
    for (; position < text.size() && isDigit(text[position]); ++position)
        magnitude = std::min(magnitude * 10 + (text[position] - '0'), 1LL + INT_MAX);
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::optional<std::int64_t> parseWholeInteger(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    // from_chars takes a minus but no plus; a plus is dropped here, and a sign after it
    // ("+-5") is no integer.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}
