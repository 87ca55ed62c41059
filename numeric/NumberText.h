#pragma once

#include "numeric/DecimalSeparator.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers in cell texts, written and read with the user's decimal separator. Nothing here
// consults the process's locale, so a table reads and writes the same way whatever locale
// the process runs under.

/// The value as printf would write it with printfFormat, which must be "%.Pf", "%.Pe" or
/// "%.Pg" (P optional, 6 when missing), with the user's separator in place of the point:
/// formatNumber(0.5, "%.4f", DecimalSeparator(',')) gives "0,5000".
std::string formatNumber(double value, const char* printfFormat, DecimalSeparator separator);

/// The decimal number at the start of text: leading white space skipped, an optional sign,
/// digits with at most one separator (the user's), an optional exponent ("e" or "E", an
/// optional sign, at least one digit). Reading stops at the first character that does not
/// fit; a text without digits gives 0.0. A magnitude beyond the double range gives an
/// infinity, one below it 0.0, each with its sign.
double parseNumber(std::string_view text, DecimalSeparator separator);

/// text without the white space (blank, tab, line breaks) around it.
std::string_view trimWhiteSpace(std::string_view text);

/// The number a whole cell text denotes: once trimWhiteSpace has removed the white space
/// around it, the text must be exactly the syntax parseNumber reads, with at least one
/// digit, and its value finite. Nothing for an empty text, for any character after the
/// number ("1.5x", a second separator, the "x" of "0x1A"), for "nan" or "inf", and for a
/// magnitude beyond the double range ("1e999").
std::optional<double> parseWholeNumber(std::string_view text, DecimalSeparator separator);

/// The leading decimal integer of text: leading white space skipped, an optional sign,
/// digits; 0 when there are none. A value beyond the int range is clamped to it.
int parseLeadingInteger(std::string_view text);

/// The whole text as a decimal integer: blanks and tabs around it, an optional sign and
/// digits, nothing else (no point, no exponent, no hexadecimal). None for any other text
/// and for a value beyond the 64-bit range. Every integer the user types, in a field or
/// an option, is read by this one function, so that all of them take the same forms.
std::optional<std::int64_t> parseWholeInteger(std::string_view text);
