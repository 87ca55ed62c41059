#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// Reads the records of a project file (data/RecordForm.h) from bytes in memory, the
/// counterpart of BinaryWriter.
///
/// Every read first checks that its record fits into the bytes that remain. A record that
/// does not fit, or a string record without its markers, makes the reader fail: from then
/// on it stays failed, reads nothing more and gives 0 or empty values, so that a caller
/// may read a whole section and look at hasFailed() once. A list's count is checked
/// against the remaining bytes (at least 4 per string, 4 per integer) before anything is
/// allocated, so no count can make the reader allocate more than the bytes could hold.
class BinaryReader {
public:
    /// bytes must outlive the reader.
    explicit BinaryReader(std::span<const std::uint8_t> bytes);

    std::uint8_t readUInt8();
    std::uint16_t readUInt16();
    std::uint32_t readUInt32();
    std::int32_t readInt32();
    double readFloat64();

    /// A count record, either form.
    std::uint32_t readCount();
    /// A string record as UTF-8; an unpaired surrogate becomes U+FFFD.
    std::string readString();
    std::vector<std::string> readStringList();
    std::vector<std::int32_t> readIntegerList();

    /// Makes the reader fail, for a caller that finds a record's value impossible.
    void fail() { failed = true; }
    bool hasFailed() const { return failed; }
    /// The bytes not read yet; 0 once failed.
    std::size_t remaining() const;

private:
    /// The next n bytes, or nullptr (and the reader failed) when fewer remain.
    const std::uint8_t* take(std::size_t n);
    /// Fails unless at least count records of recordBytes bytes each could still follow.
    bool canHold(std::uint32_t count, std::size_t recordBytes);
    std::uint32_t readStringLength();

    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
    bool failed = false;
};
