#include "design/Combinations.h"

#include <cassert>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>

namespace {

constexpr std::int64_t INT32_LIMIT = INT32_MAX;

/// Number of combinations of the given levels: their product, 1 for an empty list, 0 when
/// a level is below 1 (such a variable has no level to combine). A count the int-indexed
/// matrices cannot hold is an allocation that cannot succeed, reported as std::bad_alloc.
std::int32_t combinationCount(const std::vector<int>& levels)
{
    std::int64_t count = 1;
    for (int level : levels) {
        if (level < 1)
            return 0;
        count *= level;
        if (count > INT32_LIMIT)
            throw std::bad_alloc();
    }
    return static_cast<std::int32_t>(count);
}

/// Fills one column of the odometer: the entry advances every `block` rows and wraps
/// from `levelCount` back to 1. Row 0 already holds 1.
void fillOdometerColumn(GeneralMatrix<int>& table, std::int32_t column, int levelCount,
                        std::int64_t block)
{
    for (std::int32_t r = 1; r < table.getRows(); ++r) {
        const int previous = table.get(r - 1, column);
        if (r % block != 0)
            table.set(r, column, previous);
        else
            table.set(r, column, previous == levelCount ? 1 : previous + 1);
    }
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// The leading decimal integer of `piece` (optional sign, then digits), clamped to the
/// int range; 0 when the piece does not start with a digit after the sign. The value is
/// accumulated in 64 bits and stops growing once it is beyond the int range, so no digit
/// string can overflow.
int leadingInteger(const std::string& piece)
{
    const bool hasSign = !piece.empty() && (piece.front() == '+' || piece.front() == '-');
    const bool negative = hasSign && piece.front() == '-';
    const std::int64_t bound = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t magnitude = 0;
    for (std::size_t position = hasSign ? 1 : 0; position < piece.size(); ++position) {
        if (!isDigit(piece[position]))
            break;
        if (magnitude <= bound)
            magnitude = magnitude * 10 + (piece[position] - '0');
    }
    if (magnitude > bound)
        magnitude = bound;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string withoutBlanks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != ' ')
            result.push_back(c);
    }
    return result;
}

} // namespace

GeneralMatrix<int> levelCombinations(const std::vector<int>& levels)
{
    const std::int32_t rows = combinationCount(levels);
    const auto cols = static_cast<std::int32_t>(levels.size());
    if (static_cast<std::int64_t>(rows) * cols > INT32_LIMIT)
        throw std::bad_alloc();

    GeneralMatrix<int> table(rows, cols);
    if (rows == 0)
        return table;
    for (std::int32_t j = 0; j < cols; ++j)
        table.set(0, j, 1);

    // The last variable turns fastest; each earlier one advances once per full turn of
    // all variables after it.
    std::int64_t block = 1;
    for (std::int32_t j = cols - 1; j >= 0; --j) {
        fillOdometerColumn(table, j, levels[static_cast<std::size_t>(j)], block);
        block *= levels[static_cast<std::size_t>(j)];
    }
    assert(block == rows);
    return table;
}

std::string combinationLabel(const std::vector<int>& levels)
{
    std::string label;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (i > 0)
            label += ", ";
        label += std::to_string(levels[i]);
    }
    return label;
}

std::vector<int> parseCombinationLabel(const std::string& label)
{
    const std::string text = withoutBlanks(label);
    std::vector<int> result;
    std::size_t start = 0;
    // A trailing "," ends the text without opening another piece: "1, 2," gives (1, 2).
    while (start < text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        result.push_back(leadingInteger(text.substr(start, end - start)));
        start = end + 1;
    }
    return result;
}
