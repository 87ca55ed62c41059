#include "data/BinaryWriter.h"
#include "data/FileAccess.h"
#include "data/FileLimits.h"
#include "data/ProjectFile.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"
#include "grid/CellState.h"

#include "../tables/RecordingMessageSink.h"
#include "../tables/TableTexts.h"
#include "HandAssembledProject.h"
#include "TableSnapshot.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

/// The records of a project file as BinaryWriter puts them, every value 1.0, for files
/// that the tables would never write.
struct Records {
    std::int32_t rows = 1;
    std::int32_t columns = 1;
    Texts options{};
    Texts names{};
    Texts combinations{};
    Texts withinNames{};
    std::vector<int> levels{};

    Bytes bytes() const
    {
        BinaryWriter out;
        out.writeInt32(rows);
        out.writeInt32(columns);
        for (std::int64_t i = 0; i < std::int64_t{rows} * columns; ++i)
            out.writeFloat64(1.0);
        for (const Texts* list : {&options, &names, &combinations, &withinNames})
            out.writeStringList(*list);
        out.writeIntegerList(levels);
        return out.bytes();
    }
};

/// The small project: participants (1, 2.5, 4) and (-3, empty, 5) in a table of 32 x 17,
/// names a, b, c, combinations 1, 2, between from the list between, 1, 2; a fourth column
/// with a name but no value; within variables t with 2 levels and u without a number, an
/// empty row between them. Not square, so that rows and columns cannot be mistaken.
class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.setupTable(32, 17);
        within.setupTable();
    }

    void enterSmallProject()
    {
        const Texts names = {"a", "b", "c", "d"};
        const Texts roles = {"1", "2", "between", ""};
        const Texts values = {"1", "2.5", "4", "", "-3", "", "5", ""};
        data.setComboOptions({"between", "1", "2"});
        for (std::size_t c = 0; c < 4; ++c) {
            data.setText(-1, static_cast<int>(c), names[c]);
            data.setText(-2, static_cast<int>(c), roles[c]);
            for (std::size_t r = 0; r < 2; ++r)
                data.setText(static_cast<int>(r), static_cast<int>(c), values[4 * r + c]);
        }
        within.setText(0, 0, "t");
        within.setText(0, 1, "2");
        within.setText(2, 0, "u");
    }

    static HandAssembledProject smallProject()
    {
        HandAssembledProject project;
        project.extent(2);
        project.extent(3);
        for (const double value : {1.0, -3.0, 2.5, 0.0, 4.0, 5.0}) // column by column
            project.value(value);
        project.strings({"between", "1", "2"});
        project.strings({"a", "b", "c"});
        project.strings({"1", "2", "between"});
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

    /// Exactly one message was shown since the last check: the error message.
    void expectError(const std::string& message)
    {
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].title, "Error");
        EXPECT_EQ(sink.messages[0].text, message);
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
        sink.messages.clear();
    }

    /// Reading path fails with message, and neither table changes in the least.
    void expectRefused(const std::string& path, const std::string& message)
    {
        const TableSnapshot dataBefore(data);
        const TableSnapshot withinBefore(within);
        sink.messages.clear();
        EXPECT_FALSE(projectFile.read(path, data, within));
        expectError(message);
        EXPECT_TRUE(TableSnapshot(data) == dataBefore);
        EXPECT_TRUE(TableSnapshot(within) == withinBefore);
    }

    static std::string damaged(const std::string& path)
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

TEST_F(ProjectFileTest, SavingOverAnOldFileWritesTheSmallProjectByteForByte)
{
    enterSmallProject();
    const std::string path = folder.write("small.vlt", std::string("previous"));
    ASSERT_TRUE(projectFile.write(path, data, within));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(readBytes(path), smallProject().bytes());
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));
    // The tables themselves are tidied as the checks do: empty participant rows, the named
    // column without values, the empty within rows are gone.
    EXPECT_EQ(data.getDataRowCount(), 2);
    EXPECT_EQ(data.getDataColumnCount(), 3);
    EXPECT_EQ(within.getDataRowCount(), 2);
}

