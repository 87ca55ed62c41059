#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Clipboard text cut into lines of fields, as the grids paste it. A line ends at a line
/// feed, a carriage return, or a carriage return followed by a line feed; fields are
/// separated by tabs only, so that a decimal comma stays inside its number; each field is
/// stripped of leading and trailing white space. A line end at the very end of the text
/// opens no further line, and a tab at the very end of a line no further field, so that
/// text copied from a spreadsheet pastes no empty cells beyond its block.
class ClipboardText {
public:
    explicit ClipboardText(std::string_view text);

    bool isEmpty() const { return lines.empty(); }
    int lineCount() const { return static_cast<int>(lines.size()); }
    /// The number of fields of the widest line.
    int columnCount() const;
    /// The fields of line i; an empty line has one empty field. i must be below lineCount().
    const std::vector<std::string>& line(int i) const;

private:
    std::vector<std::vector<std::string>> lines;
};
