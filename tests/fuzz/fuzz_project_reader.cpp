// Feeds arbitrary bytes to the project reader. Whatever it accepts must load into the
// tables; the tables must write a project that the reader accepts again unless a value is
// infinite or every value is NaN, and saving that one after opening it must give the same
// bytes.
#include "data/BinaryWriter.h"
#include "data/ProjectContent.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"
#include "platform/MessageSink.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

namespace {

class IgnoredMessages : public MessageSink {
public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
};

/// Whether the tables can write the values back: a NaN opens as an empty cell, so a
/// project of NaNs only has no participant cell, and an infinity opens as the text "inf",
/// which holds no number. Every other accepted project can be saved.
bool canBeSaved(const GeneralMatrix<double>& values)
{
    bool anyNumber = false;
    for (std::int32_t i = 0; i < values.getSize(); ++i) {
        const double value = values.dataPointer()[i];
        if (std::isinf(value))
            return false;
        anyNumber = anyNumber || !std::isnan(value);
    }
    return anyNumber;
}

/// Loads content into the tables and writes them back; nothing when the writer refuses.
std::optional<std::vector<std::uint8_t>> loadAndWrite(const ProjectContent& content)
{
    // The tables own LAPACK workspaces each; made once, they serve every input.
    static IgnoredMessages messages;
    static UserGridCtrl dataTable(messages, DecimalSeparator('.'));
    static WithinGridCtrl withinTable{DecimalSeparator('.')};
    dataTable.loadData(content.data);
    withinTable.loadWithin(content.within);
    BinaryWriter out;
    const bool written = dataTable.serializeData(out);
    withinTable.Serialize(out);
    // Back to the tables' empty state, so that a run frees what it allocated; otherwise
    // libFuzzer runs a leak check, which scans the tables' workspaces, after every input.
    dataTable.setupTable(0, 0);
    withinTable.setupTable();
    if (!written)
        return std::nullopt;
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
    const std::optional<std::vector<std::uint8_t>> saved = loadAndWrite(content);
    if (saved.has_value() != canBeSaved(content.data.values))
        std::abort();
    if (!saved)
        return 0;
    ProjectContent reopened;
    if (readProjectContent(*saved, reopened) != ProjectReadStatus::Ok)
        std::abort();
    if (loadAndWrite(reopened) != saved)
        std::abort();
    return 0;
}
