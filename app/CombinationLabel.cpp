#include "app/CombinationLabel.h"

#include <cstddef>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// The level that one entry (blanks removed) names, if it is a decimal number from 1 to
/// levelCount. Digits beyond levelCount end the reading, so no entry can overflow.
std::optional<int> levelOf(const std::string& entry, int levelCount)
{
    if (entry.empty())
        return std::nullopt;
    long long level = 0;
    for (char c : entry) {
        if (!isDigit(c))
            return std::nullopt;
        level = level * 10 + (c - '0');
        if (level > levelCount)
            return std::nullopt;
    }
    if (level < 1)
        return std::nullopt;
    return static_cast<int>(level);
}

/// The text split at every ",", blanks removed; "1,2," gives "1", "2" and "".
std::vector<std::string> entriesOf(const std::string& label)
{
    std::vector<std::string> entries(1);
    for (char c : label) {
        if (c == ',')
            entries.emplace_back();
        else if (c != ' ')
            entries.back().push_back(c);
    }
    return entries;
}

} // namespace

std::optional<std::vector<int>> denotedCombination(const std::string& label,
                                                   const std::vector<int>& withinLevels)
{
    const std::vector<std::string> entries = entriesOf(label);
    if (entries.size() != withinLevels.size())
        return std::nullopt;
    std::vector<int> levels;
    for (std::size_t j = 0; j < entries.size(); ++j) {
        const std::optional<int> level = levelOf(entries[j], withinLevels[j]);
        if (!level)
            return std::nullopt;
        levels.push_back(*level);
    }
    return levels;
}
