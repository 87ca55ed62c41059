#include "design/Design.h"

#include "design/Combinations.h"
#include "design/EffectFactors.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace {

constexpr std::int64_t INT32_LIMIT = INT32_MAX;

/// Position of column k's level vector among the combinations of `levels` (last variable
/// fastest, as levelCombinations counts), or -1 when an entry lies outside 1..L. Mixed-radix
/// arithmetic keeps this check independent of the enumeration it guards.
std::int64_t combinationIndex(const std::vector<int>& levels,
                              const GeneralMatrix<int>& columnLevels, std::int32_t k)
{
    std::int64_t index = 0;
    for (std::size_t j = 0; j < levels.size(); ++j) {
        const int level = columnLevels.get(static_cast<std::int32_t>(j), k);
        if (level < 1)
            return -1;
        if (level > levels[j])
            return -1;
        index = index * levels[j] + (level - 1);
    }
    return index;
}

/// Whether the labels name every within combination exactly once. The product of the
/// levels is formed in 64 bits and compared with the column count before anything of
/// that size is allocated, so absurd numbers of levels are rejected, not allocated.
bool namesEveryCombinationOnce(const std::vector<int>& withinLevels,
                               const GeneralMatrix<int>& columnLevels)
{
    std::int64_t combinations = 1;
    for (int level : withinLevels) {
        if (level < 1)
            return false;
        combinations *= level;
        if (combinations > INT32_LIMIT)
            return false;
    }
    // With at least one combination, a matching column count means at least one label,
    // so the label length can be compared.
    if (combinations != columnLevels.getCols())
        return false;
    if (columnLevels.getRows() != static_cast<std::int32_t>(withinLevels.size()))
        return false;

    std::vector<bool> named(static_cast<std::size_t>(combinations), false);
    for (std::int32_t k = 0; k < columnLevels.getCols(); ++k) {
        const std::int64_t index = combinationIndex(withinLevels, columnLevels, k);
        if (index < 0)
            return false;
        if (named[static_cast<std::size_t>(index)])
            return false;
        named[static_cast<std::size_t>(index)] = true;
    }
    return true;
}

/// Whether column ka of a equals column kb of b, entry by entry.
bool columnsEqual(const GeneralMatrix<int>& a, std::int32_t ka, const GeneralMatrix<int>& b,
                  std::int32_t kb)
{
    assert(a.getRows() == b.getRows());
    for (std::int32_t j = 0; j < a.getRows(); ++j) {
        if (a.get(j, ka) != b.get(j, kb))
            return false;
    }
    return true;
}

void copyRow(const RealMatrix& from, std::int32_t fromRow, RealMatrix& to, std::int32_t toRow)
{
    for (std::int32_t j = 0; j < from.getCols(); ++j)
        to.set(toRow, j, from.get(fromRow, j));
}

void copyColumn(const RealMatrix& from, std::int32_t fromColumn, RealMatrix& to,
                std::int32_t toColumn)
{
    for (std::int32_t i = 0; i < from.getRows(); ++i)
        to.set(i, toColumn, from.get(i, fromColumn));
}

} // namespace

Design::Design()
    : rawData(&lapack), X(&lapack), Y(&lapack), C(&lapack), M(&lapack), sortedData(&lapack),
      withinData(&lapack)
{
}

bool Design::build(const RealMatrix& newRawData, const std::vector<std::string>& newColumnNames,
                   const std::set<int>& newBetweenColumns,
                   const std::vector<std::string>& newWithinNames,
                   const std::vector<int>& newWithinLevels,
                   const GeneralMatrix<int>& newColumnLevels)
{
    // The reader hands over one name per column, valid between indices and one label per
    // remaining column; what the user can get wrong is checked and reported below.
    assert(newColumnNames.size() == static_cast<std::size_t>(newRawData.getCols()));
    assert(newWithinNames.size() == newWithinLevels.size());
    assert(newBetweenColumns.empty() || *newBetweenColumns.begin() >= 0);
    assert(newBetweenColumns.empty() || *newBetweenColumns.rbegin() < newRawData.getCols());
    assert(newColumnLevels.getCols() ==
           newRawData.getCols() - static_cast<std::int32_t>(newBetweenColumns.size()));

    if (newRawData.getRows() < 1)
        return false;
    if (!namesEveryCombinationOnce(newWithinLevels, newColumnLevels))
        return false;

    copyInputs(newRawData, newColumnNames, newBetweenColumns, newWithinNames, newWithinLevels,
               newColumnLevels);
    groups.clear();
    formGroups();
    enumerateCombinations();
    regroupParticipants();
    extractWithinData();
    arrangeWithinColumns();
    return true;
}

void Design::copyInputs(const RealMatrix& newRawData,
                        const std::vector<std::string>& newColumnNames,
                        const std::set<int>& newBetweenColumns,
                        const std::vector<std::string>& newWithinNames,
                        const std::vector<int>& newWithinLevels,
                        const GeneralMatrix<int>& newColumnLevels)
{
    rawData.copyFrom(newRawData);
    columnNames = newColumnNames;
    betweenColumns = newBetweenColumns;
    withinNames = newWithinNames;
    withinLevels = newWithinLevels;
    columnLevels.copyFrom(newColumnLevels);
    betweenCount = static_cast<std::int32_t>(betweenColumns.size());
    withinCount = static_cast<std::int32_t>(withinNames.size());
}

