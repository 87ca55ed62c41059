#include "simulation/LookTable.h"

#include <cassert>
#include <cmath>
#include <numeric>

const LookRow* LookTable::firstReaching(double target) const
{
    for (const LookRow& row : looks) {
        if (row.significantAtThisLook.value >= target)
            return &row;
    }
    return nullptr;
}

LookTable makeLookTable(const SimulationResult& result)
{
    assert(result.hasProbability() && !result.lookCounts.empty());
    const LookCounts& counts = result.lookCounts;
    const std::int64_t passes = result.actualPasses;
    const auto lookCount = static_cast<std::int32_t>(counts.significantAt.size());
    LookTable table;
    std::int64_t significantSoFar = 0;
    // The passes that stop at each look: at their first significant one, or at the last.
    std::vector<std::int64_t> stoppingHere(counts.firstSignificantAt);
    stoppingHere.back() += passes - result.significantTotal;
    for (std::int32_t k = 0; k < lookCount; ++k) {
        const auto index = static_cast<std::size_t>(k);
        LookRow row;
        row.look = k;
        for (const std::int64_t first : result.firstLookGroupSizes)
            row.participantsPerGroup.push_back(first + k * result.participantsPerInspection);
        row.participants = std::accumulate(row.participantsPerGroup.begin(),
                                           row.participantsPerGroup.end(), std::int64_t{0});
        significantSoFar += counts.firstSignificantAt[index];
        row.significantAtThisLook = estimateProportion(counts.significantAt[index], passes);
        row.firstSignificantHere = estimateProportion(counts.firstSignificantAt[index], passes);
        row.significantByThisLook = estimateProportion(significantSoFar, passes);
        table.looks.push_back(std::move(row));
    }
    assert(significantSoFar == result.significantTotal);
    const double n = static_cast<double>(passes);
    double mean = 0.0;
    for (std::int32_t k = 0; k < lookCount; ++k) {
        const auto index = static_cast<std::size_t>(k);
        mean += static_cast<double>(stoppingHere[index]) *
                static_cast<double>(table.looks[index].participants) / n;
    }
    double squares = 0.0;
    for (std::int32_t k = 0; k < lookCount; ++k) {
        const auto index = static_cast<std::size_t>(k);
        const double deviation = static_cast<double>(table.looks[index].participants) - mean;
        squares += static_cast<double>(stoppingHere[index]) * deviation * deviation;
    }
    table.expectedParticipants = mean;
    table.expectedParticipantsStandardError = passes > 1 ? std::sqrt(squares / (n - 1.0) / n) : 0.0;
    return table;
}
