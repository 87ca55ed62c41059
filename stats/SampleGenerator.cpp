#include "stats/SampleGenerator.h"

#include "stats/ChiSquareDeviate.h"
#include "stats/SimulationStatus.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

/// Entries of a computed correlation matrix may exceed ±1 by rounding.
constexpr double CORRELATION_LIMIT = 1.0000000001;

/// out := the entries of a in storage order as one row: entry (g, c) of a column-major
/// G x P matrix goes to g + G·c.
void rowOfEntries(const RealMatrix& a, RealMatrix& out)
{
    out.resize(1, a.getSize());
    std::copy_n(a.dataPointer(), a.getSize(), out.dataPointer());
}

} // namespace

SampleGenerator::SampleGenerator(YMatrix* sample, LapackWorkspace* workspace,
                                 std::int32_t newThreadIndex)
    : threadIndex(newThreadIndex), Y(sample), dataCorrelations(workspace),
      choleskyFactor(workspace), meanVector(workspace), sdVector(workspace),
      correlationMatrix(workspace)
{
}

void SampleGenerator::seed(std::seed_seq& sequence)
{
    engine.seed(sequence);
    normal.discardKept();
}

void SampleGenerator::setDecimalSeparator(DecimalSeparator separator)
{
    randomFile.setDecimalSeparator(separator);
}

void SampleGenerator::setPreferences(const Preferences& newPreferences)
{
    preferences = newPreferences;
    if (preferences.useMersenneTwister == 0 && !randomFile.isOpen()) {
        openRandomNumbersFile();
    }
}

bool SampleGenerator::openRandomNumbersFile()
{
    return randomFile.open(preferences.pathAt(threadIndex));
}

bool SampleGenerator::hasRandomSource() const
{
    return preferences.useMersenneTwister != 0 || randomFile.isOpen();
}

bool SampleGenerator::nextDeviate(double& value)
{
    if (preferences.useMersenneTwister != 0) {
        value = nextNormal();
        return true;
    }
    return randomFile.next(value);
}

double SampleGenerator::nextChiSquare(double degrees)
{
    assert(preferences.useMersenneTwister != 0);
    return chiSquareDeviate(degrees, engine, normal);
}

bool SampleGenerator::setPopulation(const RealMatrix& means, const RealMatrix& sds,
                                    const RealMatrix& correlations)
{
    rowOfEntries(means, meanVector);
    rowOfEntries(sds, sdVector);
    correlationMatrix.copyFrom(correlations);
    // The factor is the same for every group and every sample of the run.
    return correlationMatrix.cholesky(choleskyFactor) == 0;
}

void SampleGenerator::computeDataCorrelations(std::int32_t withinCount,
                                              const std::vector<int>& withinLevels,
                                              const std::vector<int>& groupStart)
{
    dataCorrelationsValid = true;
    if (withinCount < 1 || (withinCount == 1 && withinLevels[0] < 2)) {
        dataCorrelations.resize(0, 0);
        return;
    }
    assert(Y->hasPointers());
    const std::int32_t columns = Y->pointerCols();
    const auto groups = static_cast<std::int32_t>(groupStart.size());
    dataCorrelations.resize(columns, columns);
    for (std::int32_t j = 0; j < columns; ++j) {
        dataCorrelations.set(j, j, 1.0);
    }
    // Columns of different groups stay 0: the groups are independent samples, and the
    // columns of a shorter group end where its participants end.
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t participants = getFilledRows(g);
        for (std::int32_t i = g; i < columns; i += groups) {
            for (std::int32_t j = i + groups; j < columns; j += groups) {
                const double r = pearsonCorrelation(i, j, participants);
                dataCorrelations.set(i, j, r);
                dataCorrelations.set(j, i, r);
            }
        }
    }
    dataCorrelationsValid = isValidCorrelationMatrix(dataCorrelations);
}