TEST_F(ProjectFileTest, ReadingTheSmallProjectReplacesBothTables)
{
    enterOtherContent();
    const std::string path = folder.write("small.vlt", smallProject().bytes());
    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_TRUE(sink.messages.empty());

    EXPECT_EQ(rowTexts(data, 0), (Texts{"1", "2.5", "4"}));
    EXPECT_EQ(rowTexts(data, 1), (Texts{"-3", "0", "5"})) << "an empty cell comes back as 0";
    EXPECT_EQ(rowTexts(data, -1), (Texts{"a", "b", "c"}));
    EXPECT_EQ(rowTexts(data, -2), (Texts{"1", "2", "between"}));
    EXPECT_EQ(data.getCellOptions(UserGridCtrl::comboRow, data.toGridColumn(2)),
              (Texts{"between", "1", "2"}));
    EXPECT_EQ(data.getCellState(data.toGridRow(1), data.toGridColumn(1)), CellState::None)
        << "nothing of the previous content stays, read-only states included";

    EXPECT_EQ(columnTexts(within, 0), (Texts{"t", "u"}));
    EXPECT_EQ(columnTexts(within, 1), (Texts{"2", "0"})) << "a name without a number shows 0";
}

TEST_F(ProjectFileTest, ReadingWritesTheValuesWithTheUsersSeparator)
{
    UserGridCtrl commaTable(sink, DecimalSeparator(','));
    const std::string path = folder.write("small.vlt", smallProject().bytes());
    ASSERT_TRUE(projectFile.read(path, commaTable, within));
    EXPECT_EQ(rowTexts(commaTable, 0), (Texts{"1", "2,5", "4"}));
}

TEST_F(ProjectFileTest, WrittenFilesReadBackIdentically)
{
    // Texts that "%.14g" writes back unchanged, names in several scripts and one too long
    // for the one-byte length. The tables read into are new: reading builds their headers.
    data.setComboOptions({"between", "1, 1", "1, 2"});
    const Texts names = {"Gr\xC3\xB6\xC3\x9F" "e", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E",
                         std::string(300, 'L')};
    const Texts roles = {"between", "1, 1", "1, 2", "typed by hand"};
    for (int c = 0; c < 4; ++c) {
        data.setText(-1, c, names[static_cast<std::size_t>(c)]);
        data.setText(-2, c, roles[static_cast<std::size_t>(c)]);
        for (int r = 0; r < 5; ++r)
            data.setText(r, c, std::to_string(r * 4 + c) + ".25");
    }
    within.setText(0, 0, "time");
    within.setText(0, 1, "3");
    within.setText(1, 1, "2");
    const std::string first = folder.path("first.vlt");
    ASSERT_TRUE(projectFile.write(first, data, within));

    UserGridCtrl readData(sink, DecimalSeparator('.'));
    WithinGridCtrl readWithin(DecimalSeparator('.'));
    ASSERT_TRUE(projectFile.read(first, readData, readWithin));
    EXPECT_TRUE(TableSnapshot(readData) == TableSnapshot(data));
    // Only the width of the row-number column may differ: it was fitted to 20 rows.
    TableSnapshot withinRead(readWithin);
    withinRead.widths[0] = TableSnapshot(within).widths[0];
    EXPECT_TRUE(withinRead == TableSnapshot(within));

    const std::string second = folder.path("second.vlt");
    ASSERT_TRUE(projectFile.write(second, readData, readWithin));
    EXPECT_EQ(readBytes(second), readBytes(first));
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, SixtyFiveThousandFiveHundredThirtyFiveColumnsComeBack)
{
    // The first column count whose lists take the long count form.
    constexpr int COLUMNS = 65535;
    data.setupTable(1, COLUMNS);
    for (int c = 0; c < COLUMNS; ++c)
        data.setText(0, c, "1");
    data.setText(-1, COLUMNS - 1, "last");
    const std::string path = folder.path("wide.vlt");
    ASSERT_TRUE(projectFile.write(path, data, within));
    data.setupTable(2, 2);
    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_EQ(data.getDataColumnCount(), COLUMNS);
    EXPECT_EQ(data.getText(-1, COLUMNS - 1), "last");
}

