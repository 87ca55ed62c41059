#include "grid/ClipboardText.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

namespace {

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string stripped(std::string_view field)
{
    std::size_t first = 0;
    std::size_t end = field.size();
    while (first < end && isWhiteSpace(field[first]))
        ++first;
    while (end > first && isWhiteSpace(field[end - 1]))
        --end;
    return std::string(field.substr(first, end - first));
}

std::vector<std::string> splitFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(stripped(line.substr(start)));
            return fields;
        }
        fields.push_back(stripped(line.substr(start, tab - start)));
        start = tab + 1;
        if (start == line.size())
            return fields;
    }
}

} // namespace

ClipboardText::ClipboardText(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(splitFields(text.substr(start)));
            return;
        }
        lines.push_back(splitFields(text.substr(start, end - start)));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
}

int ClipboardText::columnCount() const
{
    std::size_t widest = 0;
    for (const std::vector<std::string>& fields : lines)
        widest = std::max(widest, fields.size());
    return static_cast<int>(widest);
}

const std::vector<std::string>& ClipboardText::line(int i) const
{
    assert(i >= 0 && i < lineCount());
    return lines[static_cast<std::size_t>(i)];
}
