#include "app/UserManual.h"

#include <filesystem>
#include <system_error>

std::vector<std::string> userManualPaths(const std::string& executableFolder)
{
    return {executableFolder + "/" + USER_MANUAL_FILE,
            executableFolder + "/../share/doc/tamsel/" + USER_MANUAL_FILE};
}

bool openUserManual(const std::string& executableFolder, DocumentOpener& opener,
                    MessageSink& messages)
{
    const std::vector<std::string> paths = userManualPaths(executableFolder);
    for (const std::string& path : paths) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            continue;
        if (opener.open(path))
            return true;
        messages.showMessage("Error", "The user manual " + path + " cannot be opened.",
                             MessageIcon::Error);
        return false;
    }
    messages.showMessage("Error",
                         "The user manual cannot be found. It was looked for as " + paths[0] +
                             " and as " + paths[1] + ".",
                         MessageIcon::Error);
    return false;
}
