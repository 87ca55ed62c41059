#include "stats/Sample.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <utility>

namespace {

/// Row fromRow of from into row toRow of to; both have the same number of columns.
void copyRow(const RealMatrix& from, std::int32_t fromRow, RealMatrix& to, std::int32_t toRow)
{
    for (std::int32_t j = 0; j < from.getCols(); ++j) {
        to.set(toRow, j, from.get(fromRow, j));
    }
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b)
{
    return a > std::numeric_limits<std::int64_t>::max() - b
               ? std::numeric_limits<std::int64_t>::max()
               : a + b;
}

/// a·b for a, b >= 0.
std::int64_t saturatingProduct(std::int64_t a, std::int64_t b)
{
    if (a == 0 || b == 0) {
        return 0;
    }
    return a > std::numeric_limits<std::int64_t>::max() / b
               ? std::numeric_limits<std::int64_t>::max()
               : a * b;
}

} // namespace

Sample::Sample(LapackWorkspace* workspace)
    : Y(workspace), X(workspace), baseY(workspace), baseX(workspace), regroupedY(workspace),
      regroupedX(workspace)
{
}

void Sample::setData(const YMatrix& newY, const RealMatrix& newX,
                     const std::vector<int>& newGroupStart)
{
    // The design's element pointers point into the design's storage, not ours.
    Y.copyFrom(newY);
    Y.releasePointers();
    X.copyFrom(newX);
    groupStart = newGroupStart;
}

std::int32_t Sample::getGroupEnd(std::int32_t g) const
{
    const auto next = static_cast<std::size_t>(g) + 1;
    return next < groupStart.size() ? groupStart[next] : Y.getRows();
}

bool Sample::hasGroupWithoutParticipants() const
{
    if (groupStart.empty()) {
        return true;
    }
    // A group combination without participants has no start (-1); the size of every group
    // can only be taken once every start is known.
    if (std::any_of(groupStart.begin(), groupStart.end(), [](int start) { return start < 0; })) {
        return true;
    }
    for (std::int32_t g = 0; g < static_cast<std::int32_t>(groupStart.size()); ++g) {
        if (getGroupSize(g) < 1) {
            return true;
        }
    }
    return false;
}

std::int32_t Sample::getSmallestGroupSize() const
{
    std::int32_t smallest = -1;
    for (std::int32_t g = 0; g < static_cast<std::int32_t>(groupStart.size()); ++g) {
        smallest = smallest < 0 ? getGroupSize(g) : std::min(smallest, getGroupSize(g));
    }
    return smallest;
}

RunSize Sample::estimateRunSize(const SimulationParameters& parameters, bool drawsSummaries) const
{
    const auto groups = static_cast<std::int64_t>(groupStart.size());
    const std::int64_t cells = Y.getCols();
    const std::int64_t added = saturatingProduct(parameters.maxAdditionalInspections,
                                                 parameters.participantsPerInspection);
    // The first look has participantsPerGroup in every group, or the observed groups; every
    // further look adds the same number to each group.
    RunSize size;
    std::int64_t largestGroup = 0;
    std::int64_t observedLargest = 0;
    std::int64_t observed = 0;
    for (std::int32_t g = 0; g < static_cast<std::int32_t>(groups); ++g) {
        const std::int64_t first = parameters.replaceOriginalMatrix != 0
                                       ? parameters.participantsPerGroup
                                       : getGroupSize(g);
        const std::int64_t last = saturatingAdd(first, added);
        largestGroup = std::max(largestGroup, last);
        size.participants = saturatingAdd(size.participants, last);
        observedLargest = std::max<std::int64_t>(observedLargest, getGroupSize(g));
        observed += getGroupSize(g);
    }
    // Summaries are drawn beside the observed rows, which stay as they are.
    const std::int64_t rows = drawsSummaries ? observed : size.participants;
    const std::int64_t longestGroup = drawsSummaries ? observedLargest : largestGroup;
    const std::int64_t yEntries = saturatingProduct(rows, cells);
    const std::int64_t xEntries = saturatingProduct(rows, groups);
    // The sample view holds a pointer for every place of the longest group in every column.
    const std::int64_t viewEntries =
        saturatingProduct(longestGroup, saturatingProduct(groups, cells));
    // The generator's data correlations span every view column.
    const std::int64_t viewColumns = saturatingProduct(groups, cells);
    const std::int64_t correlationEntries =
        cells > 1 ? saturatingProduct(viewColumns, viewColumns) : 0;
    size.largestMatrix = std::max({yEntries, xEntries, viewEntries, correlationEntries});
    // Y, the regrouped Y, the base of Y and the residuals; X, the regrouped X and its base;
    // the view; the data correlations. Then the matrices of the model and the population:
    // about 13 of P x P (S and its base, the population's correlations, the generator's
    // copy, factor and working copy, H, E, E's factor R, R⁻ᵀ H R⁻¹, Mᵀ S M and the workspace's
    // copies of the symmetric routines), 3 of G x G and 6 of G x P. The LAPACK workspace grows to
    // the largest call, whose square copy is among these; its other 67 doubles per row are left
    // out. The summary sampler adds 6 of P x P (its factor and the row-major copy, the
    // current and the base SSCP, the deviates and the factor of a Wishart draw) and 4 of
    // G x P (the population's means and SDs, the current and the base means).
    const std::int64_t squares = drawsSummaries ? 19 : 13;
    const std::int64_t groupRows = drawsSummaries ? 10 : 6;
    std::int64_t entries = saturatingProduct(4, yEntries);
    entries = saturatingAdd(entries, saturatingProduct(3, xEntries));
    entries = saturatingAdd(entries, viewEntries);
    entries = saturatingAdd(entries, correlationEntries);
    entries = saturatingAdd(entries, saturatingProduct(squares, saturatingProduct(cells, cells)));
    entries = saturatingAdd(entries, saturatingProduct(3, saturatingProduct(groups, groups)));
    entries = saturatingAdd(entries, saturatingProduct(groupRows, viewColumns));
    size.bytes = saturatingProduct(entries, static_cast<std::int64_t>(sizeof(double)));
    return size;
}

