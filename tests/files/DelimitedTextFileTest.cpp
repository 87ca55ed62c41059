#include "data/DelimitedTextFile.h"

#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

using Texts = std::vector<std::string>;
using Status = DelimitedTextFile::Status;

/// The fields of record `row` up to its end-of-row marker.
Texts fields(const DelimitedTextFile& file, int row)
{
    Texts texts;
    for (int c = 0; c <= file.getColumnCount(); ++c) {
        if (file.cell(row, c) == DelimitedTextFile::END_OF_ROW)
            return texts;
        texts.push_back(file.cell(row, c));
    }
    ADD_FAILURE() << "record " << row << " has no end-of-row marker";
    return texts;
}

/// Every record of the file, split.
std::vector<Texts> records(const DelimitedTextFile& file)
{
    std::vector<Texts> all;
    for (int r = 0; r < file.getRowCount(); ++r)
        all.push_back(fields(file, r));
    return all;
}

class DelimitedTextFileTest : public ::testing::Test {
protected:
    /// The records of content, read with options and the point as the separator.
    std::vector<Texts> split(const std::string& content, const ImportOptions& options = {},
                             char separator = '.')
    {
        const std::string path = folder.write("data.txt", content);
        DelimitedTextFile file(path, options, DecimalSeparator(separator));
        EXPECT_TRUE(file.parse());
        EXPECT_EQ(file.getStatus(), Status::Ready);
        return records(file);
    }

    TemporaryDirectory folder;
};

} // namespace

TEST_F(DelimitedTextFileTest, CrLfEndsOneRecord)
{
    EXPECT_EQ(split("a\tb\r\n1\t2\r\n3\t4\r\n"),
              (std::vector<Texts>{{"a", "b"}, {"1", "2"}, {"3", "4"}}));
}

TEST_F(DelimitedTextFileTest, RunsOfFieldDelimitersSeparateOnceAndTrailingOnesAddAnEmptyField)
{
    EXPECT_EQ(split("1\t\t2"), (std::vector<Texts>{{"1", "2"}}));
    EXPECT_EQ(split("\t1\t2"), (std::vector<Texts>{{"1", "2"}}));
    EXPECT_EQ(split("1\t2\t"), (std::vector<Texts>{{"1", "2", ""}}));
    EXPECT_EQ(split("\t"), (std::vector<Texts>{{""}}));
}