void Design::formGroups()
{
    // Without a "between" column every participant is in one implicit group, so that the
    // engine always sees at least one between variable and one group combination.
    if (betweenColumns.empty()) {
        betweenCount = 1;
        groups.push_back(std::make_unique<GroupVariable>("Dummy", rawData, -1));
        return;
    }
    for (int column : betweenColumns) {
        groups.push_back(std::make_unique<GroupVariable>(
            columnNames[static_cast<std::size_t>(column)], rawData, column));
    }
}

void Design::enumerateCombinations()
{
    betweenLevels.clear();
    for (const auto& group : groups)
        betweenLevels.push_back(group->getGroupCount());
    betweenCombinations = levelCombinations(betweenLevels);
    // One within combination per column, matching the column order of Y and the row
    // order of M.
    levelCombinations(withinLevels).transpose(withinCombinations);
}

bool Design::belongsToCombination(std::int32_t g, std::int32_t r) const
{
    if (betweenCombinations.getRows() < 2)
        return true;
    for (std::int32_t j = 0; j < betweenCount; ++j) {
        const GroupVariable& group = *groups[static_cast<std::size_t>(j)];
        if (!group.isInGroup(betweenCombinations.get(g, j), r))
            return false;
    }
    return true;
}

void Design::regroupParticipants()
{
    const std::int32_t rowCount = rawData.getRows();
    const std::int32_t combinationCount = betweenCombinations.getRows();
    // X has one column per group combination, which the codes in the data can make
    // larger than an int-indexed matrix holds.
    if (static_cast<std::int64_t>(rowCount) * combinationCount > INT32_LIMIT)
        throw std::bad_alloc();

    sortedData.resize(rowCount, rawData.getCols());
    groupStart.assign(static_cast<std::size_t>(combinationCount), -1);
    X.resize(rowCount, combinationCount);

    // Combinations outer, rows inner: each group keeps the table order of its rows.
    std::int32_t next = 0;
    for (std::int32_t g = 0; g < combinationCount; ++g) {
        for (std::int32_t r = 0; r < rowCount; ++r) {
            if (!belongsToCombination(g, r))
                continue;
            assert(next < rowCount);
            copyRow(rawData, r, sortedData, next);
            if (groupStart[static_cast<std::size_t>(g)] == -1)
                groupStart[static_cast<std::size_t>(g)] = next;
            X.set(next, g, 1.0);
            ++next;
        }
    }
    // Groups formed from the data's own codes cover every row exactly once.
    assert(next == rowCount);
}

void Design::extractWithinData()
{
    const std::int32_t columnCount = sortedData.getCols();
    withinData.resize(sortedData.getRows(),
                      columnCount - static_cast<std::int32_t>(betweenColumns.size()));
    std::int32_t next = 0;
    for (std::int32_t k = 0; k < columnCount; ++k) {
        if (betweenColumns.count(k) == 0)
            copyColumn(sortedData, k, withinData, next++);
    }
    assert(next == withinData.getCols());
}

void Design::arrangeWithinColumns()
{
    const std::int32_t combinationCount = withinCombinations.getCols();
    Y.resize(withinData.getRows(), combinationCount);
    std::int32_t next = 0;
    for (std::int32_t c = 0; c < combinationCount; ++c) {
        for (std::int32_t k = 0; k < withinData.getCols(); ++k) {
            if (!columnsEqual(columnLevels, k, withinCombinations, c))
                continue;
            assert(next < combinationCount);
            copyColumn(withinData, k, Y, next++);
        }
    }
    // build admitted only labels that name each combination once.
    assert(next == combinationCount);
}

void Design::setEffect(const std::vector<int>& betweenFlags, const std::vector<int>& withinFlags)
{
    assert(betweenCount >= 1);
    effectBetween = betweenFlags.empty() ? std::vector<int>{1} : betweenFlags;
    effectWithin = withinFlags;

    effectMatrix(betweenLevels, effectBetween, C);
    // M maps the P within cells to the t transformed variables, so it is the transpose of
    // the product whose rows are the contrasts.
    RealMatrix withinFactors(&lapack);
    effectMatrix(withinLevels, effectWithin, withinFactors);
    withinFactors.transpose(M);
}

void Design::effectMatrix(const std::vector<int>& levels, const std::vector<int>& flags,
                          RealMatrix& out)
{
    assert(levels.size() == flags.size());
    out.resize(1, 1);
    out.set(0, 0, 1.0);
    // The first variable is the left factor, so the columns of the product run through
    // the cells in levelCombinations order (last variable fastest).
    for (std::size_t i = 0; i < levels.size(); ++i) {
        assert(flags[i] == 0 || flags[i] == 1);
        assert(levels[i] >= 1);
        const bool contrasted = flags[i] == 1 && levels[i] > 1;
        const RealMatrix factor = contrasted ? orthonormalContrasts(levels[i], &lapack)
                                             : averagingRow(levels[i], &lapack);
        out.kroneckerInPlace(factor);
    }
}
