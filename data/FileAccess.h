#pragma once

#include "platform/MessageSink.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

// The file system as the project file and the text import use it. Paths are UTF-8, as
// the file dialogs and the command line hand them over; nothing here throws but
// std::bad_alloc. A failure comes back as an error code whose message() is the operating
// system's reason ("No such file or directory"), for the user's message.

/// The path of a UTF-8 path text, for the standard streams and std::filesystem.
std::filesystem::path toPath(const std::string& utf8Path);

/// Opens a regular file (or anything but a directory) for reading in binary mode. The
/// stream is not open, and the result says why, when the file cannot be opened.
std::error_code openForReading(const std::string& utf8Path, std::ifstream& file);

enum class FileReadStatus { Ok, CannotOpen, TooLarge };

/// bytes := the whole content of the file; TooLarge, and bytes empty, when it holds more
/// than maxBytes; CannotOpen, with the reason in error, when it cannot be opened or a read
/// fails.
FileReadStatus readWholeFile(const std::string& utf8Path, std::int64_t maxBytes,
                             std::vector<std::uint8_t>& bytes, std::error_code& error);
/// readWholeFile for a file the user named, to be "opened" or "imported" (done): nothing
/// after the message "The file PATH cannot be opened: REASON." or "The file PATH is too
/// large to be DONE." (title "Error") through messages.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& utf8Path,
                                                       std::int64_t maxBytes,
                                                       const std::string& done,
                                                       MessageSink& messages);

/// The file beside target into which replaceFile writes first: the same name with
/// ".saving" appended.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target);

/// Writes bytes to the file at utf8Path so that a failure at any step leaves a previous
/// file there as it was, and returns the reason of a failure (an empty code on success).
/// A symbolic link is followed to the file it names, which is what gets replaced. An
/// existing target must be a regular file and keeps its permission bits. The bytes go to
/// temporaryPathFor(target), are flushed to the disk, and the temporary file is renamed
/// over the target, whose folder is then flushed too, so that after a crash the target
/// holds either the old or the new content. A target with further hard links is
/// rewritten in place instead, so that every name of it sees the new content; the
/// temporary file is then kept as a complete copy should that rewrite fail.
std::error_code replaceFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes);

/// The error replaceFile returns for a target that exists but is no regular file (a
/// folder, a device, a pipe): its message() is "not a regular file".
std::error_code notRegularFileError();
