#include "data/BinaryWriter.h"
#include "data/FileAccess.h"
#include "data/FileLimits.h"
#include "data/ProjectFile.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"
#include "grid/CellState.h"

#include "../tables/RecordingMessageSink.h"
#include "HandAssembledProject.h"
#include "TableSnapshot.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

constexpr const char* EMPTY_MESSAGE = "Data grid is empty.\n Nothing to save.";

/// The texts of data row r (header rows for r < 0), data columns 0 … C-1.
Texts rowTexts(const GeneralGridCtrl& table, int r)
{
    Texts texts;
    for (int c = 0; c < table.getDataColumnCount(); ++c)
        texts.push_back(table.getText(r, c));
    return texts;
}

/// The texts of data column c, data rows 0 … R-1.
Texts columnTexts(const GeneralGridCtrl& table, int c)
{
    Texts texts;
    for (int r = 0; r < table.getDataRowCount(); ++r)
        texts.push_back(table.getText(r, c));
    return texts;
}

/// Every cell text of the grid, header cells included, row by row.
std::vector<Texts> allTexts(const GridModel& grid)
{
    std::vector<Texts> rows;
    for (int row = 0; row < grid.getRowCount(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < grid.getColumnCount(); ++column)
            rows.back().push_back(grid.getCellText(row, column));
    }
    return rows;
}

/// The double stored at offset, assembled from its little-endian bytes.
double doubleAt(const Bytes& bytes, std::size_t offset)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | bytes[offset + static_cast<std::size_t>(i)];
    return std::bit_cast<double>(bits);
}

/// The small project: participants (1, 2.5) and (-3, empty) in a table of 32 x 17, names
/// a and b, combinations 1 and 2 from the list between, 1, 2; a third column with a name
/// but no value; within variables t with 2 levels and u without a number, an empty row
/// between them.
class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.setupTable(32, 17);
        within.setupTable();
    }

    void enterSmallProject()
    {
        data.setText(0, 0, "1");
        data.setText(0, 1, "2.5");
        data.setText(1, 0, "-3");
        data.setComboOptions({"between", "1", "2"});
        data.setText(-2, 0, "1");
        data.setText(-2, 1, "2");
        data.setText(-1, 0, "a");
        data.setText(-1, 1, "b");
        data.setText(-1, 2, "c");
        within.setText(0, 0, "t");
        within.setText(0, 1, "2");
        within.setText(2, 0, "u");
    }

    static HandAssembledProject smallProject()
    {
        HandAssembledProject project;
        project.extent(2);
        project.extent(2);
        for (const double value : {1.0, -3.0, 2.5, 0.0})
            project.value(value);
        project.strings({"between", "1", "2"});
        project.strings({"a", "b"});
        project.strings({"1", "2"});
        project.strings({"t", "u"});
        project.levels({2, 0});
        return project;
    }

    /// Content unlike any project of these tests, with a focus cell, a selection and
    /// read-only cells, so that any change by a refused read shows.
    void enterOtherContent()
    {
        data.setupTable(3, 4);
        data.setText(0, 0, "keep");
        data.setText(-1, 3, "name");
        data.setCellState(data.toGridRow(1), data.toGridColumn(1), CellState::ReadOnly);
        data.setFocusCell({data.toGridRow(2), data.toGridColumn(2)});
        data.setSelectedRange({4, 1, 5, 2});
        within.setText(5, 0, "w");
    }

    /// Reading path fails with message, and neither table changes in the least.
    void expectRefused(const std::string& path, const std::string& message)
    {
        const TableSnapshot dataBefore(data);
        const TableSnapshot withinBefore(within);
        sink.messages.clear();
        EXPECT_FALSE(projectFile.read(path, data, within));
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].title, "Error");
        EXPECT_EQ(sink.messages[0].text, message);
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
        EXPECT_TRUE(TableSnapshot(data) == dataBefore);
        EXPECT_TRUE(TableSnapshot(within) == withinBefore);
    }

    std::string damaged(const std::string& path) const
    {
        return "The file " + path + " is not a Tamsel project or is damaged.";
    }

    TemporaryDirectory folder;
    RecordingMessageSink sink;
    UserGridCtrl data{sink, DecimalSeparator('.')};
    WithinGridCtrl within{DecimalSeparator('.')};
    ProjectFile projectFile{sink};
};

} // namespace

