#include "data/BinaryWriter.h"

#include "data/RecordForm.h"
#include "data/UnicodeText.h"

#include <bit>
#include <cassert>
#include <limits>

static_assert(std::numeric_limits<double>::is_iec559, "the file stores IEEE 754 doubles");

void BinaryWriter::writeUInt8(std::uint8_t value)
{
    buffer.push_back(value);
}

void BinaryWriter::writeUInt16(std::uint16_t value)
{
    buffer.push_back(static_cast<std::uint8_t>(value & 0xFF));
    buffer.push_back(static_cast<std::uint8_t>(value >> 8));
}

void BinaryWriter::writeUInt32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        buffer.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

void BinaryWriter::writeInt32(std::int32_t value)
{
    writeUInt32(static_cast<std::uint32_t>(value));
}

void BinaryWriter::writeFloat64(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8)
        buffer.push_back(static_cast<std::uint8_t>((bits >> shift) & 0xFF));
}

void BinaryWriter::writeCount(std::size_t n)
{
    assert(n <= std::numeric_limits<std::uint32_t>::max());
    if (n < RecordForm::LONG_COUNT) {
        writeUInt16(static_cast<std::uint16_t>(n));
        return;
    }
    writeUInt16(RecordForm::LONG_COUNT);
    writeUInt32(static_cast<std::uint32_t>(n));
}

void BinaryWriter::writeString(std::string_view text)
{
    const std::u16string units = utf8ToUtf16(text);
    const std::size_t length = units.size();
    assert(length <= std::numeric_limits<std::uint32_t>::max());
    writeUInt8(RecordForm::STRING_TAG);
    writeUInt16(RecordForm::UTF16_MARK);
    if (length < RecordForm::LONG_LENGTH) {
        writeUInt8(static_cast<std::uint8_t>(length));
    } else if (length < RecordForm::LONGER_LENGTH) {
        writeUInt8(RecordForm::LONG_LENGTH);
        writeUInt16(static_cast<std::uint16_t>(length));
    } else {
        writeUInt8(RecordForm::LONG_LENGTH);
        writeUInt16(RecordForm::LONG_COUNT);
        writeUInt32(static_cast<std::uint32_t>(length));
    }
    for (const char16_t unit : units)
        writeUInt16(static_cast<std::uint16_t>(unit));
}

void BinaryWriter::writeStringList(const std::vector<std::string>& list)
{
    writeCount(list.size());
    for (const std::string& text : list)
        writeString(text);
}

void BinaryWriter::writeIntegerList(const std::vector<int>& list)
{
    writeCount(list.size());
    for (const int value : list)
        writeInt32(value);
}
