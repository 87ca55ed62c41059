#pragma once

#include <cstdint>

// The marker values of the project file's count and string records, shared by
// BinaryWriter and BinaryReader. All integers are little-endian.
//
// | record       | bytes                                                                  |
// |--------------|------------------------------------------------------------------------|
// | count n      | n < 0xFFFF: uint16 n; otherwise uint16 0xFFFF, then uint32 n             |
// | string       | FF, uint16 0xFFFE (UTF-16 follows), then the length L in code units:     |
// |              | L < 0xFF: one byte L; L < 0xFFFE: FF, uint16 L; otherwise FF, uint16      |
// |              | 0xFFFF, uint32 L; then the L code units, 2 bytes each, no terminator     |
// | string list  | count n, then n strings                                                |
// | integer list | count n, then n int32                                                  |
//
// The empty string is FF FE FF 00; "ab" is FF FE FF 02 61 00 62 00.
namespace RecordForm {

/// A count (or a uint16 string length) of this value announces a uint32 that follows.
inline constexpr std::uint16_t LONG_COUNT = 0xFFFF;
/// The first byte of every string record.
inline constexpr std::uint8_t STRING_TAG = 0xFF;
/// The uint16 after STRING_TAG: the code units are UTF-16.
inline constexpr std::uint16_t UTF16_MARK = 0xFFFE;
/// A one-byte string length of this value announces a uint16 length.
inline constexpr std::uint8_t LONG_LENGTH = 0xFF;
/// Lengths from this one on take the uint32 form.
inline constexpr std::uint32_t LONGER_LENGTH = 0xFFFE;
/// The fewest bytes a string record takes: the empty string.
inline constexpr std::uint32_t MIN_STRING_BYTES = 4;

} // namespace RecordForm
