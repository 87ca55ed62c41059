#pragma once

#include "platform/DocumentOpener.h"
#include "platform/MessageSink.h"

#include <string>
#include <vector>

/// The file name of the user manual.
inline constexpr const char* USER_MANUAL_FILE = "Tamsel User Manual.pdf";

/// Where the manual may lie, in the order it is looked for: beside the executable (a build
/// tree), then in the documentation folder of the prefix the executable was installed into
/// (<prefix>/bin/tamsel finds <prefix>/share/doc/tamsel/). The folder is given without a
/// trailing separator.
std::vector<std::string> userManualPaths(const std::string& executableFolder);

/// "Tamsel user manual": opens the first of userManualPaths that exists with the desktop's
/// viewer. When none exists, or the desktop cannot open it (no viewer is installed), the
/// user is told where it was looked for, rather than nothing happening; returns whether it
/// opened.
bool openUserManual(const std::string& executableFolder, DocumentOpener& opener,
                    MessageSink& messages);
