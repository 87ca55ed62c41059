#include "data/UnicodeText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// Reference encodings from the Unicode standard's own examples: U+00E4 is C3 A4, U+20AC is
// E2 82 AC, U+1D11E is F0 9D 84 9E in UTF-8 and D834 DD1E in UTF-16.

TEST(Utf8ToUtf16, EncodesEveryLengthOfSequenceAndKeepsNulAndEmptyText)
{
    EXPECT_EQ(utf8ToUtf16("a\xC3\xA4\xE2\x82\xAC\xF0\x9D\x84\x9E"),
              (std::u16string{u'a', 0x00E4, 0x20AC, 0xD834, 0xDD1E}));
    EXPECT_EQ(utf8ToUtf16(std::string("x\0y", 3)), (std::u16string{u'x', 0, u'y'}));
    EXPECT_EQ(utf8ToUtf16(""), u"");
}

TEST(Utf8ToUtf16, ReplacesEachMaximalInvalidSubpartOnce)
{
    // A lone continuation byte, a cut-short three-byte sequence before an ASCII letter, an
    // overlong form of "/" (C0 AF: C0 can start nothing, AF is a lone continuation), an
    // encoded surrogate (ED A0 80: A0 is outside ED's range) and a value beyond U+10FFFF.
    EXPECT_EQ(utf8ToUtf16("\x80"), u"\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xE2\x82z"), u"\uFFFDz");
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xF0\x9D\x84"), u"\uFFFD") << "a four-byte sequence cut at the end";
}

TEST(Utf16ToUtf8, DecodesPairsAndReplacesUnpairedSurrogates)
{
    EXPECT_EQ(utf16ToUtf8(std::u16string{u'a', 0x00E4, 0x20AC, 0xD834, 0xDD1E}),
              "a\xC3\xA4\xE2\x82\xAC\xF0\x9D\x84\x9E");
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD834}), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xDD1E, 0xD834}), "\xEF\xBF\xBD\xEF\xBF\xBD")
        << "a low surrogate before a high one pairs with nothing";
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD834, u'x'}), "\xEF\xBF\xBDx");
}

TEST(Utf16ToUtf8, RoundTripsEveryScalarValueOfTheBmpEdges)
{
    for (const char32_t codePoint : {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u,
                                     0xFFFDu, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::u16string units;
        if (codePoint < 0x10000) {
            units.push_back(static_cast<char16_t>(codePoint));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        }
        const std::string utf8 = utf16ToUtf8(units);
        const auto value = static_cast<std::uint32_t>(codePoint);
        EXPECT_TRUE(isValidUtf8(utf8)) << std::hex << value;
        EXPECT_EQ(utf8ToUtf16(utf8), units) << std::hex << value;
    }
}

TEST(IsValidUtf8, TellsWellFormedFromMalformed)
{
    EXPECT_TRUE(isValidUtf8("plain ASCII"));
    EXPECT_TRUE(isValidUtf8("Gr\xC3\xB6\xC3\x9F" "e"));
    EXPECT_TRUE(isValidUtf8("\xEF\xBF\xBD")) << "U+FFFD itself is a character";
    EXPECT_FALSE(isValidUtf8("Gr\xF6\xDF" "e")) << "Latin-1";
    EXPECT_FALSE(isValidUtf8("\xF0\x9D\x84")) << "cut short after three of four bytes";
    EXPECT_FALSE(isValidUtf8("\xE0\x80\x80")) << "overlong";
    EXPECT_FALSE(isValidUtf8("\xED\xB0\x80")) << "surrogate";
}

TEST(Latin1ToUtf8, MapsEveryByteToTheCharacterOfItsValue)
{
    EXPECT_EQ(latin1ToUtf8("Gr\xF6\xDF" "e"), "Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(latin1ToUtf8("\x7F\x80\xFF"), "\x7F\xC2\x80\xC3\xBF");
    EXPECT_EQ(latin1ToUtf8(std::string("\0", 1)), std::string("\0", 1));
}
