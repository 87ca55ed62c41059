#pragma once

#include <optional>
#include <string>
#include <vector>

/// The platform's file dialogs. Filters come in the program's form
/// "Name (*.ext)|*.ext|All Files (*.*)|*.*||" (see NameFilters.h); the open dialogs accept
/// existing files only. Every dialog is modal; "Cancel" gives no path.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    /// The full path of one existing file, or nothing when the user cancels.
    virtual std::optional<std::string> openFile(const std::string& title,
                                                const std::string& filter) = 0;
    /// The full paths of the chosen existing files in the order the dialog returns them;
    /// empty when the user cancels.
    virtual std::vector<std::string> openFiles(const std::string& title,
                                               const std::string& filter) = 0;
    /// The full path to save to, or nothing when the user cancels. A name typed without an
    /// extension receives the extension of the chosen filter entry, defaultExtension (given
    /// without the dot) for the first entry or one that matches every file; the dialog
    /// proposes proposedPath and asks before an existing file is overwritten.
    virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                                const std::string& defaultExtension,
                                                const std::string& proposedPath) = 0;
};
