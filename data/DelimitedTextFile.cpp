#include "data/DelimitedTextFile.h"

#include "data/FileAccess.h"
#include "data/FileLimits.h"
#include "data/UnicodeText.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <ios>
#include <string>
#include <utility>

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
    source = file.rdbuf();
    scan();
}

DelimitedTextFile::DelimitedTextFile(Bytes bytes, const ImportOptions& options,
                                     DecimalSeparator separator)
    : decimalComma(separator.isComma()), delimiters(options),
      memory(std::move(bytes.content), std::ios::in)
{
    source = &memory;
    scan();
}

void DelimitedTextFile::scan()
{
    skipByteOrderMark();
    countRecords();
    if (status != Status::Ready)
        return;
    cells.resize(static_cast<std::size_t>(rowCount) * static_cast<std::size_t>(columnCount + 1));
    recordLines.resize(static_cast<std::size_t>(rowCount));
    bytesRead = 0;
    lineBreaks = 0;
    if (source->pubseekpos(0, std::ios::in) != std::streampos(0))
        status = Status::CannotRead;
    skipByteOrderMark();
}

void DelimitedTextFile::skipByteOrderMark()
{
    // Editors on some systems start UTF-8 files with the mark; kept, it would become part
    // of the first name, which then looks right but matches no name the user types.
    constexpr std::string_view MARK = "\xEF\xBB\xBF";
    std::array<char, MARK.size()> start{};
    const std::streamsize count = source->sgetn(start.data(), start.size());
    if (std::string_view(start.data(), static_cast<std::size_t>(count)) == MARK)
        return;
    if (source->pubseekpos(0, std::ios::in) != std::streampos(0))
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

std::int64_t DelimitedTextFile::getLineOf(int row) const
{
    assert(row >= 0 && row < rowCount);
    return recordLines[static_cast<std::size_t>(row)];
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
    const auto character = source->sbumpc();
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
    int character = readByte();
    if (character == '\r' && source->sgetc() == '\n')
        character = readByte();
    if (character == '\r' || character == '\n')
        ++lineBreaks;
    return character;
}

bool DelimitedTextFile::readRecord()
{
    line.clear();
    lineOfRecord = lineBreaks + 1;
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

bool DelimitedTextFile::isBlankDelimiter(int character) const
{
    return character == ' ' && delimiters.fieldSpace;
}

template <typename Visit>
void DelimitedTextFile::forEachField(std::string_view text, Visit visit) const
{
    const auto isBlank = [this](char byte) { return isBlankDelimiter(toCharacter(byte)); };
    const auto isSingle = [this](char byte) {
        return isFieldDelimiter(toCharacter(byte)) && !isBlankDelimiter(toCharacter(byte));
    };
    // Blanks around the record belong to no field: space-aligned columns are often indented.
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return;
    std::size_t position = 0;
    while (true) {
        const std::size_t start = position;
        while (position < text.size() && !isSingle(text[position]) && !isBlank(text[position]))
            ++position;
        visit(text.substr(start, position - start));
        if (position == text.size())
            return;
        // One separator: a run of blanks, or one tab or vertical character with the blanks
        // around it. A delimiter at the end of the record leaves an empty last field.
        while (position < text.size() && isBlank(text[position]))
            ++position;
        if (position < text.size() && isSingle(text[position])) {
            ++position;
            while (position < text.size() && isBlank(text[position]))
                ++position;
        }
    }
}

int DelimitedTextFile::countFields(std::string_view text) const
{
    int count = 0;
    forEachField(text, [&count](std::string_view) { ++count; });
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
    bool fits = true;
    forEachField(line, [&](std::string_view field) {
        if (column >= columnCount) {
            fits = false;
            return;
        }
        cells[cellIndex(currentRow, column)].assign(field);
        ++column;
    });
    if (!fits)
        return false;
    // column <= columnCount: the marker fits into the row's extra cell at the latest.
    cells[cellIndex(currentRow, column)] = std::string(END_OF_ROW);
    recordLines[static_cast<std::size_t>(currentRow)] = lineOfRecord;
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
