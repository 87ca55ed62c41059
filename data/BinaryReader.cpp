#include "data/BinaryReader.h"

#include "data/RecordForm.h"
#include "data/UnicodeText.h"

#include <bit>
#include <limits>

static_assert(std::numeric_limits<double>::is_iec559, "the file stores IEEE 754 doubles");

BinaryReader::BinaryReader(std::span<const std::uint8_t> data) : bytes(data)
{
}

std::size_t BinaryReader::remaining() const
{
    return failed ? 0 : bytes.size() - position;
}

const std::uint8_t* BinaryReader::take(std::size_t n)
{
    if (n > remaining()) {
        failed = true;
        return nullptr;
    }
    const std::uint8_t* first = bytes.data() + position;
    position += n;
    return first;
}

bool BinaryReader::canHold(std::uint32_t count, std::size_t recordBytes)
{
    if (count > remaining() / recordBytes)
        failed = true;
    return !failed;
}

std::uint8_t BinaryReader::readUInt8()
{
    const std::uint8_t* first = take(1);
    return first != nullptr ? first[0] : 0;
}

std::uint16_t BinaryReader::readUInt16()
{
    const std::uint8_t* first = take(2);
    if (first == nullptr)
        return 0;
    return static_cast<std::uint16_t>(first[0] | (first[1] << 8));
}

std::uint32_t BinaryReader::readUInt32()
{
    const std::uint8_t* first = take(4);
    if (first == nullptr)
        return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | first[i];
    return value;
}

std::int32_t BinaryReader::readInt32()
{
    return static_cast<std::int32_t>(readUInt32());
}

double BinaryReader::readFloat64()
{
    const std::uint8_t* first = take(8);
    if (first == nullptr)
        return 0.0;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | first[i];
    return std::bit_cast<double>(bits);
}

std::uint32_t BinaryReader::readCount()
{
    const std::uint16_t shortCount = readUInt16();
    if (shortCount != RecordForm::LONG_COUNT)
        return shortCount;
    return readUInt32();
}

std::uint32_t BinaryReader::readStringLength()
{
    const std::uint8_t byteLength = readUInt8();
    if (byteLength != RecordForm::LONG_LENGTH)
        return byteLength;
    const std::uint16_t shortLength = readUInt16();
    if (shortLength != RecordForm::LONG_COUNT)
        return shortLength;
    return readUInt32();
}

std::string BinaryReader::readString()
{
    if (readUInt8() != RecordForm::STRING_TAG)
        fail();
    if (readUInt16() != RecordForm::UTF16_MARK)
        fail();
    const std::uint32_t length = readStringLength();
    if (!canHold(length, 2))
        return {};
    std::u16string units(length, u'\0');
    for (char16_t& unit : units)
        unit = static_cast<char16_t>(readUInt16());
    return utf16ToUtf8(units);
}

std::vector<std::string> BinaryReader::readStringList()
{
    const std::uint32_t count = readCount();
    std::vector<std::string> list;
    if (!canHold(count, RecordForm::MIN_STRING_BYTES))
        return list;
    list.reserve(count);
    for (std::uint32_t i = 0; i < count && !failed; ++i)
        list.push_back(readString());
    return list;
}

std::vector<std::int32_t> BinaryReader::readIntegerList()
{
    const std::uint32_t count = readCount();
    std::vector<std::int32_t> list;
    if (!canHold(count, 4))
        return list;
    list.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        list.push_back(readInt32());
    return list;
}
