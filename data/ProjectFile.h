#pragma once

#include "platform/MessageSink.h"

#include <cstdint>
#include <span>
#include <string>

class UserGridCtrl;
class WithinGridCtrl;

/// Reads and writes project files (.vlt): the data table's section, then the
/// within-variables table's section (the layout is in data/ProjectContent.h). Failures
/// are shown through the message sink with the title "Error" and leave both the tables
/// and any file on disk as they were, apart from what the checks of saving tidy.
class ProjectFile {
public:
    /// messages must outlive the object.
    explicit ProjectFile(MessageSink& messages);

    /// Save: assembles the file in memory (serializeData, then Serialize of the
    /// within-variables table) and has replaceFile put it at path. False when the data
    /// table refuses (it has shown its message) or the file cannot be written ("The file
    /// PATH cannot be written: REASON.", REASON the system's, or "not a regular file");
    /// a previous file at path stays intact.
    bool write(const std::string& path, UserGridCtrl& dataTable, WithinGridCtrl& withinTable);

    /// Open: reads and checks the whole file before either table changes, then replaces
    /// both tables by its content. False, with both tables unchanged, when the file cannot
    /// be opened ("The file PATH cannot be opened: REASON."), is damaged or foreign ("The file
    /// PATH is not a Tamsel project or is damaged.") or too large ("The file PATH is too
    /// large to be opened.").
    bool read(const std::string& path, UserGridCtrl& dataTable, WithinGridCtrl& withinTable);
    /// Open from the bytes of a file that was read already, named path in the messages: as
    /// read, without the file access.
    bool readBytes(const std::string& path, std::span<const std::uint8_t> bytes,
                   UserGridCtrl& dataTable, WithinGridCtrl& withinTable);

private:
    void showError(const std::string& text);

    MessageSink& messages;
};
