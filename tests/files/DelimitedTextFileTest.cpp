#include "data/DelimitedTextFile.h"

#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

using Texts = std::vector<std::string>;
using Records = std::vector<Texts>;
using Status = DelimitedTextFile::Status;

/// Every record of the file, each up to its end-of-row marker.
Records records(const DelimitedTextFile& file)
{
    Records all(static_cast<std::size_t>(file.getRowCount()));
    for (int r = 0; r < file.getRowCount(); ++r) {
        int c = 0;
        for (; c <= file.getColumnCount() && file.cell(r, c) != DelimitedTextFile::END_OF_ROW; ++c)
            all[static_cast<std::size_t>(r)].push_back(file.cell(r, c));
        EXPECT_LE(c, file.getColumnCount()) << "record " << r << " has no end-of-row marker";
    }
    return all;
}

class DelimitedTextFileTest : public ::testing::Test {
protected:
    TemporaryDirectory folder;
};

} // namespace

TEST_F(DelimitedTextFileTest, SplitsRecordsAndFieldsAsTheOptionsSay)
{
    const struct {
        const char* label;
        std::string content;
        ImportOptions options;
        Records expected;
        char separator = '.';
    } cases[] = {
        {"CR LF ends one record", "a\tb\r\n1\t2\r\n3\t4\r\n", {},
         {{"a", "b"}, {"1", "2"}, {"3", "4"}}},
        {"a run of delimiters separates once", "1\t\t2", {}, {{"1", "2"}}},
        {"leading delimiters start no field", "\t1\t2", {}, {{"1", "2"}}},
        {"a trailing delimiter adds an empty field", "1\t2\t", {}, {{"1", "2", ""}}},
        {"a lone delimiter", "\t", {}, {{""}}},
        {"empty records count", "1\n\n2\n", {}, {{"1"}, {}, {"2"}}},
        {"without a final delimiter", "1\n\n2", {}, {{"1"}, {}, {"2"}}},
        {"a final delimiter adds no record", "\n", {}, {{}}},
        {"an empty file", "", {}, {}},
        {"blanks with their option", "1   2", {.fieldSpace = true}, {{"1", "2"}}},
        {"blanks without it", "1   2", {}, {{"1   2"}}},
        {"a tab without its option", "1\t2", {.fieldTab = false}, {{"1\t2"}}},
        // The line feeds separate fields; the last one is a trailing delimiter.
        {"CR LF lines with only CR ending records", "1\t2\r\n3\t4\r\n", {.recordLF = false},
         {{"1", "2", "3", "4", ""}}},
        {"LF only", "1\r2\n3", {.recordCR = false}, {{"1", "2"}, {"3"}}},
        {"CR and LF", "1\r2\n3", {}, {{"1"}, {"2"}, {"3"}}},
        {"vertical tab and form feed off, still separating fields", "1\v2\f3", {},
         {{"1", "2", "3"}}},
        {"vertical tab", "1\v2\f3", {.recordVT = true}, {{"1"}, {"2", "3"}}},
        {"form feed", "1\v2\f3", {.recordFF = true}, {{"1", "2"}, {"3"}}},
        {"no record delimiter", "1\n2\r\n3", {.recordCR = false, .recordLF = false},
         {{"1", "2", "3"}}},
        {"comma to point", "a,b\t3,5\t3.5\n", {}, {{"a.b", "3.5", "3.5"}}},
        {"point to comma", "a.b\t3,5\t3.5\n", {}, {{"a,b", "3,5", "3,5"}}, ','},
        {"NUL bytes stay in their field", "a\0b\t\0\n"s, {}, {{"a\0b"s, "\0"s}}},
        {"UTF-8 is kept", "Gr\xC3\xB6\xC3\x9F" "e\t\xE2\x82\xAC\n", {},
         {{"Gr\xC3\xB6\xC3\x9F" "e", "\xE2\x82\xAC"}}},
        {"anything else is Latin-1", "Gr\xF6\xDF" "e\t\xB5\n", {},
         {{"Gr\xC3\xB6\xC3\x9F" "e", "\xC2\xB5"}}},
        // One Latin-1 byte decides for the whole file, so the UTF-8 pair C3 B6 in the first
        // record is read as the two characters U+00C3 U+00B6.
        {"one Latin-1 byte decides", "\xC3\xB6\n\xF6\n", {}, {{"\xC3\x83\xC2\xB6"}, {"\xC3\xB6"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        DelimitedTextFile file(folder.write("data.txt", c.content), c.options,
                               DecimalSeparator(c.separator));
        EXPECT_TRUE(file.parse());
        EXPECT_EQ(file.getStatus(), Status::Ready);
        EXPECT_EQ(records(file), c.expected);
    }
}

TEST_F(DelimitedTextFileTest, TheColumnCountIsTheWidestRecordAndShortRowsEndEarly)
{
    DelimitedTextFile file(folder.write("data.txt", "1\t2\t\n3\n"), {}, DecimalSeparator('.'));
    ASSERT_TRUE(file.parse());
    EXPECT_EQ(file.getRowCount(), 2);
    EXPECT_EQ(file.getColumnCount(), 3);
    EXPECT_EQ(file.cell(0, 2), "");
    EXPECT_EQ(file.cell(0, 3), DelimitedTextFile::END_OF_ROW);
    EXPECT_EQ(file.cell(1, 1), DelimitedTextFile::END_OF_ROW);
    EXPECT_EQ(file.cell(1, 2), "");
    EXPECT_EQ(file.cell(2, 0), "") << "outside the table";
    EXPECT_EQ(file.cell(0, 4), "");
}

TEST_F(DelimitedTextFileTest, AMissingFileOrADirectoryCannotBeOpened)
{
    DelimitedTextFile missing(folder.path("missing.txt"), {}, DecimalSeparator('.'));
    EXPECT_EQ(missing.getStatus(), Status::CannotOpen);
    EXPECT_FALSE(missing.parse());
    EXPECT_EQ(missing.getRowCount(), 0);

    DelimitedTextFile directory(folder.path(""), {}, DecimalSeparator('.'));
    EXPECT_EQ(directory.getStatus(), Status::CannotOpen);
}

TEST_F(DelimitedTextFileTest, ATableBeyondTheCellLimitIsTooLarge)
{
    // 1,666,666 empty records make (1,666,666 + 3) x 1 cells, within the limit; twice as
    // many with one field each make (3,333,332 + 3) x 2, beyond it.
    const std::string within = folder.write("within.txt", std::string(1'666'666, '\n'));
    DelimitedTextFile fits(within, {}, DecimalSeparator('.'));
    EXPECT_EQ(fits.getStatus(), Status::Ready);
    EXPECT_EQ(fits.getRowCount(), 1'666'666);

    std::string wide;
    for (int i = 0; i < 1'666'666; ++i)
        wide += "1\n1\n";
    DelimitedTextFile tooLarge(folder.write("beyond.txt", wide), {}, DecimalSeparator('.'));
    EXPECT_EQ(tooLarge.getStatus(), Status::TooLarge);
    EXPECT_FALSE(tooLarge.parse());
    EXPECT_EQ(tooLarge.getRowCount(), 0) << "no cells are allocated";
}

TEST_F(DelimitedTextFileTest, AFileThatChangesBetweenThePassesCannotBeRead)
{
    for (const std::string changed : {"1\n2\n3\n", "1\t2\t3\n2\n", "1\n"}) {
        const std::string path = folder.write("data.txt", "1\t2\n2\n");
        DelimitedTextFile file(path, {}, DecimalSeparator('.'));
        ASSERT_EQ(file.getStatus(), Status::Ready);
        folder.write("data.txt", changed);
        EXPECT_FALSE(file.parse()) << changed;
        EXPECT_EQ(file.getStatus(), Status::CannotRead) << changed;
    }
}
