#include "app/UserManual.h"

std::string userManualPath(const std::string& executableFolder)
{
    return executableFolder + "/" + USER_MANUAL_FILE;
}

bool openUserManual(const std::string& executableFolder, DocumentOpener& opener,
                    MessageSink& messages)
{
    const std::string path = userManualPath(executableFolder);
    if (opener.open(path))
        return true;
    messages.showMessage("Error", "The user manual " + path + " cannot be opened.",
                         MessageIcon::Error);
    return false;
}