TEST_F(ProjectFileTest, WritesTheSmallProjectByteForByte)
{
    enterSmallProject();
    const std::string path = folder.path("small.vlt");
    ASSERT_TRUE(projectFile.write(path, data, within));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(readBytes(path), smallProject().bytes());
}

TEST_F(ProjectFileTest, SavingTidiesBothTablesAsTheChecksDo)
{
    enterSmallProject();
    ASSERT_TRUE(projectFile.write(folder.path("small.vlt"), data, within));
    EXPECT_EQ(data.getDataRowCount(), 2) << "empty participant rows are removed";
    EXPECT_EQ(data.getDataColumnCount(), 2) << "the named column without values too";
    EXPECT_EQ(within.getDataRowCount(), 2) << "and the empty within-variable rows";
}

TEST_F(ProjectFileTest, StoresTheValuesColumnByColumn)
{
    // 2 participants x 3 columns holding 1 … 6 row by row.
    for (int i = 0; i < 6; ++i)
        data.setText(i / 3, i % 3, std::to_string(i + 1));
    const std::string path = folder.path("order.vlt");
    ASSERT_TRUE(projectFile.write(path, data, within));
    const Bytes bytes = readBytes(path);
    ASSERT_GE(bytes.size(), 8u + 6 * 8);
    std::vector<double> stored;
    for (std::size_t i = 0; i < 6; ++i)
        stored.push_back(doubleAt(bytes, 8 + 8 * i));
    EXPECT_EQ(stored, (std::vector<double>{1, 4, 2, 5, 3, 6}));
}

TEST_F(ProjectFileTest, ReadingTheSmallProjectReplacesBothTables)
{
    enterOtherContent();
    const std::string path = folder.write("small.vlt", smallProject().bytes());
    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_TRUE(sink.messages.empty());

    EXPECT_EQ(data.getDataRowCount(), 2);
    EXPECT_EQ(data.getDataColumnCount(), 2);
    EXPECT_EQ(rowTexts(data, 0), (Texts{"1", "2.5"}));
    EXPECT_EQ(rowTexts(data, 1), (Texts{"-3", "0"})) << "an empty cell comes back as 0";
    EXPECT_EQ(rowTexts(data, -1), (Texts{"a", "b"}));
    EXPECT_EQ(rowTexts(data, -2), (Texts{"1", "2"}));
    EXPECT_EQ(rowTexts(data, -3), (Texts{"1", "2"})) << "the column numbers";
    EXPECT_EQ(columnTexts(data, -1), (Texts{"1", "2"})) << "the row numbers";
    EXPECT_EQ(data.getText(-1, -1), "name");
    Texts names;
    data.getNames(names);
    EXPECT_EQ(names, (Texts{"a", "b"}));
    for (int c = -1; c < 2; ++c)
        EXPECT_EQ(data.getCellBackground(data.toGridRow(-1), data.toGridColumn(c)),
                  (Colour{150, 180, 150}));
    for (int c = 0; c < 2; ++c) {
        const int row = UserGridCtrl::comboRow;
        const int column = data.toGridColumn(c);
        EXPECT_EQ(data.getCellType(row, column), CellType::DropDown);
        EXPECT_EQ(data.getCellDropDownStyle(row, column), DropDownStyle::Editable);
        EXPECT_EQ(data.getCellOptions(row, column), (Texts{"between", "1", "2"}));
    }
    EXPECT_EQ(data.getCellState(data.toGridRow(1), data.toGridColumn(1)), CellState::None)
        << "nothing of the previous content stays, read-only states included";

    EXPECT_EQ(within.getDataRowCount(), 2);
    EXPECT_EQ(columnTexts(within, 0), (Texts{"t", "u"}));
    EXPECT_EQ(columnTexts(within, 1), (Texts{"2", "0"})) << "a name without a number shows 0";
    EXPECT_EQ(columnTexts(within, -1), (Texts{"1", "2"}));
    EXPECT_EQ(rowTexts(within, -1), (Texts{"variable name", "number of levels"}));
}

TEST_F(ProjectFileTest, ReadingWritesTheValuesWithTheUsersSeparator)
{
    RecordingMessageSink commaSink;
    UserGridCtrl commaTable(commaSink, DecimalSeparator(','));
    const std::string path = folder.write("small.vlt", smallProject().bytes());
    ASSERT_TRUE(projectFile.read(path, commaTable, within));
    EXPECT_EQ(rowTexts(commaTable, 0), (Texts{"1", "2,5"}));
}

