#include "stats/SummarySampler.h"

#include "numeric/DotProducts.h"
#include "stats/SimulationStatus.h"

#include <algorithm>
#include <cassert>
#include <cmath>

SummarySampler::SummarySampler(SampleGenerator& newGenerator, LapackWorkspace* workspace)
    : generator(newGenerator), populationMeans(workspace), populationSds(workspace),
      choleskyFactor(workspace), means(workspace), sscp(workspace), baseMeans(workspace),
      baseSscp(workspace)
{
}

bool SummarySampler::setPopulation(const RealMatrix& newMeans, const RealMatrix& sds,
                                   const RealMatrix& correlations)
{
    populationMeans.copyFrom(newMeans);
    populationSds.copyFrom(sds);
    cells = correlations.getRows();
    if (correlations.cholesky(choleskyFactor) != 0) {
        return false;
    }
    // L = Uᵀ for the upper factor U (R = UᵀU), kept row-major: the products below run
    // along the rows of L.
    const auto size = static_cast<std::size_t>(cells);
    lower.assign(size * size, 0.0);
    for (std::int32_t i = 0; i < cells; ++i) {
        for (std::int32_t k = 0; k <= i; ++k) {
            lower[static_cast<std::size_t>(i) * size + static_cast<std::size_t>(k)] =
                choleskyFactor.get(k, i);
        }
    }
    drawnMean.assign(size, 0.0);
    return true;
}

void SummarySampler::saveBase(const Sample& sample)
{
    const YMatrix& Y = sample.getY();
    const std::int32_t groups = sample.groupCount();
    const std::int32_t columns = Y.getCols();
    baseMeans.resize(groups, columns);
    baseGroupSizes.assign(static_cast<std::size_t>(groups), 0);
    baseSscp.resize(columns, columns);
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t first = sample.getGroupStart()[static_cast<std::size_t>(g)];
        const std::int32_t end = sample.getGroupEnd(g);
        baseGroupSizes[static_cast<std::size_t>(g)] = end - first;
        for (std::int32_t c = 0; c < columns; ++c) {
            double sum = 0.0;
            for (std::int32_t r = first; r < end; ++r) {
                sum += Y.get(r, c);
            }
            baseMeans.set(g, c, sum / (end - first));
        }
        // The deviations from the group's own mean, as the model's residuals are.
        for (std::int32_t j = 0; j < columns; ++j) {
            for (std::int32_t i = j; i < columns; ++i) {
                double sum = 0.0;
                for (std::int32_t r = first; r < end; ++r) {
                    sum +=
                        (Y.get(r, i) - baseMeans.get(g, i)) * (Y.get(r, j) - baseMeans.get(g, j));
                }
                baseSscp.at(i, j) += sum;
                if (i != j) {
                    baseSscp.at(j, i) += sum;
                }
            }
        }
    }
    restoreBase();
}

void SummarySampler::restoreBase()
{
    means.copyFrom(baseMeans);
    groupSizes = baseGroupSizes;
    sscp.copyFrom(baseSscp);
}

std::int32_t SummarySampler::drawingStatus() const
{
    return cells > 1 && !generator.areDataCorrelationsValid() ? StatusInvalidCorrelation : StatusOk;
}

std::int32_t SummarySampler::drawNewSample(std::int32_t perGroup)
{
    assert(perGroup >= 1);
    const std::int32_t status = drawingStatus();
    if (status != StatusOk) {
        return status;
    }
    const std::int32_t groups = populationMeans.getRows();
    means.resize(groups, cells);
    groupSizes.assign(static_cast<std::size_t>(groups), perGroup);
    sscp.resize(cells, cells);
    for (std::int32_t g = 0; g < groups; ++g) {
        drawMean(g, perGroup);
        for (std::int32_t c = 0; c < cells; ++c) {
            means.set(g, c, drawnMean[static_cast<std::size_t>(c)]);
        }
        addWishartSscp(g, perGroup - 1);
    }
    return StatusOk;
}

std::int32_t SummarySampler::addParticipants(std::int32_t count)
{
    assert(count >= 0);
    const std::int32_t status = drawingStatus();
    if (status != StatusOk || count == 0) {
        return status;
    }
    const std::int32_t groups = populationMeans.getRows();
    for (std::int32_t g = 0; g < groups; ++g) {
        const double before = groupSizes[static_cast<std::size_t>(g)];
        const double added = count;
        const double after = before + added;
        drawMean(g, count);
        addWishartSscp(g, count - 1);
        // drawnMean := m1 - m2, the difference the merged SSCP needs; the merged mean moves
        // from m1 by n2 / n of it towards m2.
        for (std::int32_t c = 0; c < cells; ++c) {
            const double difference = means.get(g, c) - drawnMean[static_cast<std::size_t>(c)];
            drawnMean[static_cast<std::size_t>(c)] = difference;
            means.set(g, c, means.get(g, c) - added / after * difference);
        }
        const double weight = before * added / after;
        for (std::int32_t j = 0; j < cells; ++j) {
            const double scaled = weight * drawnMean[static_cast<std::size_t>(j)];
            for (std::int32_t i = 0; i < cells; ++i) {
                sscp.at(i, j) += drawnMean[static_cast<std::size_t>(i)] * scaled;
            }
        }
        groupSizes[static_cast<std::size_t>(g)] += count;
    }
    return StatusOk;
}

