#pragma once

#include <string>

/// The path with the second of two backslashes after a drive colon removed: "C:\\x.vlt"
/// becomes "C:\x.vlt". The desktop's file dialogs on Windows return a file in a drive's
/// root folder that way; any other path, and every path shorter than five characters,
/// comes back unchanged.
std::string repairDriveRootPath(std::string path);
