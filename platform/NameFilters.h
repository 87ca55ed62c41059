#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nameFiltersDetail {

inline std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// The patterns of one entry, separated by ';' in the program's form, joined by blanks.
inline std::string joinedPatterns(std::string_view patterns)
{
    std::string joined;
    while (!patterns.empty()) {
        const std::size_t end = patterns.find(';');
        const std::string_view pattern = trimmed(patterns.substr(0, end));
        patterns = end == std::string_view::npos ? std::string_view() : patterns.substr(end + 1);
        if (pattern.empty())
            continue;
        if (!joined.empty())
            joined += ' ';
        // "*.*" matches every file in the program's form, names without a dot included; the
        // desktop dialogs would take it literally and hide such files.
        joined += pattern == "*.*" ? std::string_view("*") : pattern;
    }
    return joined.empty() ? std::string("*") : joined;
}

/// The description without a pattern list in parentheses at its end, which the desktop
/// dialogs would read as the patterns.
inline std::string_view bareDescription(std::string_view description)
{
    description = trimmed(description);
    if (description.empty() || description.back() != ')')
        return description;
    const std::size_t open = description.rfind('(');
    if (open == std::string_view::npos)
        return description;
    return trimmed(description.substr(0, open));
}

} // namespace nameFiltersDetail

/// Converts a filter list of the program's form, "Name (*.ext)|*.ext|All Files (*.*)|*.*||"
/// (description and patterns alternating, separated by '|', several patterns of one entry
/// by ';'), into the name filters of the desktop's file dialogs, one "Name (patterns)" per
/// entry with the patterns separated by blanks. The patterns come from the pattern field,
/// not from the description, as in the program's form. An entry without a description
/// (the "||" that ends the list) ends the conversion; a description with an empty pattern
/// field matches every file, one without any pattern field is dropped.
inline std::vector<std::string> toNameFilters(std::string_view filter)
{
    using namespace nameFiltersDetail;
    std::vector<std::string> nameFilters;
    while (true) {
        const std::size_t descriptionEnd = filter.find('|');
        if (descriptionEnd == std::string_view::npos)
            return nameFilters;
        const std::string_view description = filter.substr(0, descriptionEnd);
        if (trimmed(description).empty())
            return nameFilters;
        filter = filter.substr(descriptionEnd + 1);
        const std::size_t patternsEnd = filter.find('|');
        const std::string_view patterns = filter.substr(0, patternsEnd);
        std::string entry(bareDescription(description));
        entry += " (" + joinedPatterns(patterns) + ")";
        nameFilters.push_back(std::move(entry));
        if (patternsEnd == std::string_view::npos)
            return nameFilters;
        filter = filter.substr(patternsEnd + 1);
    }
}
