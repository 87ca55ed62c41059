#pragma once

#include <string>
#include <string_view>

// Conversions between the encodings of the files and the UTF-8 of the tables' cell texts.
// Every function accepts any input: a byte sequence that is not UTF-8, or a surrogate
// without its partner in UTF-16, becomes U+FFFD (one per maximal invalid subsequence, as
// the Unicode standard recommends), so the result is always well formed.

/// The UTF-16 code units of a UTF-8 text.
std::u16string utf8ToUtf16(std::string_view utf8);

/// The UTF-8 form of UTF-16 code units.
std::string utf16ToUtf8(std::u16string_view utf16);

/// Whether text is well-formed UTF-8: no overlong forms, no surrogates, nothing beyond
/// U+10FFFF, no sequence cut short.
bool isValidUtf8(std::string_view text);

/// The UTF-8 form of a text in which every byte is one character of ISO 8859-1 (Latin-1),
/// its code the byte's value.
std::string latin1ToUtf8(std::string_view latin1);
