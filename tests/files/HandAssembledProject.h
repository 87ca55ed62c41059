#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The bytes of a project file put together by hand from the record layout, independently
/// of BinaryWriter: little-endian int32 and IEEE doubles, short counts as uint16, short
/// ASCII strings as FF FE FF, one length byte and one UTF-16 unit per character.
///
/// Every byte is marked as structure (extents, counts, markers, lengths: a change makes
/// the file inconsistent) or payload (doubles, code units, levels: a change gives another
/// valid project), which the corruption tests rely on.
class HandAssembledProject {
public:
    void extent(std::int32_t value) { appendInt32(value, false); }
    void value(double number)
    {
        const auto bits = std::bit_cast<std::uint64_t>(number);
        for (int shift = 0; shift < 64; shift += 8)
            append(static_cast<std::uint8_t>(bits >> shift), true);
    }
    void count(std::uint16_t n)
    {
        append(static_cast<std::uint8_t>(n & 0xFF), false);
        append(static_cast<std::uint8_t>(n >> 8), false);
    }
    void string(const std::string& ascii)
    {
        for (const std::uint8_t marker : {0xFF, 0xFE, 0xFF})
            append(marker, false);
        append(static_cast<std::uint8_t>(ascii.size()), false);
        for (const char character : ascii) {
            append(static_cast<std::uint8_t>(character), true);
            append(0x00, true);
        }
    }
    void strings(const std::vector<std::string>& list)
    {
        count(static_cast<std::uint16_t>(list.size()));
        for (const std::string& text : list)
            string(text);
    }
    void levels(const std::vector<std::int32_t>& list)
    {
        count(static_cast<std::uint16_t>(list.size()));
        for (const std::int32_t level : list)
            appendInt32(level, true);
    }

    const std::vector<std::uint8_t>& bytes() const { return content; }
    bool isPayload(std::size_t offset) const { return payload[offset]; }

private:
    void append(std::uint8_t byte, bool isPayload)
    {
        content.push_back(byte);
        payload.push_back(isPayload);
    }
    void appendInt32(std::int32_t value, bool isPayload)
    {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            append(static_cast<std::uint8_t>(bits >> shift), isPayload);
    }

    std::vector<std::uint8_t> content;
    std::vector<bool> payload;
};
