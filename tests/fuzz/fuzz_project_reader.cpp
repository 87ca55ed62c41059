// Feeds arbitrary bytes to the project reader. Whatever it accepts must load into the
// tables, the tables must write a project that the reader accepts again, and saving that
// one after opening it must give the same bytes.
#include "platform/MessageSink.h"
#include "data/BinaryWriter.h"
#include "data/ProjectContent.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

class IgnoredMessages : public MessageSink {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
};

/// Loads content into the tables and writes them back; an accepted project always has a
/// participant cell, so the writer cannot refuse it.
std::vector<std::uint8_t> loadAndWrite(const ProjectContent& content)
{
    // The tables own 40 MB workspaces each; made once, they serve every input.
    static IgnoredMessages messages;
    static UserGridCtrl dataTable(messages, DecimalSeparator('.'));
    static WithinGridCtrl withinTable{DecimalSeparator('.')};
    dataTable.loadData(content.data);
    withinTable.loadWithin(content.within);
    BinaryWriter out;
    if (!dataTable.serializeData(out))
        std::abort();
    withinTable.Serialize(out);
    // Back to the tables' empty state, so that a run frees what it allocated; otherwise
    // libFuzzer runs a leak check, which scans the tables' workspaces, after every input.
    dataTable.setupTable(0, 0);
    withinTable.setupTable();
    return out.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ProjectContent content;
    if (readProjectContent(std::span(data, size), content) != ProjectReadStatus::Ok)
        return 0;
    // The first pass through the tables normalises (values to 14 significant digits, an
    // unpaired surrogate to U+FFFD); from then on saving what was opened changes nothing.
    const std::vector<std::uint8_t> saved = loadAndWrite(content);
    ProjectContent reopened;
    if (readProjectContent(saved, reopened) != ProjectReadStatus::Ok)
        std::abort();
    if (loadAndWrite(reopened) != saved)
        std::abort();
    return 0;
}
