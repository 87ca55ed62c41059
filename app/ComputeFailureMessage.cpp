#include "app/ComputeFailureMessage.h"

#include <cassert>
#include <cstddef>

namespace {

/// "g = 1, h = 2" for the first group combination without participants.
std::string emptyCombination(const Design& design)
{
    const std::vector<int>& starts = design.getGroupStart();
    const GeneralMatrix<int>& combinations = design.getBetweenCombinations();
    for (std::size_t g = 0; g < starts.size(); ++g) {
        if (starts[g] != -1)
            continue;
        std::string text;
        for (std::int32_t v = 0; v < combinations.getCols(); ++v) {
            const GroupVariable& group = *design.getGroups()[static_cast<std::size_t>(v)];
            const int code =
                group.getCodeOfLevel(combinations.get(static_cast<std::int32_t>(g), v));
            text += (v == 0 ? "" : ", ") + group.getName() + " = " + std::to_string(code);
        }
        return text;
    }
    return {};
}

} // namespace

std::string computeFailureMessage(ComputeFailure failure, const Design& design)
{
    switch (failure) {
    case ComputeFailure::EmptyGroup:
        return "Data cannot be computed: no participant belongs to the group combination " +
               emptyCombination(design) + ".";
    case ComputeFailure::NonFiniteData:
        return "Data cannot be computed: the data hold a value that is not a finite number.";
    case ComputeFailure::Overflow:
        return "Data cannot be computed: the data are too large in magnitude, so that their "
               "sums of squares exceed the range of numbers. Please rescale them, e.g. by "
               "other units.";
    case ComputeFailure::LinearAlgebra:
        return "Data cannot be computed: the matrix computations failed for this design.";
    case ComputeFailure::None: break;
    }
    assert(false && "a successful compute has no failure message");
    return {};
}
