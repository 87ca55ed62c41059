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

namespace {

/// The mean and standard error of the participants at which the passes stop: at their
/// first significant look, or at the last one.
void setExpectedParticipants(LookTable& table, const SimulationResult& result)
{
    std::vector<std::int64_t> stoppingHere(result.lookCounts.firstSignificantAt);
    stoppingHere.back() += result.actualPasses - result.significantTotal;
    const double n = static_cast<double>(result.actualPasses);
    double mean = 0.0;
    for (std::size_t k = 0; k < stoppingHere.size(); ++k)
        mean += static_cast<double>(stoppingHere[k]) *
                static_cast<double>(table.looks[k].participants) / n;
    double squares = 0.0;
    for (std::size_t k = 0; k < stoppingHere.size(); ++k) {
        const double deviation = static_cast<double>(table.looks[k].participants) - mean;
        squares += static_cast<double>(stoppingHere[k]) * deviation * deviation;
    }
    table.expectedParticipants = mean;
    table.expectedParticipantsStandardError =
        result.actualPasses > 1 ? std::sqrt(squares / (n - 1.0) / n) : 0.0;
}

} // namespace

LookTable makeLookTable(const SimulationResult& result)
{
    assert(result.hasProbability() && !result.lookCounts.empty());
    const LookCounts& counts = result.lookCounts;
    const std::int64_t passes = result.actualPasses;
    LookTable table;
    std::int64_t significantSoFar = 0;
    for (std::size_t k = 0; k < counts.significantAt.size(); ++k) {
        LookRow row;
        row.look = static_cast<std::int32_t>(k);
        for (const std::int64_t first : result.firstLookGroupSizes)
            row.participantsPerGroup.push_back(first + static_cast<std::int64_t>(k) *
                                                           result.participantsPerInspection);
        row.participants = std::accumulate(row.participantsPerGroup.begin(),
                                           row.participantsPerGroup.end(), std::int64_t{0});
        significantSoFar += counts.firstSignificantAt[k];
        row.significantAtThisLook = estimateProportion(counts.significantAt[k], passes);
        row.firstSignificantHere = estimateProportion(counts.firstSignificantAt[k], passes);
        row.significantByThisLook = estimateProportion(significantSoFar, passes);
        table.looks.push_back(std::move(row));
    }
    assert(significantSoFar == result.significantTotal);
    setExpectedParticipants(table, result);
    return table;
}