void SummarySampler::drawMean(std::int32_t g, std::int32_t size)
{
    // x = L z, then each cell scaled by its SD / sqrt(n) and shifted by its mean.
    const auto width = static_cast<std::size_t>(cells);
    deviates.resize(width);
    for (std::size_t c = 0; c < width; ++c) {
        deviates[c] = generator.nextNormal();
    }
    multiplyByLower(0, deviates.data(), drawnMean.data(), 1);
    const double root = std::sqrt(static_cast<double>(size));
    for (std::int32_t i = 0; i < cells; ++i) {
        double& mean = drawnMean[static_cast<std::size_t>(i)];
        mean = populationMeans.get(g, i) + populationSds.get(g, i) * mean / root;
    }
}

void SummarySampler::multiplyByLower(std::int32_t from, const double* v, double* products,
                                     std::size_t step) const
{
    // Four rows at a time. Over the longest of the four rows the shorter ones add terms
    // L_ik v_k with k > i, where L_ik is 0: the sums stay as they are.
    const auto width = static_cast<std::size_t>(cells);
    const auto rowOfL = [this, width, from](std::int32_t i) {
        return lower.data() + static_cast<std::size_t>(i) * width + from;
    };
    double sums[4];
    std::int32_t i = from;
    for (; i + 4 <= cells; i += 4) {
        const double* rows[4] = {rowOfL(i), rowOfL(i + 1), rowOfL(i + 2), rowOfL(i + 3)};
        fourDotProducts(rows, v + from, i + 4 - from, sums);
        for (std::int32_t r = 0; r < 4; ++r) {
            products[static_cast<std::size_t>(i + r) * step] = sums[r];
        }
    }
    for (; i < cells; ++i) {
        const double* rows[4] = {rowOfL(i), rowOfL(i), rowOfL(i), rowOfL(i)};
        fourDotProducts(rows, v + from, i + 1 - from, sums);
        products[static_cast<std::size_t>(i) * step] = sums[0];
    }
}

void SummarySampler::addWishartSscp(std::int32_t g, std::int32_t degrees)
{
    if (degrees < 1) {
        return; // one participant has no spread about its own mean
    }
    const bool triangular = degrees >= cells;
    if (triangular) {
        drawBartlettFactor(degrees);
    } else {
        drawNormalFactor(degrees);
    }
    // sscp += D_g F Fᵀ D_g for the factor F; a row i of the triangular F ends at column i, so
    // (F Fᵀ)_ij for i >= j sums over the first j + 1 columns. Four rows i at a time.
    const auto width = static_cast<std::size_t>(factorColumns);
    const auto row = [this, width](std::int32_t i) {
        return factor.data() + static_cast<std::size_t>(i) * width;
    };
    const auto add = [this, g](std::int32_t i, std::int32_t j, double sum) {
        const double scaled = sum * populationSds.get(g, i) * populationSds.get(g, j);
        sscp.at(i, j) += scaled;
        if (i != j) {
            sscp.at(j, i) += scaled;
        }
    };
    for (std::int32_t j = 0; j < cells; ++j) {
        const std::int32_t length = triangular ? j + 1 : factorColumns;
        double sums[4];
        std::int32_t i = j;
        for (; i + 4 <= cells; i += 4) {
            const double* rows[4] = {row(i), row(i + 1), row(i + 2), row(i + 3)};
            fourDotProducts(rows, row(j), length, sums);
            for (std::int32_t r = 0; r < 4; ++r) {
                add(i + r, j, sums[r]);
            }
        }
        for (; i < cells; ++i) {
            const double* rows[4] = {row(i), row(i), row(i), row(i)};
            fourDotProducts(rows, row(j), length, sums);
            add(i, j, sums[0]);
        }
    }
}

void SummarySampler::drawBartlettFactor(std::int32_t degrees)
{
    // A is drawn row by row, as always, but stored by columns: column j of A, from its
    // diagonal down, is then one contiguous run. Only those entries are read.
    const auto width = static_cast<std::size_t>(cells);
    factorColumns = cells;
    deviates.resize(width * width);
    const auto columnOfA = [this, width](std::int32_t j) {
        return deviates.data() + static_cast<std::size_t>(j) * width;
    };
    for (std::int32_t i = 0; i < cells; ++i) {
        for (std::int32_t j = 0; j < i; ++j) {
            columnOfA(j)[i] = generator.nextNormal();
        }
        columnOfA(i)[i] = std::sqrt(generator.nextChiSquare(static_cast<double>(degrees - i)));
    }
    // F = L A, both lower triangular: column j of F is L times column j of A, whose entries
    // above the diagonal are 0, so F_ij = Σ_{k = j..i} L_ik A_kj.
    factor.resize(width * width);
    for (std::int32_t j = 0; j < cells; ++j) {
        multiplyByLower(j, columnOfA(j), factor.data() + j, width);
    }
}

void SummarySampler::drawNormalFactor(std::int32_t degrees)
{
    const auto width = static_cast<std::size_t>(degrees);
    const auto height = static_cast<std::size_t>(cells);
    factorColumns = degrees;
    deviates.resize(height * width);
    for (double& deviate : deviates) {
        deviate = generator.nextNormal();
    }
    // F = L Z: F_ij = Σ_{k <= i} L_ik Z_kj.
    factor.assign(height * width, 0.0);
    for (std::int32_t i = 0; i < cells; ++i) {
        const double* rowL = lower.data() + static_cast<std::size_t>(i) * height;
        double* rowF = factor.data() + static_cast<std::size_t>(i) * width;
        for (std::int32_t k = 0; k <= i; ++k) {
            const double* rowZ = deviates.data() + static_cast<std::size_t>(k) * width;
            for (std::size_t j = 0; j < width; ++j) {
                rowF[j] += rowL[k] * rowZ[j];
            }
        }
    }
}