TEST_F(ProjectFileTest, ValuesComeBackWithFourteenSignificantDigits)
{
    data.setText(0, 0, "0.1");
    data.setText(0, 1, "0.333333333333333333");
    data.setText(0, 2, "-2.5e-300");
    const std::string path = folder.path("digits.vlt");
    ASSERT_TRUE(projectFile.write(path, data, within));
    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_EQ(rowTexts(data, 0), (Texts{"0.1", "0.33333333333333", "-2.5e-300"}));
}

TEST_F(ProjectFileTest, WrittenFilesReadBackIdentically)
{
    // Texts that "%.14g" writes back unchanged, names in several scripts, a long name.
    const std::string longName(300, 'L');
    data.setComboOptions({"between", "1, 1", "1, 2"});
    const Texts names = {"Gr\xC3\xB6\xC3\x9F" "e", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E", longName};
    const Texts roles = {"between", "1, 1", "1, 2", "typed by hand"};
    for (int c = 0; c < 4; ++c) {
        data.setText(-1, c, names[static_cast<std::size_t>(c)]);
        data.setText(-2, c, roles[static_cast<std::size_t>(c)]);
        for (int r = 0; r < 5; ++r)
            data.setText(r, c, std::to_string(r * 4 + c) + ".25");
    }
    within.setText(0, 0, "time");
    within.setText(0, 1, "3");
    within.setText(1, 0, "");
    within.setText(1, 1, "2");
    const std::string first = folder.path("first.vlt");
    ASSERT_TRUE(projectFile.write(first, data, within));

    RecordingMessageSink otherSink;
    UserGridCtrl readData(otherSink, DecimalSeparator('.'));
    WithinGridCtrl readWithin(DecimalSeparator('.'));
    ASSERT_TRUE(projectFile.read(first, readData, readWithin));
    EXPECT_EQ(allTexts(readData), allTexts(data));
    EXPECT_EQ(allTexts(readWithin), allTexts(within));
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(readData.getCellOptions(UserGridCtrl::comboRow, readData.toGridColumn(c)),
                  (Texts{"between", "1, 1", "1, 2"}));
    }

    const std::string second = folder.path("second.vlt");
    ASSERT_TRUE(projectFile.write(second, readData, readWithin));
    EXPECT_EQ(readBytes(second), readBytes(first));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, ALongNameTakesTheUint16LengthForm)
{
    data.setText(0, 0, "1");
    data.setText(-1, 0, std::string(300, 'n'));
    const std::string path = folder.path("long.vlt");
    ASSERT_TRUE(projectFile.write(path, data, within));
    // R, C, one double, an empty record 4 (2 bytes), the count of record 5 (2 bytes).
    const std::size_t nameOffset = 4 + 4 + 8 + 2 + 2;
    const Bytes bytes = readBytes(path);
    ASSERT_GE(bytes.size(), nameOffset + 6 + 600);
    EXPECT_EQ(Bytes(bytes.begin() + nameOffset, bytes.begin() + nameOffset + 6),
              (Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    EXPECT_EQ(bytes[nameOffset + 6], 'n');
    EXPECT_EQ(bytes[nameOffset + 6 + 599], 0x00);
    EXPECT_EQ(bytes[nameOffset + 6 + 600], 0x01) << "record 6 follows: count 1";

    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_EQ(data.getText(-1, 0), std::string(300, 'n'));
}

TEST_F(ProjectFileTest, SixtyFiveThousandFiveHundredThirtyFiveColumnsTakeTheLongCountForm)
{
    constexpr int COLUMNS = 65535;
    data.setupTable(1, COLUMNS);
    for (int c = 0; c < COLUMNS; ++c)
        data.setText(0, c, "1");
    data.setText(-1, COLUMNS - 1, "last");
    const std::string path = folder.path("wide.vlt");
    ASSERT_TRUE(projectFile.write(path, data, within));
    const Bytes bytes = readBytes(path);
    // R, C, the doubles, an empty record 4, then record 5's count.
    const std::size_t countOffset = 8 + 8 * std::size_t{COLUMNS} + 2;
    ASSERT_GE(bytes.size(), countOffset + 6);
    EXPECT_EQ(Bytes(bytes.begin() + countOffset, bytes.begin() + countOffset + 6),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));

    data.setupTable(2, 2);
    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_EQ(data.getDataColumnCount(), COLUMNS);
    EXPECT_EQ(data.getText(-1, COLUMNS - 1), "last");
    EXPECT_EQ(data.getText(0, COLUMNS - 1), "1");
}

TEST_F(ProjectFileTest, AnEmptyDataTableWritesNothingAndKeepsTheOldFile)
{
    data.setText(-1, 0, "a name");
    data.setText(-2, 0, "between");
    within.setText(0, 0, "t");
    const std::string path = folder.write("old.vlt", std::string("old content"));
    EXPECT_FALSE(projectFile.write(path, data, within));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Error");
    EXPECT_EQ(sink.messages[0].text, EMPTY_MESSAGE);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(readBytes(path), (Bytes{'o', 'l', 'd', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't'}));
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));

    const std::string fresh = folder.path("fresh.vlt");
    EXPECT_FALSE(projectFile.write(fresh, data, within));
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_F(ProjectFileTest, AForeignDecimalSeparatorWritesNothing)
{
    RecordingMessageSink commaSink;
    UserGridCtrl commaTable(commaSink, DecimalSeparator(','));
    commaTable.setupTable(2, 2);
    commaTable.setText(0, 0, "1,5");
    commaTable.setText(1, 1, "2.5");
    const std::string path = folder.write("old.vlt", std::string("old"));
    ProjectFile commaFile(commaSink);
    EXPECT_FALSE(commaFile.write(path, commaTable, within));
    ASSERT_EQ(commaSink.messages.size(), 1u);
    EXPECT_EQ(commaSink.messages[0].text,
              "In your regional settings ',' is selected as decimal separator.");
    EXPECT_EQ(readBytes(path), (Bytes{'o', 'l', 'd'}));
}

