// Feeds arbitrary text to the import with options taken from the first byte (bit 0 names,
// bits 1-4 CR, LF, VT, FF, bits 5-6 tab, blank). A file this small always imports;
// afterwards the name row and every participant row hold the fields the reader split.
#include "data/DelimitedTextFile.h"
#include "data/TextImport.h"
#include "data/UserGridCtrl.h"
#include "platform/MessageSink.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

class IgnoredMessages : public MessageSink {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
};

ImportOptions optionsFrom(std::uint8_t bits)
{
    ImportOptions options;
    options.firstRowNames = (bits & 1) != 0;
    options.recordCR = (bits & 2) != 0;
    options.recordLF = (bits & 4) != 0;
    options.recordVT = (bits & 8) != 0;
    options.recordFF = (bits & 16) != 0;
    options.fieldTab = (bits & 32) != 0;
    options.fieldSpace = (bits & 64) != 0;
    return options;
}

/// Data row r of the table holds the fields of the file's record, up to the end-of-row
/// marker, and nothing after it.
bool rowMatchesRecord(const UserGridCtrl& table, int r, const DelimitedTextFile& file, int record)
{
    bool ended = false;
    for (int c = 0; c < table.getDataColumnCount(); ++c) {
        const std::string& field = file.cell(record, c);
        ended = ended || field == DelimitedTextFile::END_OF_ROW;
        if (table.getText(r, c) != (ended ? std::string() : field))
            return false;
    }
    return true;
}

bool tableMatchesFile(const UserGridCtrl& table, const DelimitedTextFile& file, bool names)
{
    if (names && file.getRowCount() > 0 && !rowMatchesRecord(table, -1, file, 0))
        return false;
    const int firstRecord = names ? 1 : 0;
    for (int r = 0; r < table.getDataRowCount(); ++r) {
        if (!rowMatchesRecord(table, r, file, r + firstRecord))
            return false;
    }
    return table.getDataColumnCount() == file.getColumnCount();
}

/// The file each input is written to, removed when the fuzzer exits.
const std::string& temporaryPath()
{
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("tamsel-fuzz-import-" + std::to_string(::getpid()) + ".txt"))
                                        .string();
    static const bool removedAtExit = std::atexit([] {
                                          std::error_code ignored;
                                          std::filesystem::remove(path, ignored);
                                      }) == 0;
    (void)removedAtExit;
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static IgnoredMessages messages;
    static UserGridCtrl table(messages, DecimalSeparator(','));
    static TextImport import(table, messages);
    static const std::string& path = temporaryPath();
    if (size == 0)
        return 0;
    const ImportOptions options = optionsFrom(data[0]);
    {
        // A new file each time: rewriting a truncated one makes some file systems (ext4)
        // flush it to disk at every close.
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    if (!import.importText(path, options))
        std::abort();
    DelimitedTextFile file(path, options, DecimalSeparator(','));
    if (!file.parse() || !tableMatchesFile(table, file, options.firstRowNames))
        std::abort();
    import.finishTextImport();
    // Back to an empty table, so that a run frees what it allocated; otherwise libFuzzer
    // runs a leak check, which scans the tables' workspaces, after every input.
    table.setupTable(0, 0);
    return 0;
}
