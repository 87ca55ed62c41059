#include "stats/PopulationCheck.h"

#include <cmath>
#include <cstdio>

namespace {

/// The first entry of matrix that is not finite.
std::optional<PopulationFault> findNonFinite(const RealMatrix& matrix,
                                             PopulationFault::Matrix which)
{
    for (std::int32_t i = 0; i < matrix.getRows(); ++i) {
        for (std::int32_t j = 0; j < matrix.getCols(); ++j) {
            if (!std::isfinite(matrix.get(i, j)))
                return PopulationFault{which, PopulationFault::Kind::NotFinite, i, j,
                                       matrix.get(i, j)};
        }
    }
    return std::nullopt;
}

std::optional<PopulationFault> findSdFault(const RealMatrix& sds)
{
    for (std::int32_t i = 0; i < sds.getRows(); ++i) {
        for (std::int32_t j = 0; j < sds.getCols(); ++j) {
            if (sds.get(i, j) <= 0.0)
                return PopulationFault{PopulationFault::Matrix::Sds,
                                       PopulationFault::Kind::SdNotPositive, i, j, sds.get(i, j)};
        }
    }
    return std::nullopt;
}

/// The first entry, row by row over the upper triangle and the diagonal, that no correlation
/// matrix can hold.
std::optional<PopulationFault> findCorrelationEntryFault(const RealMatrix& r)
{
    using Kind = PopulationFault::Kind;
    const auto fault = [&r](Kind kind, std::int32_t i, std::int32_t j) {
        return PopulationFault{PopulationFault::Matrix::Correlations, kind, i, j, r.get(i, j)};
    };
    for (std::int32_t i = 0; i < r.getRows(); ++i) {
        if (r.get(i, i) != 1.0)
            return fault(Kind::DiagonalNotOne, i, i);
        for (std::int32_t j = i + 1; j < r.getCols(); ++j) {
            if (std::fabs(r.get(i, j)) > 1.0)
                return fault(Kind::CorrelationOutOfRange, i, j);
            if (std::fabs(r.get(j, i)) > 1.0)
                return fault(Kind::CorrelationOutOfRange, j, i);
            // Exact: the editor mirrors every edit and a computed matrix is symmetric by
            // construction, so any difference was entered.
            if (r.get(i, j) != r.get(j, i))
                return fault(Kind::Asymmetric, j, i);
        }
    }
    return std::nullopt;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string entryName(const PopulationFault& fault)
{
    const char* names[] = {"mean", "standard deviation", "correlation"};
    return "the " + std::string(names[static_cast<int>(fault.matrix)]) + " in row " +
           std::to_string(fault.row + 1) + ", column " + std::to_string(fault.col + 1);
}

} // namespace

std::optional<PopulationFault> findPopulationFault(const RealMatrix& means, const RealMatrix& sds,
                                                   const RealMatrix& correlations)
{
    using Matrix = PopulationFault::Matrix;
    if (auto fault = findNonFinite(means, Matrix::Means))
        return fault;
    if (auto fault = findNonFinite(sds, Matrix::Sds))
        return fault;
    if (auto fault = findSdFault(sds))
        return fault;
    if (auto fault = findNonFinite(correlations, Matrix::Correlations))
        return fault;
    if (auto fault = findCorrelationEntryFault(correlations))
        return fault;
    RealMatrix factor(correlations.getWorkspace());
    const std::int32_t failedOrder = correlations.cholesky(factor);
    if (failedOrder > 0) {
        const std::int32_t k = failedOrder - 1;
        return PopulationFault{Matrix::Correlations, PopulationFault::Kind::NotPositiveDefinite, k,
                               k, correlations.get(k, k)};
    }
    return std::nullopt;
}

std::string populationFaultText(const PopulationFault& fault)
{
    using Kind = PopulationFault::Kind;
    std::string entry = entryName(fault);
    entry[0] = static_cast<char>(entry[0] - 'a' + 'A');
    const std::string is = entry + " is " + number(fault.value);
    switch (fault.kind) {
    case Kind::NotFinite: return is + "; it must be a finite number.";
    case Kind::SdNotPositive: return is + "; a standard deviation must be positive.";
    case Kind::CorrelationOutOfRange: return is + "; a correlation must lie between -1 and 1.";
    case Kind::DiagonalNotOne: return is + "; the correlation of a cell with itself must be 1.";
    case Kind::Asymmetric:
        return is + ", but the one in row " + std::to_string(fault.col + 1) + ", column " +
               std::to_string(fault.row + 1) + " differs; the correlations must be symmetric.";
    case Kind::NotPositiveDefinite:
        return "The correlations are not positive definite: those of the first " +
               std::to_string(fault.row + 1) + " cells (up to row " +
               std::to_string(fault.row + 1) + ", column " + std::to_string(fault.col + 1) +
               ") cannot hold together in any population.";
    }
    return {};
}
