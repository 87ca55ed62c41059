#pragma once

#include <cstdint>

// Bounds on what the project reader and the text import take from a file. Without them a
// damaged or foreign file could make the program read gigabytes into memory or build a
// table it cannot hold; a file beyond them is refused with a message.
namespace FileLimits {

/// The largest text file the import reads: 256 MiB.
inline constexpr std::int64_t MAX_TEXT_FILE_BYTES = 256LL * 1024 * 1024;

/// The largest project file the reader reads: 64 MiB, room for a data table of
/// MAX_TABLE_CELLS doubles and its texts. The reader holds the whole file and its strings
/// in memory at once (a string list takes at most 8 bytes per byte of file).
inline constexpr std::int64_t MAX_PROJECT_FILE_BYTES = 64LL * 1024 * 1024;

/// The most grid cells, header rows and columns included, that a file may bring into a
/// table; an entry of a cell's drop-down list counts as a cell. A cell of the grid model
/// takes about 100 bytes before its text, so a table at the limit takes about half a
/// gigabyte. Cell counts are computed in 64 bits, where no product of two table extents
/// can overflow.
inline constexpr std::int64_t MAX_TABLE_CELLS = 5'000'000;

} // namespace FileLimits
