#include "data/TextImport.h"
#include "data/DelimitedTextFile.h"
#include "data/UserGridCtrl.h"
#include "grid/CellState.h"

#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TableTexts.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

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

class TextImportTest : public ::testing::Test {
protected:
    void SetUp() override { table.setupTable(32, 17); }

    TemporaryDirectory folder;
    RecordingMessageSink sink;
    UserGridCtrl table{sink, DecimalSeparator('.')};
    TextImport import{table, sink};
};

} // namespace

TEST_F(TextImportTest, OptionChangesImportTheSameFileAgainUntilTheImportIsDone)
{
    table.collectNames();
    ASSERT_TRUE(import.importText(folder.write("data.txt", "a b\tc\r\n1 2\t3\r\n4\r\n"), {}));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(rowTexts(table, -1), (Texts{"a b", "c"}));
    EXPECT_EQ(rowTexts(table, 1), (Texts{"4", ""}));
    EXPECT_EQ(rowNumbers(table), numbersUpTo(2));
    ImportOptions spaces{.fieldSpace = true};
    ASSERT_TRUE(import.reimportText(spaces));
    EXPECT_EQ(rowTexts(table, 0), (Texts{"1", "2", "3"}));
    spaces.firstRowNames = false;
    ASSERT_TRUE(import.reimportText(spaces));
    EXPECT_EQ(columnTexts(table, 0), (Texts{"a", "1", "4"}));
    EXPECT_FALSE(table.beginEdit(table.toGridRow(-1), table.toGridColumn(0)));
    EXPECT_FALSE(table.beginEdit(table.toGridRow(0), table.toGridColumn(1)));
    EXPECT_TRUE(table.beginEdit(table.toGridRow(-2), table.toGridColumn(0)));
    import.finishTextImport();
    EXPECT_TRUE(table.beginEdit(table.toGridRow(0), table.toGridColumn(1)));
    EXPECT_EQ(table.getCellState(table.toGridRow(0), table.toGridColumn(0)), CellState::None);
    EXPECT_FALSE(import.reimportText({}));
    EXPECT_EQ(table.getText(0, 0), "a");
    table.deleteDataColumn(0);
    table.setText(-1, 0, "kept");
    table.restoreNames();
    EXPECT_EQ(table.getText(-1, 0), "kept") << "no collected names survive the import";
}

TEST_F(TextImportTest, AFailedImportOrReimportShowsItsMessageAndChangesNothing)
{
    const std::string vanished = folder.write("vanished.txt", "a\tb\n1\t2\n");
    ASSERT_TRUE(import.importText(vanished, {}));
    std::filesystem::remove(vanished);
    std::string wide; // 2,000,001 fields: (1 + 3) x 2,000,002 grid cells
    for (int i = 0; i < 2'000'000; ++i)
        wide += "1\t";
    const struct {
        std::string path;
        bool again;
        std::string ending;
    } cases[] = {
        {folder.path("missing.txt"), false, " cannot be opened: No such file or directory."},
        {folder.path(""), false, " cannot be opened: Is a directory."},
        {folder.write("wide.txt", wide), false, " is too large to be imported."},
        {vanished, true, " cannot be opened: No such file or directory."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const TableSnapshot before(table);
        EXPECT_FALSE(c.again ? import.reimportText({}) : import.importText(c.path, {}));
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].title, "Error");
        EXPECT_EQ(sink.messages[0].text, "The file " + c.path + c.ending);
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
        sink.messages.clear();
        EXPECT_TRUE(TableSnapshot(table) == before);
        EXPECT_EQ(import.getImportPath(), vanished);
        EXPECT_TRUE(import.isImportMode());
    }
}

