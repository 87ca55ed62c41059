#pragma once

#include "data/ImportOptions.h"
#include "numeric/DecimalSeparator.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

/// A delimited text file turned into rows of text cells; it knows nothing of the tables.
///
/// Characters. The file is read byte by byte; a carriage return followed by a line feed
/// is read as one line feed, and a UTF-8 byte-order mark at the start is dropped. Every delimiter
/// is an ASCII character, so splitting bytes is splitting characters whether the file is UTF-8 or
/// an 8-bit encoding. A file that is well-formed UTF-8 keeps its texts; any other file is taken as
/// Latin-1, every byte one character, and its fields are converted to UTF-8. NUL bytes are kept as
/// characters.
///
/// Records and fields. A record ends at a record delimiter (a vertical character whose
/// option is on) or at the end of the file; two delimiters in a row make an empty record,
/// and a file ending in a delimiter has no empty record after it. Within a record every tab
/// (when its option is on) and every vertical character that does not end the record (13,
/// 10, 11, 12) separates exactly one field, so two in a row enclose an empty field, a
/// leading one gives an empty first field and a trailing one an empty last field: an
/// empty field is how spreadsheets write a missing value. With the blank option, a run of
/// blanks separates once, blanks beside a tab or vertical character belong to it, and
/// blanks at the start and end of a record are ignored, as space-aligned columns need. An
/// empty record has no field.
///
/// Lines. Every line feed, carriage return and CR LF ends a line of the file, whatever
/// the record options; getLineOf names the line a record starts on.
///
/// The constructor counts (first pass), parse() fills the cells (second pass), so that the
/// cells are allocated once at their final size. After the last field of each row stands
/// END_OF_ROW, which no field can equal because a carriage return always separates fields.
class DelimitedTextFile {
public:
    enum class Status {
        Ready,
        CannotOpen,
        /// More than FileLimits::MAX_TEXT_FILE_BYTES, or a table beyond
        /// FileLimits::MAX_TABLE_CELLS.
        TooLarge,
        /// A read failed, or the file changed between the two passes.
        CannotRead,
    };

    static constexpr std::string_view END_OF_ROW = "\r";

    /// Opens the file and counts its records and fields. Unless the status is Ready
    /// afterwards, no cells are allocated and parse() does nothing.
    DelimitedTextFile(const std::string& path, const ImportOptions& options,
                      DecimalSeparator separator);
    /// The content of a file that was read already.
    struct Bytes {
        std::string content;
    };
    /// The same for bytes instead of a file; it cannot fail to open.
    DelimitedTextFile(Bytes bytes, const ImportOptions& options, DecimalSeparator separator);
    /// Not copied nor moved: the source points into the object.
    DelimitedTextFile(const DelimitedTextFile&) = delete;
    DelimitedTextFile& operator=(const DelimitedTextFile&) = delete;

    /// Fills the cells from the file (once) and converts the decimal separators: with the comma
    /// as the user's separator every "." becomes ",", otherwise every "," becomes "."
    /// (in every cell, names included). False, with the status CannotRead, when the file no
    /// longer splits into the counted records and fields.
    bool parse();

    Status getStatus() const { return status; }
    /// Why the file could not be opened, with the status CannotOpen.
    std::error_code getOpenError() const { return openError; }
    /// The number of records.
    int getRowCount() const { return rowCount; }
    /// The largest number of fields in a record.
    int getColumnCount() const { return columnCount; }
    /// The field of record row in column 0 … getColumnCount(); END_OF_ROW right after the
    /// record's last field, "" beyond it and outside the table.
    const std::string& cell(int row, int column) const;
    /// The line (1 …) of the file on which record row (0 … getRowCount() - 1) starts; known
    /// after parse().
    std::int64_t getLineOf(int row) const;

private:
    /// The next byte (0 … 255), or -1 at the end of the file or beyond the size limit.
    int readByte();
    /// The next character (0 … 255) with CR LF read as LF, or -1 at the end of the file
    /// or beyond the size limit.
    int readCharacter();
    /// line := the next record; false at the end of the file.
    bool readRecord();
    bool isRecordDelimiter(int character) const;
    bool isFieldDelimiter(int character) const;
    /// A blank while the blank option is on.
    bool isBlankDelimiter(int character) const;
    /// Calls visit with each field of the record text, in order.
    template <typename Visit>
    void forEachField(std::string_view text, Visit visit) const;
    int countFields(std::string_view text) const;
    /// Reads past a UTF-8 byte-order mark at the start of the file, else goes back to the
    /// start; CannotRead when the file cannot go back.
    void skipByteOrderMark();
    /// First pass: rowCount, columnCount and whether the file is UTF-8.
    void countRecords();
    /// Splits line into row currentRow; false when there are more records or fields than
    /// counted (the file changed since the first pass).
    bool splitRecord();
    void convertCells();
    /// Counts the records and fields of source and sizes the cells.
    void scan();
    std::size_t cellIndex(int row, int column) const;

    int rowCount = 0;
    int columnCount = 0;
    int currentRow = 0;
    bool decimalComma = false;
    ImportOptions delimiters;
    bool utf8 = true;
    Status status = Status::Ready;
    std::error_code openError;
    std::int64_t bytesRead = 0;
    /// Line ends read so far, and the line the record in `line` starts on.
    std::int64_t lineBreaks = 0;
    std::int64_t lineOfRecord = 1;
    /// The line of each record (second pass).
    std::vector<std::int64_t> recordLines;
    /// rowCount rows of columnCount + 1 cells, row after row.
    std::vector<std::string> cells;
    std::string line;
    std::ifstream file;
    std::stringbuf memory;
    /// The file's or the memory's buffer.
    std::streambuf* source = nullptr;
};
