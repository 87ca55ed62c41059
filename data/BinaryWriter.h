#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Assembles the bytes of a project file in memory, in the file's record forms
/// (data/RecordForm.h). Every integer is written little-endian and every double as its 8
/// IEEE 754 bytes, little-endian, whatever the byte order of the machine.
class BinaryWriter {
public:
    void writeUInt8(std::uint8_t value);
    void writeUInt16(std::uint16_t value);
    void writeUInt32(std::uint32_t value);
    /// Two's complement.
    void writeInt32(std::int32_t value);
    void writeFloat64(double value);

    /// n must be below 2^32; every count of a table is.
    void writeCount(std::size_t n);
    /// text is UTF-8; an invalid sequence is written as U+FFFD.
    void writeString(std::string_view text);
    void writeStringList(const std::vector<std::string>& list);
    void writeIntegerList(const std::vector<int>& list);

    /// Everything written so far.
    const std::vector<std::uint8_t>& bytes() const { return buffer; }

private:
    std::vector<std::uint8_t> buffer;
};