TEST_F(DelimitedTextFileTest, TheColumnCountIsTheWidestRecordAndShortRowsEndEarly)
{
    const std::string path = folder.write("data.txt", "1\t2\t\n3\n");
    DelimitedTextFile file(path, {}, DecimalSeparator('.'));
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

TEST_F(DelimitedTextFileTest, EmptyRecordsCountAndAFinalDelimiterAddsNone)
{
    EXPECT_EQ(split("1\n\n2\n"), (std::vector<Texts>{{"1"}, {}, {"2"}}));
    EXPECT_EQ(split("1\n\n2"), (std::vector<Texts>{{"1"}, {}, {"2"}}));
    EXPECT_EQ(split("\n"), (std::vector<Texts>{{}}));
    EXPECT_EQ(split(""), (std::vector<Texts>{}));
}

TEST_F(DelimitedTextFileTest, BlanksSeparateFieldsOnlyWithTheirOption)
{
    ImportOptions spaces;
    spaces.fieldSpace = true;
    EXPECT_EQ(split("1   2", spaces), (std::vector<Texts>{{"1", "2"}}));
    EXPECT_EQ(split("1   2"), (std::vector<Texts>{{"1   2"}}));
}

TEST_F(DelimitedTextFileTest, WithoutTheTabOptionATabIsPartOfTheField)
{
    ImportOptions noTab;
    noTab.fieldTab = false;
    EXPECT_EQ(split("1\t2", noTab), (std::vector<Texts>{{"1\t2"}}));
}

TEST_F(DelimitedTextFileTest, WithOnlyCarriageReturnsAFileOfCrLfLinesIsOneRecord)
{
    ImportOptions crOnly;
    crOnly.recordLF = false;
    EXPECT_EQ(split("1\t2\r\n3\t4\r\n", crOnly), (std::vector<Texts>{{"1", "2", "3", "4", ""}}))
        << "the line feeds separate fields; the last one is a trailing delimiter";
}

TEST_F(DelimitedTextFileTest, EachVerticalCharacterEndsRecordsOnlyWithItsOption)
{
    ImportOptions lfOnly;
    lfOnly.recordCR = false;
    EXPECT_EQ(split("1\r2\n3", lfOnly), (std::vector<Texts>{{"1", "2"}, {"3"}}));
    EXPECT_EQ(split("1\r2\n3"), (std::vector<Texts>{{"1"}, {"2"}, {"3"}}));

    EXPECT_EQ(split("1\v2\f3"), (std::vector<Texts>{{"1", "2", "3"}}))
        << "off by default, vertical tab and form feed still separate fields";
    ImportOptions vt;
    vt.recordVT = true;
    EXPECT_EQ(split("1\v2\f3", vt), (std::vector<Texts>{{"1"}, {"2", "3"}}));
    ImportOptions ff;
    ff.recordFF = true;
    EXPECT_EQ(split("1\v2\f3", ff), (std::vector<Texts>{{"1", "2"}, {"3"}}));
}

TEST_F(DelimitedTextFileTest, AFileWithoutRecordDelimitersIsOneRecord)
{
    ImportOptions none;
    none.recordCR = false;
    none.recordLF = false;
    EXPECT_EQ(split("1\n2\r\n3", none), (std::vector<Texts>{{"1", "2", "3"}}));
}

TEST_F(DelimitedTextFileTest, TheDecimalSeparatorsBecomeTheUsers)
{
    EXPECT_EQ(split("a,b\t3,5\t3.5\n", {}, '.'), (std::vector<Texts>{{"a.b", "3.5", "3.5"}}));
    EXPECT_EQ(split("a.b\t3,5\t3.5\n", {}, ','), (std::vector<Texts>{{"a,b", "3,5", "3,5"}}));
}

TEST_F(DelimitedTextFileTest, NulBytesStayInTheirField)
{
    EXPECT_EQ(split("a\0b\t\0\n"s), (std::vector<Texts>{{"a\0b"s, "\0"s}}));
}

TEST_F(DelimitedTextFileTest, AUtf8FileKeepsItsTexts)
{
    EXPECT_EQ(split("Gr\xC3\xB6\xC3\x9F" "e\t\xE2\x82\xAC\n"),
              (std::vector<Texts>{{"Gr\xC3\xB6\xC3\x9F" "e", "\xE2\x82\xAC"}}));
}

TEST_F(DelimitedTextFileTest, AnyOtherFileIsReadAsLatin1)
{
    EXPECT_EQ(split("Gr\xF6\xDF" "e\t\xB5\n"),
              (std::vector<Texts>{{"Gr\xC3\xB6\xC3\x9F" "e", "\xC2\xB5"}}));
    // One Latin-1 byte decides for the whole file, so the UTF-8 pair C3 B6 in the first
    // record is read as the two characters U+00C3 U+00B6.
    EXPECT_EQ(split("\xC3\xB6\n\xF6\n"),
              (std::vector<Texts>{{"\xC3\x83\xC2\xB6"}, {"\xC3\xB6"}}));
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
    const std::string beyond = folder.write("beyond.txt", wide);
    DelimitedTextFile tooLarge(beyond, {}, DecimalSeparator('.'));
    EXPECT_EQ(tooLarge.getStatus(), Status::TooLarge);
    EXPECT_FALSE(tooLarge.parse());
    EXPECT_EQ(tooLarge.getRowCount(), 0) << "no cells are allocated";
}

TEST_F(DelimitedTextFileTest, AFileThatChangesBetweenThePassesCannotBeRead)
{
    for (const std::string& changed : {std::string("1\n2\n3\n"), std::string("1\t2\t3\n2\n"),
                                       std::string("1\n")}) {
        const std::string path = folder.write("data.txt", "1\t2\n2\n");
        DelimitedTextFile file(path, {}, DecimalSeparator('.'));
        ASSERT_EQ(file.getStatus(), Status::Ready);
        folder.write("data.txt", changed);
        EXPECT_FALSE(file.parse()) << changed;
        EXPECT_EQ(file.getStatus(), Status::CannotRead) << changed;
    }
}