TEST_F(TextImportTest, SplitsRecordsAndFieldsAsTheOptionsSay)
{
    const struct {
        const char* label;
        std::string content;
        ImportOptions options;
        Records expected;
        char separator = '.';
    } cases[] = {
        {"CR LF ends one record", "a\tb\r\n1\t2\r\n", {}, {{"a", "b"}, {"1", "2"}}},
        {"each tab separates one field", "\t1\t\t2", {}, {{"", "1", "", "2"}}},
        {"a tab alone encloses two empty fields", "\t\n", {}, {{"", ""}}},
        {"a trailing delimiter adds an empty field", "1\t2\t", {}, {{"1", "2", ""}}},
        {"empty records count", "1\n\n2", {}, {{"1"}, {}, {"2"}}},
        {"a final delimiter adds no record", "\n", {}, {{}}},
        {"an empty file", "", {}, {}},
        {"a run of blanks separates once", "1   2", {.fieldSpace = true}, {{"1", "2"}}},
        {"blanks around a record or a tab go",
         "  1 \t 2  3  ",
         {.fieldSpace = true},
         {{"1", "2", "3"}}},
        {"blanks beside a tab keep its field", "1 \t\t 2", {.fieldSpace = true}, {{"1", "", "2"}}},
        {"a record of blanks has no field", "   \n1", {.fieldSpace = true}, {{}, {"1"}}},
        {"no tab", "1\t2", {.fieldTab = false}, {{"1\t2"}}},
        {"no LF", "1\t2\r\n3\t4\r\n", {.recordLF = false}, {{"1", "2", "3", "4", ""}}},
        {"no CR", "1\r2\n3", {.recordCR = false}, {{"1", "2"}, {"3"}}},
        {"vertical tab and form feed separate fields", "1\v2\f3", {}, {{"1", "2", "3"}}},
        {"vertical characters separate one field each", "1\v\f2", {}, {{"1", "", "2"}}},
        {"vertical tab", "1\v2\f3", {.recordVT = true}, {{"1"}, {"2", "3"}}},
        {"form feed", "1\v2\f3", {.recordFF = true}, {{"1", "2"}, {"3"}}},
        {"comma to point", "a,b\t3,5\t3.5\n", {}, {{"a.b", "3.5", "3.5"}}},
        {"point to comma", "a.b\t3,5\t3.5\n", {}, {{"a,b", "3,5", "3,5"}}, ','},
        {"NUL bytes stay in their field", "a\0b\t\0\n"s, {}, {{"a\0b"s, "\0"s}}},
        {"UTF-8 is kept", "Gr\xC3\xB6\xC3\x9Fl\n", {}, {{"Gr\xC3\xB6\xC3\x9Fl"}}},
        // One Latin-1 byte decides for the whole file, the UTF-8 pair C3 B6 included.
        {"one Latin-1 byte decides", "\xC3\xB6\n\xF6\n", {}, {{"\xC3\x83\xC2\xB6"}, {"\xC3\xB6"}}},
        // A byte-order mark at the start is dropped, one elsewhere is a character.
        {"a byte-order mark", "\xEF\xBB\xBFg\t\xEF\xBB\xBFh\n", {}, {{"g", "\xEF\xBB\xBFh"}}},
        {"a byte-order mark alone", "\xEF\xBB\xBF", {}, {}},
        {"part of a byte-order mark", "\xEF\xBB", {}, {{"\xC3\xAF\xC2\xBB"}}},
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

TEST_F(TextImportTest, EveryRecordKnowsTheLineItStartsOn)
{
    // CR LF, CR and LF each end a line; a vertical tab that ends a record does not.
    DelimitedTextFile file(folder.write("data.txt", "a\tb\r\n1\t2\n\n3\r4\v5\n"),
                           {.recordVT = true}, DecimalSeparator('.'));
    ASSERT_TRUE(file.parse());
    std::vector<std::int64_t> lines;
    for (int r = 0; r < file.getRowCount(); ++r)
        lines.push_back(file.getLineOf(r));
    EXPECT_EQ(lines, (std::vector<std::int64_t>{1, 2, 3, 4, 5, 5}));
    ASSERT_TRUE(import.importText(folder.path("data.txt"), {}));
    EXPECT_EQ(import.getLineOf(0), 2) << "the first record holds the names";
    EXPECT_EQ(import.getLineOf(3), 5);
}

TEST_F(TextImportTest, AFileThatChangesBetweenThePassesCannotBeRead)
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
