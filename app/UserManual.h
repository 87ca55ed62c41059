#pragma once

#include "platform/DocumentOpener.h"
#include "platform/MessageSink.h"

#include <string>

/// The file name of the user manual, which lies beside the program's executable.
inline constexpr const char* USER_MANUAL_FILE = "Tamsel User Manual.pdf";

/// The manual's path in the folder of the executable (given without a trailing separator).
std::string userManualPath(const std::string& executableFolder);

/// "Tamsel user manual": opens the manual with the desktop's viewer. When the desktop
/// cannot open it (the file is missing or no viewer is installed) the user is told where
/// it was looked for, rather than nothing happening; returns whether it opened.
bool openUserManual(const std::string& executableFolder, DocumentOpener& opener,
                    MessageSink& messages);
