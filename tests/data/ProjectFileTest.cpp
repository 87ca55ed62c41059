#include "data/ProjectFile.h"
#include "data/BinaryReader.h"
#include "data/BinaryWriter.h"
#include "data/FileAccess.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"
#include "grid/CellState.h"

#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TableTexts.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

/// Project bytes put together by hand, independently of BinaryWriter; each byte is marked
/// as payload (a change gives another valid project) or structure (a change is damage).
struct HandAssembledProject {
    Bytes bytes;
    std::vector<bool> payload;

    void append(std::uint64_t value, int size, bool isPayload)
    {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            payload.push_back(isPayload);
        }
    }
    void strings(const Texts& list)
    {
        append(list.size(), 2, false);
        for (const std::string& ascii : list) {
            append(0xFFFEFF, 3, false);
            append(ascii.size(), 1, false);
            for (const char character : ascii)
                append(static_cast<std::uint8_t>(character), 2, true);
        }
    }
};

/// Well-formed records, every value 1.0; lists are options, names, combinations, within names.
Bytes records(std::int32_t rows, std::int32_t columns, const std::vector<Texts>& lists,
              const std::vector<int>& levels = {})
{
    BinaryWriter out;
    out.writeInt32(rows);
    out.writeInt32(columns);
    for (std::int64_t i = 0; i < std::int64_t{rows} * columns; ++i)
        out.writeFloat64(1.0);
    for (const Texts& list : lists)
        out.writeStringList(list);
    out.writeIntegerList(levels);
    return out.bytes();
}

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.setupTable(32, 17);
        within.setupTable();
    }

    /// Not square, with an empty cell, a named column without values, an empty within row.
    void enterSmallProject()
    {
        data.setComboOptions({"between", "1", "2"});
        data.setFocusCell({UserGridCtrl::comboRow, data.toGridColumn(0)});
        ASSERT_TRUE(data.paste("1\t2\tbetween\na\tb\tc\td\n1\t2,5\t4\n-3\t\t5"));
        within.setFocusCell({within.toGridRow(0), within.toGridColumn(0)});
        ASSERT_TRUE(within.paste("t\t2\n\nu"));
    }

    /// The empty cell is the quiet NaN of IEEE 754 binary64 by default; files of earlier
    /// versions held 0.0 there.
    static HandAssembledProject smallProject(std::uint64_t emptyCell = 0x7FF8'0000'0000'0000)
    {
        HandAssembledProject project;
        project.append(2, 4, false);
        project.append(3, 4, false);
        for (const double value : {1.0, -3.0, 2.5})
            project.append(std::bit_cast<std::uint64_t>(value), 8, true);
        project.append(emptyCell, 8, true);
        for (const double value : {4.0, 5.0})
            project.append(std::bit_cast<std::uint64_t>(value), 8, true);
        project.strings({"between", "1", "2"});
        project.strings({"a", "b", "c"});
        project.strings({"1", "2", "between"});
        project.strings({"t", "u"});
        project.append(2, 2, false);
        project.append(2, 4, true);
        project.append(0, 4, true);
        return project;
    }

    /// Content with a selection and a read-only cell, so any change by a read shows.
    void enterOtherContent()
    {
        data.setupTable(3, 4);
        data.setText(0, 0, "keep");
        data.setCellState(data.toGridRow(1), data.toGridColumn(1), CellState::ReadOnly);
        data.setSelectedRange({4, 1, 5, 2});
        within.setText(5, 0, "w");
    }

    void expectError(const std::string& message)
    {
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].title, "Error");
        EXPECT_EQ(sink.messages[0].text, message);
        EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
        sink.messages.clear();
    }

    void expectRefused(const std::string& path, const std::string& message)
    {
        const TableSnapshot dataBefore(data);
        const TableSnapshot withinBefore(within);
        EXPECT_FALSE(projectFile.read(path, data, within));
        expectError(message);
        EXPECT_TRUE(TableSnapshot(data) == dataBefore);
        EXPECT_TRUE(TableSnapshot(within) == withinBefore);
    }

    TemporaryDirectory folder;
    RecordingMessageSink sink;
    UserGridCtrl data{sink, DecimalSeparator(',')};
    WithinGridCtrl within{DecimalSeparator('.')};
    ProjectFile projectFile{sink};
};

std::string damaged(const std::string& path)
{
    return "The file " + path + " is not a Tamsel project or is damaged.";
}

} // namespace