TEST_F(ProjectFileTest, AnEmptyDataTableWritesNothingAndKeepsTheOldFile)
{
    data.setText(-1, 0, "a name");
    data.setText(-2, 0, "between");
    within.setText(0, 0, "t");
    const std::string path = folder.write("old.vlt", std::string("old"));
    EXPECT_FALSE(projectFile.write(path, data, within));
    expectError("Data grid is empty.\n Nothing to save.");
    EXPECT_EQ(readBytes(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));

    const std::string fresh = folder.path("fresh.vlt");
    EXPECT_FALSE(projectFile.write(fresh, data, within));
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_F(ProjectFileTest, AForeignDecimalSeparatorWritesNothing)
{
    UserGridCtrl commaTable(sink, DecimalSeparator(','));
    commaTable.setupTable(2, 2);
    commaTable.setText(0, 0, "1,5");
    commaTable.setText(1, 1, "2.5");
    const std::string path = folder.write("old.vlt", std::string("old"));
    EXPECT_FALSE(projectFile.write(path, commaTable, within));
    ASSERT_EQ(sink.messages.size(), 1u) << "the table's own warning, no second message";
    EXPECT_EQ(readBytes(path), (Bytes{'o', 'l', 'd'}));
}

TEST_F(ProjectFileTest, AFailedWriteKeepsTheOldFile)
{
    enterSmallProject();
    const std::string path = folder.write("project.vlt", std::string("previous"));
    // A directory where the temporary file would go makes the write fail.
    std::filesystem::create_directory(temporaryPathFor(path));
    EXPECT_FALSE(projectFile.write(path, data, within));
    expectError("The file " + path + " cannot be written.");
    EXPECT_EQ(readBytes(path), (Bytes{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
    EXPECT_TRUE(std::filesystem::is_directory(temporaryPathFor(path)))
        << "what was in the way is not touched";
}

TEST_F(ProjectFileTest, AFailedRenameRemovesTheTemporaryFile)
{
    enterSmallProject();
    const std::string path = folder.path("folder.vlt");
    std::filesystem::create_directory(path);
    const std::filesystem::path inside = std::filesystem::path(path) / "content";
    std::ofstream(inside) << "x";
    EXPECT_FALSE(projectFile.write(path, data, within));
    expectError("The file " + path + " cannot be written.");
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

TEST_F(ProjectFileTest, WellFormedRecordsThatMakeNoProjectAreRefused)
{
    enterOtherContent();
    Bytes longer = smallProject().bytes();
    longer.push_back(0x00);
    const std::string text = "a\tb\r\n1\t2\r\n";
    const struct {
        const char* label;
        Bytes bytes;
    } cases[] = {
        {"a byte after the last record", longer},
        {"a text file", Bytes(text.begin(), text.end())},
        {"one name for two columns",
         Records{.columns = 2, .names = {"a"}, .combinations = {"1", "2"}}.bytes()},
        {"one combination for two columns",
         Records{.columns = 2, .names = {"a", "b"}, .combinations = {"1"}}.bytes()},
        {"two within names, one number of levels",
         Records{.names = {"a"}, .combinations = {"1"}, .withinNames = {"t", "u"}, .levels = {2}}
             .bytes()},
        {"no rows, no columns", Records{.rows = 0, .columns = 0}.bytes()},
        {"no rows", Records{.rows = 0, .names = {"a"}, .combinations = {"1"}}.bytes()},
        // It would need no bytes at all.
        {"a million rows of no columns", Records{.rows = 1'000'000, .columns = 0}.bytes()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string path = folder.write("damaged.vlt", c.bytes);
        expectRefused(path, damaged(path));
    }
}

TEST_F(ProjectFileTest, ATableBeyondTheCellLimitIsRefusedAsTooLarge)
{
    enterOtherContent();
    // One participant, 1000 columns, each combination cell offering 5000 entries: 5,004,004
    // cells, just beyond the limit, in a file of 36 kB.
    constexpr int COLUMNS = 1000;
    constexpr int OPTIONS = 5000;
    static_assert((1 + 3) * (COLUMNS + 1) + OPTIONS * COLUMNS > FileLimits::MAX_TABLE_CELLS);
    const Records huge{.columns = COLUMNS, .options = Texts(OPTIONS), .names = Texts(COLUMNS),
                       .combinations = Texts(COLUMNS)};
    const std::string path = folder.write("huge.vlt", huge.bytes());
    expectRefused(path, "The file " + path + " is too large to be opened.");
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
