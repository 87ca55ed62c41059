#include "app/CellStatistics.h"

#include "numeric/NumberText.h"
#include "stats/CellDescriptives.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

std::string joinLevels(const std::vector<int>& levels)
{
    std::string text;
    for (std::size_t i = 0; i < levels.size(); ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(levels[i]);
    return text;
}

std::vector<int> groupLevels(const Design& design, std::int32_t g)
{
    std::vector<int> levels;
    for (std::int32_t j = 0; j < design.getBetweenCount(); ++j)
        levels.push_back(design.getBetweenCombinations().get(g, j));
    return levels;
}

std::vector<int> withinLevels(const Design& design, std::int32_t c)
{
    // The Design holds one within combination per column.
    std::vector<int> levels;
    for (std::int32_t v = 0; v < design.getWithinCount(); ++v)
        levels.push_back(design.getWithinCombinations().get(v, c));
    return levels;
}

/// The rows of the text table, the header first.
std::vector<std::vector<std::string>> textRows(const std::vector<CellStatistics>& cells,
                                               DecimalSeparator separator, bool withGroups)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"within", "n", "mean", "SD"});
    if (withGroups)
        rows.back().insert(rows.back().begin(), "group");
    for (const CellStatistics& cell : cells) {
        rows.push_back({cell.combination, std::to_string(cell.n),
                        formatNumber(cell.mean, "%.4f", separator),
                        std::isnan(cell.sd) ? "-" : formatNumber(cell.sd, "%.4f", separator)});
        if (withGroups)
            rows.back().insert(rows.back().begin(), joinLevels(cell.group));
    }
    return rows;
}

} // namespace

std::vector<CellStatistics> cellStatistics(const Design& design)
{
    std::vector<CellStatistics> cells;
    for (const CellDescription& cell : describeCells(design.getY(), design.getX())) {
        cells.push_back({groupLevels(design, cell.group),
                         joinLevels(withinLevels(design, cell.combination)), cell.n, cell.mean,
                         cell.sd});
    }
    return cells;
}

std::string formatCellStatisticsText(const std::vector<CellStatistics>& cells,
                                     DecimalSeparator separator)
{
    const bool withGroups = !cells.empty() && !cells.front().group.empty();
    const std::vector<std::vector<std::string>> rows = textRows(cells, separator, withGroups);
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string padding(widths[c] - row[c].size(), ' ');
            // The labels left-aligned, the numbers right-aligned.
            const bool label = c + 3 < row.size();
            line += (c == 0 ? "" : "  ") + (label ? row[c] + padding : padding + row[c]);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + '\n';
    }
    return text;
}
