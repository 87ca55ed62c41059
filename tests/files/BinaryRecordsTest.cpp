#include "data/BinaryReader.h"
#include "data/BinaryWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

// Expected bytes are written out by hand from the record layout: little-endian integers,
// counts below 0xFFFF as uint16 and longer ones as FF FF plus uint32, strings as FF FE FF
// and a length whose long forms are FF plus uint16 and FF FF FF plus uint32.

namespace {

using Bytes = std::vector<std::uint8_t>;

} // namespace

// The other records are pinned byte by byte by the hand-assembled project of
// ProjectFileTest; the forms that project does not reach are here.
TEST(BinaryWriter, CountsCodeUnitsNotBytes)
{
    BinaryWriter out;
    out.writeString("\xC3\xA4\xF0\x9D\x84\x9E"); // U+00E4, then U+1D11E as a surrogate pair
    EXPECT_EQ(out.bytes(), (Bytes{0xFF, 0xFE, 0xFF, 0x03, 0xE4, 0x00, 0x34, 0xD8, 0x1E, 0xDD}));
}

TEST(BinaryWriter, ChoosesTheCountFormAtTheBoundary)
{
    BinaryWriter out;
    for (const std::size_t n : {65534, 65535, 70000})
        out.writeCount(n);
    EXPECT_EQ(out.bytes(), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x70,
                                  0x11, 0x01, 0x00}));
}

TEST(BinaryWriter, ChoosesTheStringLengthFormAtEachBoundary)
{
    const struct {
        std::size_t length;
        Bytes header;
    } cases[] = {
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        BinaryWriter out;
        out.writeString(std::string(c.length, 'x'));
        const Bytes& bytes = out.bytes();
        ASSERT_EQ(bytes.size(), c.header.size() + 2 * c.length) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(c.header.size())),
                  c.header)
            << c.length;
        EXPECT_EQ(bytes[c.header.size()], 'x') << c.length;
    }
}

TEST(BinaryReader, ReadsWhatTheWriterWrote)
{
    BinaryWriter out;
    out.writeInt32(std::numeric_limits<std::int32_t>::min());
    out.writeFloat64(0.1);
    out.writeCount(65535);
    out.writeString(std::string(300, 'n') + "\xE2\x82\xAC");
    out.writeStringList({"", "ab", "\xF0\x9D\x84\x9E"});
    out.writeIntegerList({7, -7});
    BinaryReader in(out.bytes());
    EXPECT_EQ(in.readInt32(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(in.readFloat64(), 0.1);
    EXPECT_EQ(in.readCount(), 65535u);
    EXPECT_EQ(in.readString(), std::string(300, 'n') + "\xE2\x82\xAC");
    EXPECT_EQ(in.readStringList(), (std::vector<std::string>{"", "ab", "\xF0\x9D\x84\x9E"}));
    EXPECT_EQ(in.readIntegerList(), (std::vector<std::int32_t>{7, -7}));
    EXPECT_FALSE(in.hasFailed());
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(BinaryReader, AcceptsEveryLengthFormEvenWhereTheWriterWouldUseAShorterOne)
{
    // "a" with a uint32 length and a count of 1 in the long form.
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x61, 0x00,
                         0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00};
    BinaryReader in(bytes);
    EXPECT_EQ(in.readString(), "a");
    EXPECT_EQ(in.readCount(), 1u);
    EXPECT_FALSE(in.hasFailed());
}

TEST(BinaryReader, AnIncompleteRecordFailsAndTheFailureSticks)
{
    const Bytes bytes = {0x01, 0x02, 0x03, 0x04, 0x05};
    BinaryReader in(bytes);
    EXPECT_EQ(in.readInt32(), 0x04030201);
    EXPECT_EQ(in.readUInt16(), 0) << "one byte is left, two are needed";
    EXPECT_TRUE(in.hasFailed());
    EXPECT_EQ(in.readUInt8(), 0) << "the byte that was left is not read after the failure";
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(BinaryReader, ARecordTheBytesCannotHoldFailsBeforeAllocating)
{
    // Each read gives the number of characters or entries it produced.
    using Read = std::size_t (*)(BinaryReader&);
    const Read string = [](BinaryReader& in) { return in.readString().size(); };
    const Read strings = [](BinaryReader& in) { return in.readStringList().size(); };
    const Read integers = [](BinaryReader& in) { return in.readIntegerList().size(); };
    // 0xFFFFFFF0 entries or code units, which would ask for gigabytes.
    const Bytes longList = {0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00};
    const Bytes longString = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF,
                              0xF0, 0xFF, 0xFF, 0xFF, 0x61, 0x00};
    const struct {
        const char* label;
        Bytes bytes;
        Read read;
        std::size_t size;
    } cases[] = {
        {"a string without its markers", {0x02, 0x61, 0x62}, string, 0},
        {"a string with a wrong marker", {0xFF, 0xFD, 0xFF, 0x00}, string, 0},
        {"a string longer than the bytes", longString, string, 0},
        {"a string list longer than the bytes", longList, strings, 0},
        {"an integer list longer than the bytes", longList, integers, 0},
        // Each string takes at least 4 bytes.
        {"three strings in 8 bytes", {0x03, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x00},
         strings, 0},
        {"two strings in 8 bytes", {0x02, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x00},
         strings, 2},
    };
    for (const auto& c : cases) {
        BinaryReader in(c.bytes);
        EXPECT_EQ(c.read(in), c.size) << c.label;
        EXPECT_EQ(in.hasFailed(), c.size == 0) << c.label;
    }
}

TEST(BinaryReader, AnUnpairedSurrogateBecomesTheReplacementCharacter)
{
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 0x02, 0x00, 0xD8, 0x61, 0x00};
    BinaryReader in(bytes);
    EXPECT_EQ(in.readString(), "\xEF\xBF\xBD" "a");
    EXPECT_FALSE(in.hasFailed());
}
