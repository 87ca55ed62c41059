#include "data/UnicodeText.h"

#include <cstddef>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

/// What a lead byte announces: how many continuation bytes follow, the bits it carries,
/// and the range of the first continuation byte. The narrowed ranges after E0, ED, F0 and
/// F4 exclude overlong forms, surrogates and values beyond U+10FFFF (Unicode table 3-7).
struct LeadByte {
    int continuations = -1; ///< -1: the byte cannot start a character
    char32_t bits = 0;
    unsigned char firstLow = 0x80;
    unsigned char firstHigh = 0xBF;
};

LeadByte describeLeadByte(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return {1, static_cast<char32_t>(lead & 0x1F)};
    if (lead >= 0xE0 && lead <= 0xEF) {
        LeadByte three{2, static_cast<char32_t>(lead & 0x0F)};
        if (lead == 0xE0)
            three.firstLow = 0xA0;
        if (lead == 0xED)
            three.firstHigh = 0x9F;
        return three;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        LeadByte four{3, static_cast<char32_t>(lead & 0x07)};
        if (lead == 0xF0)
            four.firstLow = 0x90;
        if (lead == 0xF4)
            four.firstHigh = 0x8F;
        return four;
    }
    return {};
}

struct DecodedCharacter {
    char32_t codePoint = REPLACEMENT;
    std::size_t length = 1; ///< bytes consumed; for an invalid sequence its maximal subpart
    bool valid = false;
};

DecodedCharacter decodeUtf8(std::string_view text, std::size_t position)
{
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80)
        return {lead, 1, true};
    const LeadByte rule = describeLeadByte(lead);
    if (rule.continuations < 0)
        return {};
    DecodedCharacter decoded{rule.bits, 1, true};
    unsigned char low = rule.firstLow;
    unsigned char high = rule.firstHigh;
    for (int i = 0; i < rule.continuations; ++i) {
        if (position + decoded.length >= text.size())
            return {REPLACEMENT, decoded.length, false};
        const auto next = static_cast<unsigned char>(text[position + decoded.length]);
        if (next < low || next > high)
            return {REPLACEMENT, decoded.length, false};
        decoded.codePoint = (decoded.codePoint << 6) | (next & 0x3Fu);
        ++decoded.length;
        low = 0x80;
        high = 0xBF;
    }
    return decoded;
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(char32_t codePoint, std::string& out)
{
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

void appendUtf16(char32_t codePoint, std::u16string& out)
{
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

} // namespace

std::u16string utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t position = 0; position < utf8.size();) {
        const DecodedCharacter decoded = decodeUtf8(utf8, position);
        appendUtf16(decoded.codePoint, out);
        position += decoded.length;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (isHighSurrogate(unit) && i + 1 < utf16.size() && isLowSurrogate(utf16[i + 1])) {
            const char32_t high = unit - 0xD800u;
            const char32_t low = utf16[i + 1] - 0xDC00u;
            appendUtf8(0x10000 + (high << 10) + low, out);
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(REPLACEMENT, out);
        } else {
            appendUtf8(unit, out);
        }
    }
    return out;
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t position = 0; position < text.size();) {
        const DecodedCharacter decoded = decodeUtf8(text, position);
        if (!decoded.valid)
            return false;
        position += decoded.length;
    }
    return true;
}

std::string latin1ToUtf8(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (const char byte : latin1)
        appendUtf8(static_cast<unsigned char>(byte), out);
    return out;
}
