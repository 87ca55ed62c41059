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

/// The writer's bytes from offset on, count of them.
Bytes slice(const BinaryWriter& out, std::size_t offset, std::size_t count)
{
    const Bytes& all = out.bytes();
    return {all.begin() + static_cast<std::ptrdiff_t>(offset),
            all.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

} // namespace

TEST(BinaryWriter, WritesIntegersAndDoublesLittleEndian)
{
    BinaryWriter out;
    out.writeInt32(-2);
    out.writeInt32(0x01020304);
    out.writeFloat64(1.0);
    out.writeFloat64(-0.5);
    EXPECT_EQ(out.bytes(), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0xBF}));
}

TEST(BinaryWriter, WritesTheShortStringFormsOfTheExamples)
{
    BinaryWriter out;
    out.writeString("");
    out.writeString("ab");
    EXPECT_EQ(out.bytes(), (Bytes{0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x02, 0x61, 0x00,
                                  0x62, 0x00}));
}

TEST(BinaryWriter, CountsCodeUnitsNotBytes)
{
    BinaryWriter out;
    out.writeString("\xC3\xA4\xF0\x9D\x84\x9E"); // U+00E4, then U+1D11E as a surrogate pair
    EXPECT_EQ(out.bytes(), (Bytes{0xFF, 0xFE, 0xFF, 0x03, 0xE4, 0x00, 0x34, 0xD8, 0x1E, 0xDD}));
}

TEST(BinaryWriter, ChoosesTheStringLengthFormAtEachBoundary)
{
    struct Case {
        std::size_t length;
        Bytes header;
    };
    const std::vector<Case> cases = {
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        BinaryWriter out;
        out.writeString(std::string(c.length, 'x'));
        ASSERT_EQ(out.bytes().size(), c.header.size() + 2 * c.length) << c.length;
        EXPECT_EQ(slice(out, 0, c.header.size()), c.header) << c.length;
        EXPECT_EQ(slice(out, c.header.size(), 2), (Bytes{'x', 0x00})) << c.length;
    }
}

TEST(BinaryWriter, ChoosesTheCountFormAtTheBoundary)
{
    BinaryWriter out;
    out.writeCount(3);
    out.writeCount(65534);
    out.writeCount(65535);
    out.writeCount(70000);
    EXPECT_EQ(out.bytes(), (Bytes{0x03, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
                                  0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
}

TEST(BinaryWriter, WritesListsAsCountAndEntries)
{
    BinaryWriter out;
    out.writeIntegerList({1, 2, -1});
    out.writeStringList({"a"});
    EXPECT_EQ(out.bytes(), (Bytes{0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                                  0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x01,
                                  0x61, 0x00}));
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

TEST(BinaryReader, AStringWithoutItsMarkersFails)
{
    const Bytes ansiString = {0x02, 0x61, 0x62};
    BinaryReader ansi(ansiString);
    EXPECT_EQ(ansi.readString(), "");
    EXPECT_TRUE(ansi.hasFailed());

    const Bytes wrongMark = {0xFF, 0xFD, 0xFF, 0x00};
    BinaryReader mark(wrongMark);
    mark.readString();
    EXPECT_TRUE(mark.hasFailed());
}

TEST(BinaryReader, ALengthBeyondTheRemainingBytesFailsBeforeAllocating)
{
    // A string claiming 0xFFFFFFF0 code units, a list claiming 0xFFFFFFF0 entries: each is
    // refused from the count alone, which would otherwise ask for gigabytes.
    const Bytes longString = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0x61, 0x00};
    BinaryReader string(longString);
    EXPECT_EQ(string.readString(), "");
    EXPECT_TRUE(string.hasFailed());

    const Bytes longList = {0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00};
    BinaryReader strings(longList);
    EXPECT_TRUE(strings.readStringList().empty());
    EXPECT_TRUE(strings.hasFailed());
    BinaryReader integers(longList);
    EXPECT_TRUE(integers.readIntegerList().empty());
    EXPECT_TRUE(integers.hasFailed());
}

TEST(BinaryReader, AListIsCheckedAgainstTheSmallestSizeOfItsEntries)
{
    // Two empty strings take 8 bytes; a count of 3 with 8 bytes left cannot be met.
    const Bytes three = {0x03, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x00};
    BinaryReader in(three);
    EXPECT_TRUE(in.readStringList().empty());
    EXPECT_TRUE(in.hasFailed());

    const Bytes two = {0x02, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x00};
    BinaryReader fits(two);
    EXPECT_EQ(fits.readStringList(), (std::vector<std::string>{"", ""}));
    EXPECT_FALSE(fits.hasFailed());
}

TEST(BinaryReader, AnUnpairedSurrogateBecomesTheReplacementCharacter)
{
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 0x02, 0x00, 0xD8, 0x61, 0x00};
    BinaryReader in(bytes);
    EXPECT_EQ(in.readString(), "\xEF\xBF\xBD" "a");
    EXPECT_FALSE(in.hasFailed());
}
