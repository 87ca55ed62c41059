#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

// The file system as the project file and the text import use it. Paths are UTF-8, as
// the file dialogs and the command line hand them over; nothing here throws but
// std::bad_alloc.

/// The path of a UTF-8 path text, for the standard streams and std::filesystem.
std::filesystem::path toPath(const std::string& utf8Path);

/// Opens a regular file (or anything but a directory) for reading in binary mode; the
/// stream is not open when the file cannot be opened.
void openForReading(const std::string& utf8Path, std::ifstream& file);

enum class FileReadStatus { Ok, CannotOpen, TooLarge };

/// bytes := the whole content of the file; TooLarge, and bytes empty, when it holds more
/// than maxBytes; CannotOpen when it cannot be opened or a read fails.
FileReadStatus readWholeFile(const std::string& utf8Path, std::int64_t maxBytes,
                             std::vector<std::uint8_t>& bytes);

/// The file beside utf8Path into which replaceFile writes first: the same name with
/// ".saving" appended.
std::string temporaryPathFor(const std::string& utf8Path);

/// Writes bytes to temporaryPathFor(utf8Path), then renames it over utf8Path, so that a
/// failure at any step leaves a previous file at utf8Path as it was. On failure the
/// temporary file is removed and the result is false.
bool replaceFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes);
