#include "data/TextImport.h"
#include "data/UserGridCtrl.h"
#include "grid/CellState.h"

#include "../tables/RecordingMessageSink.h"
#include "../tables/TableTexts.h"
#include "TableSnapshot.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

/// The data table as the main window starts it, with a few entries of the user's.
class TextImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setupTable(32, 17);
        table.setText(0, 0, "typed");
        table.setText(-1, 0, "typed name");
    }

    /// The (re)import fails with message and leaves the table, the path and the mode alone.
    void expectRefused(const std::function<bool()>& attempt, const std::string& message)
    {
        const TableSnapshot before(table);
        const std::string pathBefore = import.getImportPath();
        const bool modeBefore = import.isImportMode();
        sink.messages.clear();
        EXPECT_FALSE(attempt());
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].title, "Error");
        EXPECT_EQ(sink.messages[0].text, message);
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
        EXPECT_TRUE(TableSnapshot(table) == before);
        EXPECT_EQ(import.getImportPath(), pathBefore);
        EXPECT_EQ(import.isImportMode(), modeBefore);
    }

    bool isEditable(int r, int c)
    {
        return table.beginEdit(table.toGridRow(r), table.toGridColumn(c));
    }

    TemporaryDirectory folder;
    RecordingMessageSink sink;
    UserGridCtrl table{sink, DecimalSeparator('.')};
    TextImport import{table, sink};
};

} // namespace

TEST_F(TextImportTest, TheDefaultOptionsTakeNamesFromTheFirstRecord)
{
    const std::string path = folder.write("data.txt", "a\tb\tc\r\n1\t2\t3\r\n4\r\n");
    ASSERT_TRUE(import.importText(path, {}));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(rowTexts(table, -1), (Texts{"a", "b", "c"}));
    EXPECT_EQ(rowTexts(table, 0), (Texts{"1", "2", "3"}));
    EXPECT_EQ(rowTexts(table, 1), (Texts{"4", "", ""})) << "a short record leaves cells empty";
    EXPECT_EQ(rowTexts(table, -2), (Texts{"", "", ""})) << "empty combination cells";
    EXPECT_EQ(rowTexts(table, -3), (Texts{"1", "2", "3"}));
    EXPECT_EQ(columnTexts(table, -1), (Texts{"1", "2"}));
    EXPECT_TRUE(import.isImportMode());
    EXPECT_EQ(import.getImportPath(), path);
}

TEST_F(TextImportTest, ASingleRecordWithNamesGivesNoParticipants)
{
    ASSERT_TRUE(import.importText(folder.write("names.txt", "x\ty\tz"), {}));
    EXPECT_EQ(table.getDataRowCount(), 0);
    EXPECT_EQ(rowTexts(table, -1), (Texts{"x", "y", "z"}));

    ASSERT_TRUE(import.importText(folder.write("empty.txt", ""), {}));
    EXPECT_EQ(table.getDataRowCount(), 0);
    EXPECT_EQ(table.getDataColumnCount(), 0);
}

TEST_F(TextImportTest, TheNamesListOfThePreviousTableIsGone)
{
    table.collectNames();
    ASSERT_TRUE(import.importText(folder.write("data.txt", "a\n1\n"), {}));
    table.deleteDataColumn(0);
    EXPECT_FALSE(table.removeName(0)) << "no collected names survive the import";
}

TEST_F(TextImportTest, NamesAndParticipantsAreReadOnlyUntilTheImportIsDone)
{
    ASSERT_TRUE(import.importText(folder.write("data.txt", "a\tb\n1\t2\n"), {}));
    EXPECT_FALSE(isEditable(-1, 0));
    EXPECT_FALSE(isEditable(0, 1));
    EXPECT_TRUE(isEditable(-2, 0)) << "the combination cells stay editable";
    EXPECT_EQ(table.getCellState(table.toGridRow(0), table.toGridColumn(0)), CellState::ReadOnly);

    import.finishTextImport();
    EXPECT_FALSE(import.isImportMode());
    EXPECT_TRUE(isEditable(-1, 0));
    EXPECT_TRUE(isEditable(0, 1));
    EXPECT_EQ(table.getCellState(table.toGridRow(0), table.toGridColumn(0)), CellState::None);
    EXPECT_EQ(import.getImportPath(), folder.path("data.txt")) << "the path stays remembered";

    table.setText(0, 0, "edited");
    EXPECT_FALSE(import.reimportText({})) << "an option change no longer imports";
    EXPECT_EQ(table.getText(0, 0), "edited");
}