TEST_F(ProjectFileTest, SavingOverAnOldProjectReplacesItAndLeavesNoTemporaryFile)
{
    enterSmallProject();
    const std::string path = folder.write("project.vlt", std::string("previous"));
    ASSERT_TRUE(projectFile.write(path, data, within));
    EXPECT_EQ(readBytes(path), smallProject().bytes());
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));
}

TEST_F(ProjectFileTest, AFailedWriteKeepsTheOldFile)
{
    enterSmallProject();
    const std::string path = folder.write("project.vlt", std::string("previous"));
    // A directory where the temporary file would go makes the write fail.
    std::filesystem::create_directory(temporaryPathFor(path));
    EXPECT_FALSE(projectFile.write(path, data, within));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Error");
    EXPECT_EQ(sink.messages[0].text, "The file " + path + " cannot be written.");
    EXPECT_EQ(readBytes(path), (Bytes{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
    EXPECT_TRUE(std::filesystem::is_directory(temporaryPathFor(path)))
        << "what was in the way is not touched";
}

TEST_F(ProjectFileTest, AFailedRenameRemovesTheTemporaryFile)
{
    enterSmallProject();
    const std::string path = folder.path("folder.vlt");
    std::filesystem::create_directory(path);
    std::filesystem::path inside = std::filesystem::path(path) / "content";
    std::ofstream(inside) << "x";
    EXPECT_FALSE(projectFile.write(path, data, within));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "The file " + path + " cannot be written.");
    EXPECT_TRUE(std::filesystem::exists(inside));
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));
}

TEST_F(ProjectFileTest, AFileCutShortAtAnyOffsetIsRefusedAndChangesNothing)
{
    enterOtherContent();
    const Bytes whole = smallProject().bytes();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        const std::string path =
            folder.write("cut.vlt", Bytes(whole.begin(), whole.begin() + static_cast<long>(size)));
        expectRefused(path, damaged(path));
    }
}

TEST_F(ProjectFileTest, AChangedStructureByteIsRefusedAndAChangedPayloadByteIsRead)
{
    const HandAssembledProject project = smallProject();
    const Bytes& whole = project.bytes();
    for (std::size_t offset = 0; offset < whole.size(); ++offset) {
        SCOPED_TRACE("byte " + std::to_string(offset) + " inverted");
        enterOtherContent();
        Bytes corrupted = whole;
        corrupted[offset] ^= 0xFF;
        const std::string path = folder.write("corrupted.vlt", corrupted);
        if (project.isPayload(offset)) {
            sink.messages.clear();
            EXPECT_TRUE(projectFile.read(path, data, within));
            EXPECT_TRUE(sink.messages.empty());
        } else {
            expectRefused(path, damaged(path));
        }
    }
}

TEST_F(ProjectFileTest, BytesAfterTheLastRecordAreRefused)
{
    enterOtherContent();
    Bytes longer = smallProject().bytes();
    longer.push_back(0x00);
    const std::string path = folder.write("longer.vlt", longer);
    expectRefused(path, damaged(path));
}

