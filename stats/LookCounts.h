#pragma once

#include <cassert>
#include <cstdint>
#include <vector>

/// What a run that records every look counts per look k = 0 ... K (look 0 the first sample,
/// look k the k-th inspection): the passes whose look k is significant, whatever happened
/// before, and the passes whose first significant look is k. Passes without a significant
/// look appear in neither count of any look.
struct LookCounts {
    /// Both counts zero for each of looks looks.
    void reset(std::int32_t looks)
    {
        significantAt.assign(static_cast<std::size_t>(looks), 0);
        firstSignificantAt.assign(static_cast<std::size_t>(looks), 0);
    }
    /// Adds the counts of another worker of the same run (the same number of looks); empty
    /// counts take the other's.
    void add(const LookCounts& other)
    {
        if (empty()) {
            *this = other;
            return;
        }
        assert(other.significantAt.size() == significantAt.size());
        for (std::size_t k = 0; k < significantAt.size(); ++k) {
            significantAt[k] += other.significantAt[k];
            firstSignificantAt[k] += other.firstSignificantAt[k];
        }
    }
    bool empty() const { return significantAt.empty(); }

    std::vector<std::int64_t> significantAt;
    std::vector<std::int64_t> firstSignificantAt;
};