void Sample::buildSampleView(std::int32_t lastRows)
{
    const auto groups = static_cast<std::int32_t>(groupStart.size());
    const std::int32_t cells = Y.getCols();
    std::int32_t viewRows = 0;
    for (std::int32_t g = 0; g < groups; ++g) {
        assert(lastRows <= getGroupSize(g));
        viewRows = std::max(viewRows, lastRows < 0 ? getGroupSize(g) : lastRows);
    }
    Y.createPointers(viewRows, groups * cells);
    for (std::int32_t j = 0; j < groups * cells; ++j) {
        const std::int32_t g = j % groups;
        const std::int32_t c = j / groups;
        const std::int32_t end = getGroupEnd(g);
        const std::int32_t first =
            lastRows < 0 ? groupStart[static_cast<std::size_t>(g)] : end - lastRows;
        for (std::int32_t r = first; r < end; ++r) {
            Y.setPointer(r - first, j, &Y.at(r, c));
        }
    }
}

void Sample::setGroupSize(std::int32_t size)
{
    assert(size >= 0);
    resizeGroups(std::vector<int>(groupStart.size(), size));
    buildSampleView(-1);
}

void Sample::addParticipants(std::int32_t count)
{
    assert(count >= 0);
    std::vector<int> sizes(groupStart.size());
    for (std::size_t g = 0; g < sizes.size(); ++g) {
        sizes[g] = getGroupSize(static_cast<std::int32_t>(g)) + count;
    }
    resizeGroups(sizes);
    buildSampleView(count);
}

void Sample::resizeGroups(const std::vector<int>& sizes)
{
    // One copy into new matrices instead of inserting or deleting row by row, so that the
    // cost is linear in the number of participants.
    std::int32_t rows = 0;
    for (int size : sizes) {
        rows += size;
    }
    regroupedY.resize(rows, Y.getCols());
    regroupedX.resize(rows, X.getCols());
    std::int32_t next = 0;
    // groupStart[g] changes only after group g has been copied, so the groups after it
    // are still described in the old rows.
    for (std::int32_t g = 0; g < static_cast<std::int32_t>(sizes.size()); ++g) {
        const std::int32_t first = groupStart[static_cast<std::size_t>(g)];
        const std::int32_t size = sizes[static_cast<std::size_t>(g)];
        const std::int32_t kept = std::min(size, getGroupSize(g));
        for (std::int32_t k = 0; k < kept; ++k) {
            copyRow(X, first + k, regroupedX, next + k);
            copyRow(Y, first + k, regroupedY, next + k);
        }
        // A new participant belongs to the group as its last row of X says; its row of Y
        // stays 0 until the generator fills it.
        assert(getGroupSize(g) > 0);
        for (std::int32_t k = kept; k < size; ++k) {
            copyRow(X, getGroupEnd(g) - 1, regroupedX, next + k);
        }
        groupStart[static_cast<std::size_t>(g)] = next;
        next += size;
    }
    std::swap(Y, regroupedY);
    std::swap(X, regroupedX);
    Y.releasePointers();
}

void Sample::saveBase()
{
    baseY.copyFrom(Y);
    baseX.copyFrom(X);
    baseGroupStart = groupStart;
}

void Sample::restoreBase()
{
    Y.copyFrom(baseY);
    Y.releasePointers();
    X.copyFrom(baseX);
    groupStart = baseGroupStart;
    buildSampleView(-1);
}

void Sample::clear()
{
    Y.resize(0, 0);
    Y.releasePointers();
    X.resize(0, 0);
}