TEST_F(ProjectFileTest, AForeignFileIsRefused)
{
    enterOtherContent();
    const std::string text = folder.write("notes.vlt", std::string("a\tb\r\n1\t2\r\n"));
    expectRefused(text, damaged(text));
    const std::string empty = folder.write("empty.vlt", std::string());
    expectRefused(empty, damaged(empty));
}

TEST_F(ProjectFileTest, ListsOfTheWrongLengthAreRefused)
{
    enterOtherContent();
    // One name for two columns.
    BinaryWriter fewNames;
    fewNames.writeInt32(1);
    fewNames.writeInt32(2);
    fewNames.writeFloat64(1.0);
    fewNames.writeFloat64(2.0);
    fewNames.writeStringList({});
    fewNames.writeStringList({"a"});
    fewNames.writeStringList({"1", "2"});
    fewNames.writeStringList({});
    fewNames.writeIntegerList({});
    const std::string names = folder.write("names.vlt", fewNames.bytes());
    expectRefused(names, damaged(names));

    // Two within names, one number of levels.
    BinaryWriter fewLevels;
    fewLevels.writeInt32(1);
    fewLevels.writeInt32(1);
    fewLevels.writeFloat64(1.0);
    fewLevels.writeStringList({});
    fewLevels.writeStringList({"a"});
    fewLevels.writeStringList({"1"});
    fewLevels.writeStringList({"t", "u"});
    fewLevels.writeIntegerList({2});
    const std::string levels = folder.write("levels.vlt", fewLevels.bytes());
    expectRefused(levels, damaged(levels));
}

TEST_F(ProjectFileTest, ATableBeyondTheCellLimitIsRefusedAsTooLarge)
{
    enterOtherContent();
    // One participant, 1000 columns, each combination cell offering 5000 entries: 5,004,004
    // cells, just beyond the limit, in a file of 36 kB.
    constexpr int COLUMNS = 1000;
    constexpr int OPTIONS = 5000;
    static_assert((1 + 3) * (COLUMNS + 1) + OPTIONS * COLUMNS > FileLimits::MAX_TABLE_CELLS);
    BinaryWriter out;
    out.writeInt32(1);
    out.writeInt32(COLUMNS);
    for (int c = 0; c < COLUMNS; ++c)
        out.writeFloat64(c);
    out.writeStringList(Texts(OPTIONS));
    out.writeStringList(Texts(COLUMNS));
    out.writeStringList(Texts(COLUMNS));
    out.writeStringList({});
    out.writeIntegerList({});
    const std::string path = folder.write("huge.vlt", out.bytes());
    expectRefused(path, "The file " + path + " is too large to be opened.");
}

TEST_F(ProjectFileTest, ATableWithoutParticipantCellsIsRefused)
{
    enterOtherContent();
    // A million rows of no columns would need no bytes at all.
    for (const std::int32_t rows : {0, 1'000'000}) {
        BinaryWriter out;
        out.writeInt32(rows);
        out.writeInt32(0);
        for (int list = 0; list < 4; ++list)
            out.writeStringList({});
        out.writeIntegerList({});
        const std::string path = folder.write("no-columns.vlt", out.bytes());
        expectRefused(path, damaged(path));
    }
}

TEST_F(ProjectFileTest, AMissingFileOrADirectoryCannotBeOpened)
{
    enterOtherContent();
    const std::string missing = folder.path("missing.vlt");
    expectRefused(missing, "The file " + missing + " cannot be opened.");
    const std::string directory = folder.path("directory.vlt");
    std::filesystem::create_directory(directory);
    expectRefused(directory, "The file " + directory + " cannot be opened.");
}

TEST_F(ProjectFileTest, AnUnpairedSurrogateInAFileBecomesTheReplacementCharacter)
{
    BinaryWriter out;
    out.writeInt32(1);
    out.writeInt32(1);
    out.writeFloat64(1.0);
    out.writeStringList({});
    const std::size_t nameOffset = out.bytes().size() + 2;
    out.writeStringList({"ab"});
    out.writeStringList({"1"});
    out.writeStringList({});
    out.writeIntegerList({});
    Bytes bytes = out.bytes();
    bytes[nameOffset + 4] = 0x00; // "a" becomes the high surrogate D800
    bytes[nameOffset + 5] = 0xD8;
    const std::string path = folder.write("surrogate.vlt", bytes);
    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_EQ(data.getText(-1, 0), "\xEF\xBF\xBD" "b");
}
