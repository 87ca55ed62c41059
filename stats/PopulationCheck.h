#pragma once

#include "numeric/RealMatrix.h"

#include <cstdint>
#include <optional>
#include <string>

/// The first entry of a simulation's population (means G x P, SDs G x P, correlations P x P,
/// as the custom matrices editor and --population hold them) that no normal population can
/// have, and why. Entries are 0-based; correlations are checked after means and SDs.
struct PopulationFault {
    enum class Matrix { Means, Sds, Correlations };
    enum class Kind {
        NotFinite,
        SdNotPositive,
        CorrelationOutOfRange,
        DiagonalNotOne,
        Asymmetric,
        /// The correlations of the first row + 1 cells are not positive definite (the
        /// Cholesky factorisation fails at entry (row, row)).
        NotPositiveDefinite,
    };

    Matrix matrix = Matrix::Means;
    Kind kind = Kind::NotFinite;
    std::int32_t row = -1;
    std::int32_t col = -1;
    double value = 0.0;
};

/// The first fault of the population, or none: means must be finite; SDs finite and
/// positive; correlations finite, within [-1, 1], 1 on the diagonal, equal to their mirror
/// entry and positive definite, since the samples are drawn through their Cholesky factor.
std::optional<PopulationFault> findPopulationFault(const RealMatrix& means, const RealMatrix& sds,
                                                   const RealMatrix& correlations);

/// The fault in words, naming the entry by its 1-based row and column, e.g. "The standard
/// deviation in row 2, column 3 is -1; a standard deviation must be positive."
std::string populationFaultText(const PopulationFault& fault);