TEST_F(TextImportTest, AnOptionChangeImportsTheSameFileAgain)
{
    ASSERT_TRUE(import.importText(folder.write("data.txt", "a b\n1 2\n"), {}));
    EXPECT_EQ(rowTexts(table, 0), (Texts{"1 2"}));

    ImportOptions spaces{.fieldSpace = true};
    ASSERT_TRUE(import.reimportText(spaces));
    EXPECT_EQ(rowTexts(table, -1), (Texts{"a", "b"}));
    EXPECT_EQ(rowTexts(table, 0), (Texts{"1", "2"}));
    EXPECT_FALSE(isEditable(0, 0)) << "still in import mode";

    spaces.firstRowNames = false;
    ASSERT_TRUE(import.reimportText(spaces));
    EXPECT_EQ(columnTexts(table, 0), (Texts{"a", "1"})) << "every record is a participant";
    EXPECT_EQ(rowTexts(table, -1), (Texts{"", ""}));
}

TEST_F(TextImportTest, AFailedImportOrReimportChangesNothing)
{
    const std::string missing = folder.path("missing.txt");
    expectRefused([&] { return import.importText(missing, {}); },
                  "The file " + missing + " cannot be opened.");

    // The user can still end an import whose file has vanished.
    const std::string path = folder.write("data.txt", "a\tb\n1\t2\n");
    ASSERT_TRUE(import.importText(path, {}));
    std::filesystem::remove(path);
    expectRefused([&] { return import.reimportText({}); },
                  "The file " + path + " cannot be opened.");
}

TEST_F(TextImportTest, NulBytesAndLatin1CharactersArriveAsUtf8)
{
    ASSERT_TRUE(import.importText(
        folder.write("data.txt", "Gr\xF6\xDF" "e\tx\0y\n1,5\t\xB5\n"s), {}));
    EXPECT_EQ(rowTexts(table, -1), (Texts{"Gr\xC3\xB6\xC3\x9F" "e", "x\0y"s}));
    EXPECT_EQ(rowTexts(table, 0), (Texts{"1.5", "\xC2\xB5"}));
}

TEST_F(TextImportTest, ALineOfMegabytesIsOneCell)
{
    const std::string field(3'000'000, '7');
    ASSERT_TRUE(import.importText(folder.write("long.txt", "name\n" + field + "\n"), {}));
    EXPECT_EQ(table.getText(0, 0), field);
}

TEST_F(TextImportTest, AMillionRowsAreImported)
{
    std::string content = "a\tb\n";
    for (int i = 1; i <= 1'000'000; ++i)
        content += std::to_string(i) + "\t.5\n";
    ASSERT_TRUE(import.importText(folder.write("rows.txt", content), {}));
    ASSERT_EQ(table.getDataRowCount(), 1'000'000);
    EXPECT_EQ(rowTexts(table, 999'999), (Texts{"1000000", ".5"}));
    EXPECT_EQ(table.getText(999'999, -1), "1000000");
}

TEST_F(TextImportTest, TooManyCellsAreRefusedWithAMessage)
{
    // One record of 2,000,001 fields (the trailing tab adds an empty one): (1 + 3) x
    // 2,000,002 grid cells.
    std::string wide;
    for (int i = 0; i < 2'000'000; ++i)
        wide += "1\t";
    const std::string path = folder.write("wide.txt", wide);
    expectRefused([&] { return import.importText(path, {}); },
                  "The file " + path + " is too large to be imported.");
}