TEST_F(ProjectFileTest, TheSmallProjectIsWrittenByteForByteAndReadBackIdentically)
{
    enterSmallProject();
    const std::string path = folder.write("small.vlt", std::string("previous"));
    ASSERT_TRUE(projectFile.write(path, data, within));
    EXPECT_EQ(readBytes(path), smallProject().bytes);
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(path)));

    enterOtherContent();
    ASSERT_TRUE(projectFile.read(path, data, within));
    EXPECT_EQ(rowTexts(data, 0), (Texts{"1", "2,5", "4"}));
    EXPECT_EQ(rowTexts(data, 1), (Texts{"-3", "", "5"})) << "the empty cell stays empty";
    EXPECT_EQ(data.getCellState(data.toGridRow(1), data.toGridColumn(1)), CellState::None);
    EXPECT_EQ(columnTexts(within, 1), (Texts{"2", "0"}));
    const std::string again = folder.path("again.vlt");
    ASSERT_TRUE(projectFile.write(again, data, within));
    EXPECT_EQ(readBytes(again), smallProject().bytes);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, AnyNaNOpensAsAnEmptyCellAndAnEarlierFilesZeroAsZero)
{
    for (const auto& [bits, text] :
         {std::pair{0x7FF8'0000'0000'0000ull, ""}, std::pair{0xFFF0'0000'0000'0001ull, ""},
          std::pair{0x0000'0000'0000'0000ull, "0"}}) {
        SCOPED_TRACE(bits);
        const std::string path = folder.write("cell.vlt", smallProject(bits).bytes);
        ASSERT_TRUE(projectFile.read(path, data, within));
        EXPECT_EQ(rowTexts(data, 1), (Texts{"-3", text, "5"}));
    }
}

TEST_F(ProjectFileTest, SavingRefusesATextThatIsNoNumberButNotAnEmptyCell)
{
    data.setupTable(2, 2);
    data.setText(0, 0, "1");
    data.setText(1, 1, "  ");
    EXPECT_TRUE(projectFile.write(folder.path("blank.vlt"), data, within));
    data.setText(1, 0, "1,,2");
    const std::string path = folder.write("kept.vlt", std::string("previous"));
    EXPECT_FALSE(projectFile.write(path, data, within));
    expectError("The cell in row 2, column 1 of the data table holds no number.");
    EXPECT_EQ(readBytes(path), (Bytes{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
}

// A folder or a device as the target: the CLI's save scenarios.
TEST_F(ProjectFileTest, AFailedWriteShowsItsReasonAndKeepsTheOldFile)
{
    const std::string old = folder.write("old.vlt", std::string("old"));
    data.setText(-1, 0, "a name");
    EXPECT_FALSE(projectFile.write(old, data, within));
    expectError("Data grid is empty.\n Nothing to save.");
    enterSmallProject();
    std::filesystem::create_directory(temporaryPathFor(old)); // the temporary file's name
    EXPECT_FALSE(projectFile.write(old, data, within));
    expectError("The file " + old + " cannot be written: Is a directory.");
    EXPECT_EQ(readBytes(old), (Bytes{'o', 'l', 'd'}));
}

TEST_F(ProjectFileTest, ACutOrAChangedStructureByteIsRefusedAndAChangedPayloadByteIsRead)
{
    const HandAssembledProject project = smallProject();
    const Bytes& whole = project.bytes;
    enterOtherContent();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        const std::string path =
            folder.write("cut.vlt", Bytes(whole.begin(), whole.begin() + static_cast<long>(size)));
        expectRefused(path, damaged(path));
    }
    for (std::size_t offset = 0; offset < whole.size(); ++offset) {
        SCOPED_TRACE("byte " + std::to_string(offset) + " inverted");
        enterOtherContent();
        Bytes corrupted = whole;
        corrupted[offset] ^= 0xFF;
        const std::string path = folder.write("corrupted.vlt", corrupted);
        if (project.payload[offset])
            EXPECT_TRUE(projectFile.read(path, data, within));
        else
            expectRefused(path, damaged(path));
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, ARefusedReadShowsItsMessageAndChangesNothing)
{
    enterOtherContent();
    Bytes longer = smallProject().bytes;
    longer.push_back(0x00);
    std::filesystem::create_directory(folder.path("directory.vlt"));
    const struct {
        const char* label;
        Bytes bytes;
        std::string ending;
    } cases[] = {
        {"a byte after the last record", longer, ""},
        {"one name for two columns", records(1, 2, {{}, {"a"}, {"1", "2"}, {}}), ""},
        {"two within names, one level", records(1, 1, {{}, {"a"}, {"1"}, {"t", "u"}}, {2}), ""},
        {"no rows", records(0, 1, {{}, {"a"}, {"1"}, {}}), ""},
        {"a million rows of no columns", records(1'000'000, 0, {{}, {}, {}, {}}), ""},
        // 5,004,004 cells of combination lists in 36 kB, just beyond the limit.
        {"beyond the cell limit", records(1, 1000, {Texts(5000), Texts(1000), Texts(1000), {}}),
         " is too large to be opened."},
        {"missing.vlt", {}, " cannot be opened: No such file or directory."},
        {"directory.vlt", {}, " cannot be opened: Is a directory."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string path =
            c.bytes.empty() ? folder.path(c.label) : folder.write("file.vlt", c.bytes);
        expectRefused(path, c.ending.empty() ? damaged(path) : "The file " + path + c.ending);
    }
}

// A save replaces the file at the end of a chain of symbolic links, made if the chain
// dangles. Hard links, the mode and files that are not regular: the CLI's save scenarios.
TEST(ReplaceFile, FollowsChainsOfLinksAndRefusesALoop)
{
    namespace fs = std::filesystem;
    const TemporaryDirectory folder;
    folder.write("target.vlt", std::string("old"));
    fs::create_symlink("target.vlt", folder.path("link.vlt"));
    fs::create_symlink("link.vlt", folder.path("link-to-link.vlt"));
    fs::create_symlink("new.vlt", folder.path("dangling.vlt"));
    fs::create_symlink("loop-b.vlt", folder.path("loop-a.vlt"));
    fs::create_symlink("loop-a.vlt", folder.path("loop-b.vlt"));
    const Bytes content{'n', 'e', 'w'};
    const struct {
        const char* name;
        std::error_code expected;
        const char* changed;
    } cases[] = {
        {"link-to-link.vlt", {}, "target.vlt"},
        {"dangling.vlt", {}, "new.vlt"},
        {"loop-a.vlt", std::make_error_code(std::errc::too_many_symbolic_link_levels), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(replaceFile(folder.path(c.name), content), c.expected);
        if (c.changed) {
            EXPECT_EQ(readBytes(folder.path(c.changed)), content);
        }
        EXPECT_FALSE(fs::exists(temporaryPathFor(folder.path(c.changed ? c.changed : c.name))));
    }
    EXPECT_TRUE(fs::is_symlink(folder.path("link.vlt")));
}

TEST(BinaryWriter, ChoosesEachLengthFormAtItsBoundaryAndCountsCodeUnits)
{
    const struct {
        std::string text;
        Bytes header;
    } cases[] = {
        {std::string(254, 'x'), {0xFF, 0xFE, 0xFF, 0xFE}},
        {std::string(255, 'x'), {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {std::string(65533, 'x'), {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {std::string(65534, 'x'), {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        // U+00E4, then U+1D11E as a surrogate pair.
        {"\xC3\xA4\xF0\x9D\x84\x9E", {0xFF, 0xFE, 0xFF, 0x03, 0xE4, 0x00, 0x34, 0xD8, 0x1E, 0xDD}},
    };
    for (const auto& c : cases) {
        BinaryWriter out;
        out.writeString(c.text);
        const Bytes start(out.bytes().begin(),
                          out.bytes().begin() + static_cast<long>(c.header.size()));
        EXPECT_EQ(start, c.header) << c.text.size();
        EXPECT_EQ(BinaryReader(out.bytes()).readString(), c.text) << c.text.size();
    }
    BinaryWriter counts;
    counts.writeCount(65534);
    counts.writeCount(65535);
    EXPECT_EQ(counts.bytes(), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
}

TEST(BinaryReader, ARecordTheBytesCannotHoldFailsBeforeAllocating)
{
    // 0xFFFFFFF0 entries or code units would ask for gigabytes; a string takes 4 bytes at least.
    const Bytes longString = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF};
    const Bytes longList = {0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00};
    const Bytes threeInEight = {0x03, 0x00, 0xFF, 0xFE, 0xFF, 0x00, 0xFF, 0xFE, 0xFF, 0x00};
    BinaryReader string(longString);
    EXPECT_EQ(string.readString(), "");
    BinaryReader strings(longList);
    EXPECT_TRUE(strings.readStringList().empty());
    BinaryReader three(threeInEight);
    EXPECT_TRUE(three.readStringList().empty());
    for (const BinaryReader* failed : {&string, &strings, &three})
        EXPECT_TRUE(failed->hasFailed());
}
