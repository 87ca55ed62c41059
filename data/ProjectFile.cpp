#include "data/ProjectFile.h"

#include "data/BinaryWriter.h"
#include "data/FileAccess.h"
#include "data/FileLimits.h"
#include "data/ProjectContent.h"
#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"

#include <cstdint>
#include <vector>

ProjectFile::ProjectFile(MessageSink& messageSink) : messages(messageSink) {}

bool ProjectFile::write(const std::string& path, UserGridCtrl& dataTable,
                        WithinGridCtrl& withinTable)
{
    BinaryWriter out;
    if (!dataTable.serializeData(out))
        return false;
    withinTable.Serialize(out);
    if (!replaceFile(path, out.bytes())) {
        showError("The file " + path + " cannot be written.");
        return false;
    }
    return true;
}

bool ProjectFile::read(const std::string& path, UserGridCtrl& dataTable,
                       WithinGridCtrl& withinTable)
{
    std::vector<std::uint8_t> bytes;
    const FileReadStatus fileStatus =
        readWholeFile(path, FileLimits::MAX_PROJECT_FILE_BYTES, bytes);
    if (fileStatus == FileReadStatus::CannotOpen) {
        showError("The file " + path + " cannot be opened.");
        return false;
    }
    ProjectContent content;
    const ProjectReadStatus status = fileStatus == FileReadStatus::TooLarge
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
