#include "data/ProjectFile.h"

#include "data/BinaryWriter.h"
#include "data/FileAccess.h"
#include "data/FileLimits.h"
#include "data/ProjectContent.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"

#include <cstdint>
#include <system_error>
#include <utility>
#include <vector>

ProjectFile::ProjectFile(MessageSink& messageSink) : messages(messageSink)
{
}

bool ProjectFile::write(const std::string& path, UserGridCtrl& dataTable,
                        WithinGridCtrl& withinTable)
{
    BinaryWriter out;
    if (!dataTable.serializeData(out))
        return false;
    withinTable.Serialize(out);
    if (const std::error_code error = replaceFile(path, out.bytes())) {
        showError("The file " + path + " cannot be written: " + error.message() + ".");
        return false;
    }
    return true;
}

bool ProjectFile::read(const std::string& path, UserGridCtrl& dataTable,
                       WithinGridCtrl& withinTable)
{
    const std::optional<std::vector<std::uint8_t>> bytes =
        readWholeFile(path, FileLimits::MAX_PROJECT_FILE_BYTES, "opened", messages);
    return bytes && readBytes(path, *bytes, dataTable, withinTable);
}

bool ProjectFile::readBytes(const std::string& path, std::span<const std::uint8_t> bytes,
                            UserGridCtrl& dataTable, WithinGridCtrl& withinTable)
{
    ProjectContent content;
    const ProjectReadStatus status =
        std::cmp_greater(bytes.size(), FileLimits::MAX_PROJECT_FILE_BYTES)
            ? ProjectReadStatus::TooLarge
            : readProjectContent(bytes, content);
    if (status == ProjectReadStatus::Damaged) {
        showError("The file " + path + " is not a Tamsel project or is damaged.");
        return false;
    }
    if (status == ProjectReadStatus::TooLarge) {
        showError("The file " + path + " is too large to be opened.");
        return false;
    }
    dataTable.loadData(content.data);
    withinTable.loadWithin(content.within);
    return true;
}

void ProjectFile::showError(const std::string& text)
{
    messages.showMessage("Error", text, MessageIcon::Error);
}