double SampleGenerator::pearsonCorrelation(std::int32_t i, std::int32_t j, std::int32_t n) const
{
    double sumX = 0.0;
    double sumY = 0.0;
    for (std::int32_t k = 0; k < n; ++k) {
        sumX += Y->getThroughPointer(k, i);
        sumY += Y->getThroughPointer(k, j);
    }
    const double meanX = sumX / n;
    const double meanY = sumY / n;
    double sxx = 0.0;
    double syy = 0.0;
    double sxy = 0.0;
    for (std::int32_t k = 0; k < n; ++k) {
        const double dx = Y->getThroughPointer(k, i) - meanX;
        const double dy = Y->getThroughPointer(k, j) - meanY;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    // Fewer than two participants, or a column without variance, gives 0/0 = NaN here,
    // which the validity check reports.
    const double df = n - 1.0;
    return (sxy / df) / (std::sqrt(syy / df) * std::sqrt(sxx / df));
}

std::int32_t SampleGenerator::getFilledRows(std::int32_t j) const
{
    std::int32_t rows = 0;
    while (rows < Y->pointerRows() && Y->getPointer(rows, j) != nullptr) {
        ++rows;
    }
    return rows;
}

std::int32_t SampleGenerator::generateSample()
{
    if (!drawDeviates()) {
        return randomFile.isTokenTooLong() ? StatusRandomNumbersUnreadable
                                           : StatusRandomNumbersExhausted;
    }
    if (correlationMatrix.getRows() > 1) {
        if (!dataCorrelationsValid) {
            return StatusInvalidCorrelation;
        }
        correlateWithinParticipants();
    }
    scaleAndShift();
    return StatusOk;
}

bool SampleGenerator::isValidCorrelationMatrix(const RealMatrix& matrix)
{
    const double* first = matrix.dataPointer();
    const double* last = first + matrix.getSize();
    return std::all_of(first, last, [](double r) {
        return r <= CORRELATION_LIMIT && r >= -CORRELATION_LIMIT; // false for NaN
    });
}

bool SampleGenerator::drawDeviates()
{
    const std::int32_t rows = Y->pointerRows();
    const std::int32_t columns = Y->pointerCols();
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < columns; ++j) {
            double* place = Y->getPointer(i, j);
            if (place == nullptr) {
                continue;
            }
            if (!nextDeviate(*place)) {
                return false;
            }
        }
    }
    return true;
}

void SampleGenerator::correlateWithinParticipants()
{
    const std::int32_t cells = correlationMatrix.getRows();
    const std::int32_t groups = Y->pointerCols() / cells;
    assert(groups * cells == Y->pointerCols());
    participantValues.resize(static_cast<std::size_t>(cells));
    for (std::int32_t g = 0; g < groups; ++g) {
        const std::int32_t participants = getFilledRows(g);
        for (std::int32_t i = 0; i < participants; ++i) {
            correlateParticipant(i, g, groups);
        }
    }
}

void SampleGenerator::correlateParticipant(std::int32_t row, std::int32_t group,
                                           std::int32_t groups)
{
    // x := z R for the participant's row z of deviates (R upper triangular, so x_c needs
    // z_0 .. z_c only). z is copied out first because x is written to the same places.
    const std::int32_t cells = correlationMatrix.getRows();
    for (std::int32_t c = 0; c < cells; ++c) {
        participantValues[static_cast<std::size_t>(c)] =
            Y->getThroughPointer(row, group + groups * c);
    }
    for (std::int32_t c = 0; c < cells; ++c) {
        double sum = 0.0;
        for (std::int32_t k = 0; k <= c; ++k) {
            sum += participantValues[static_cast<std::size_t>(k)] * choleskyFactor.get(k, c);
        }
        Y->setThroughPointer(row, group + groups * c, sum);
    }
}

void SampleGenerator::scaleAndShift()
{
    const std::int32_t rows = Y->pointerRows();
    const std::int32_t columns = Y->pointerCols();
    assert(columns == meanVector.getCols());
    for (std::int32_t j = 0; j < columns; ++j) {
        const double sd = sdVector.get(0, j);
        const double mean = meanVector.get(0, j);
        for (std::int32_t i = 0; i < rows; ++i) {
            double* place = Y->getPointer(i, j);
            if (place != nullptr) {
                *place = *place * sd + mean;
            }
        }
    }
}
