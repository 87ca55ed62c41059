#include "data/DelimitedTextFile.h"

#include "data/FileAccess.h"
#include "data/FileLimits.h"
#include "data/UnicodeText.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <ios>
#include <string>

namespace {

constexpr int END_OF_FILE = -1;

int toCharacter(char byte)
{
    return static_cast<unsigned char>(byte);
}

} // namespace

DelimitedTextFile::DelimitedTextFile(const std::string& path, const ImportOptions& options,
                                     DecimalSeparator separator)
    : decimalComma(separator.isComma()), delimiters(options)
{
    openError = openForReading(path, file);
    if (openError) {
        status = Status::CannotOpen;
        return;
    }
    skipByteOrderMark();
    countRecords();
    if (status != Status::Ready)
        return;
    cells.resize(static_cast<std::size_t>(rowCount) * static_cast<std::size_t>(columnCount + 1));
    bytesRead = 0;
    if (file.rdbuf()->pubseekpos(0, std::ios::in) != std::streampos(0))
        status = Status::CannotRead;
    skipByteOrderMark();
}

void DelimitedTextFile::skipByteOrderMark()
{
    // Editors on some systems start UTF-8 files with the mark; kept, it would become part
    // of the first name, which then looks right but matches no name the user types.
    constexpr std::string_view MARK = "\xEF\xBB\xBF";
    std::array<char, MARK.size()> start{};
    const std::streamsize count = file.rdbuf()->sgetn(start.data(), start.size());
    if (std::string_view(start.data(), static_cast<std::size_t>(count)) == MARK)
        return;
    if (file.rdbuf()->pubseekpos(0, std::ios::in) != std::streampos(0))
        status = Status::CannotRead;
}

bool DelimitedTextFile::parse()
{
    if (status != Status::Ready)
        return false;
    currentRow = 0;
    while (readRecord()) {
        if (!splitRecord()) {
            status = Status::CannotRead;
            return false;
        }
    }
    if (status == Status::Ready && currentRow != rowCount)
        status = Status::CannotRead;
    if (status != Status::Ready)
        return false;
    convertCells();
    return true;
}

const std::string& DelimitedTextFile::cell(int row, int column) const
{
    static const std::string none;
    // The cells exist whenever rowCount is above 0.
    if (row < 0 || row >= rowCount)
        return none;
    if (column < 0 || column > columnCount)
        return none;
    return cells[cellIndex(row, column)];
}

std::size_t DelimitedTextFile::cellIndex(int row, int column) const
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columnCount + 1) +
           static_cast<std::size_t>(column);
}

int DelimitedTextFile::readByte()
{
    if (status != Status::Ready)
        return END_OF_FILE;
    const auto character = file.rdbuf()->sbumpc();
    if (character == std::char_traits<char>::eof())
        return END_OF_FILE;
    if (++bytesRead > FileLimits::MAX_TEXT_FILE_BYTES) {
        status = Status::TooLarge;
        return END_OF_FILE;
    }
    return character;
}

int DelimitedTextFile::readCharacter()
{
    const int character = readByte();
    if (character == '\r' && file.rdbuf()->sgetc() == '\n')
        return readByte();
    return character;
}

bool DelimitedTextFile::readRecord()
{
    line.clear();
    int character = readCharacter();
    if (character == END_OF_FILE)
        return false;
    while (!isRecordDelimiter(character)) {
        line.push_back(static_cast<char>(character));
        character = readCharacter();
        if (character == END_OF_FILE)
            return true;
    }
    return true;
}

bool DelimitedTextFile::isRecordDelimiter(int character) const
{
    switch (character) {
    case '\r': return delimiters.recordCR;
    case '\n': return delimiters.recordLF;
    case '\v': return delimiters.recordVT;
    case '\f': return delimiters.recordFF;
    default: return false;
    }
}

bool DelimitedTextFile::isFieldDelimiter(int character) const
{
    switch (character) {
    case '\r':
    case '\n':
    case '\v':
    case '\f': return true;
    case '\t': return delimiters.fieldTab;
    case ' ': return delimiters.fieldSpace;
    default: return false;
    }
}

int DelimitedTextFile::countFields(std::string_view text) const
{
    int count = 0;
    bool inField = false;
    for (const char byte : text) {
        const bool delimiter = isFieldDelimiter(toCharacter(byte));
        if (!delimiter && !inField)
            ++count;
        inField = !delimiter;
    }
    if (!text.empty() && isFieldDelimiter(toCharacter(text.back())))
        ++count;
    return count;
}

void DelimitedTextFile::countRecords()
{
    // 64 bits: a file of MAX_TEXT_FILE_BYTES line feeds has that many records.
    std::int64_t records = 0;
    int widest = 0;
    while (readRecord()) {
        ++records;
        widest = std::max(widest, countFields(line));
        utf8 = utf8 && isValidUtf8(line);
    }
    if (status != Status::Ready)
        return;
    // The data table built from the file has three header rows and one header column.
    if ((records + 3) * (widest + std::int64_t{1}) > FileLimits::MAX_TABLE_CELLS) {
        status = Status::TooLarge;
        return;
    }
    rowCount = static_cast<int>(records);
    columnCount = widest;
}

bool DelimitedTextFile::splitRecord()
{
    if (currentRow >= rowCount)
        return false;
    int column = 0;
    std::size_t position = 0;
    while (position < line.size()) {
        while (position < line.size() && isFieldDelimiter(toCharacter(line[position])))
            ++position;
        // Trailing delimiters reach the end here and still make one empty field.
        if (column >= columnCount)
            return false;
        const std::size_t start = position;
        while (position < line.size() && !isFieldDelimiter(toCharacter(line[position])))
            ++position;
        cells[cellIndex(currentRow, column)].assign(line, start, position - start);
        ++column;
    }
    // column <= columnCount: the marker fits into the row's extra cell at the latest.
    cells[cellIndex(currentRow, column)] = std::string(END_OF_ROW);
    ++currentRow;
    return true;
}

void DelimitedTextFile::convertCells()
{
    const char foreign = decimalComma ? '.' : ',';
    const char own = decimalComma ? ',' : '.';
    for (std::string& text : cells) {
        if (!utf8)
            text = latin1ToUtf8(text);
        std::replace(text.begin(), text.end(), foreign, own);
    }
}
