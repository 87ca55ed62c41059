#include "stats/LinearModel.h"

#include "numeric/DotProducts.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace {

// A 1 x 1 E is common: t = 1 for every effect whose within variables all have two levels.
// The only eigenvalue of [x] is x, and LAPACK's set-up costs more than the rest of compute
// for a small design: the helper below and solveForFullRankError do the 1 x 1 case
// directly, with the same result, and hand every other shape to LAPACK.

bool isScalar(const RealMatrix& a)
{
    return a.getRows() == 1 && a.getCols() == 1;
}

bool symmetricEigenvalues(const RealMatrix& a, double* out)
{
    if (!isScalar(a)) {
        return a.symmetricEigenvalues(out);
    }
    out[0] = a.get(0, 0);
    return true;
}

bool allFinite(const RealMatrix& a)
{
    const double* first = a.dataPointer();
    return std::all_of(first, first + a.getSize(), [](double x) { return std::isfinite(x); });
}

} // namespace

LinearModel::LinearModel(LapackWorkspace* workspace)
    : C(workspace), M(workspace), cellMeans(workspace), contrastEstimate(workspace),
      errorCovariance(workspace), baseCovariance(workspace), hypothesisSscp(workspace),
      errorSscp(workspace), errorFactor(workspace), reducedHypothesis(workspace),
      univariateTest(workspace), xtxInverse(workspace), contrastMeans(workspace),
      contrastInverse(workspace), contrastDispersion(workspace), dispersionPlus(workspace),
      estimateDispersion(workspace), residuals(workspace), transformedCovariance(workspace)
{
}

void LinearModel::setEffect(const RealMatrix& newC, const RealMatrix& newM)
{
    C.copyFrom(newC);
    M.copyFrom(newM);
    dispersionCellSizes.clear();
}

bool LinearModel::compute(const YMatrix& Y, const RealMatrix& X)
{
    failure = fitRows(Y, X);
    if (failure == ComputeFailure::None) {
        failure = analyseFit();
    }
    // A non-finite y makes its cell mean non-finite, which analyseFit reports as an
    // overflow; the data tell the two causes apart.
    if (failure == ComputeFailure::Overflow && !allFinite(Y)) {
        failure = ComputeFailure::NonFiniteData;
    }
    return finishCompute();
}

bool LinearModel::computeFromSummary(const RealMatrix& means, const std::vector<int>& groupSizes,
                                     const RealMatrix& sscp)
{
    failure = fitSummary(means, groupSizes, sscp);
    if (failure == ComputeFailure::None) {
        failure = analyseFit();
    }
    if (failure == ComputeFailure::Overflow && !allFinite(means)) {
        failure = ComputeFailure::NonFiniteData;
    }
    return finishCompute();
}

bool LinearModel::finishCompute()
{
    if (failure != ComputeFailure::None) {
        return false;
    }
    computeTests();
    return true;
}

ComputeFailure LinearModel::fitRows(const YMatrix& Y, const RealMatrix& X)
{
    n = static_cast<double>(Y.getRows());
    locateCells(X);
    countOccupiedCells();
    // Full column rank of X is what makes XᵀX invertible; a between cell without
    // participants leaves a zero column, and the LU inverse would report nothing.
    if (rankX < static_cast<double>(X.getCols())) {
        return ComputeFailure::EmptyGroup;
    }
    estimateCellMeans(Y);
    formErrorCovariance(Y);
    return ComputeFailure::None;
}

ComputeFailure LinearModel::fitSummary(const RealMatrix& means, const std::vector<int>& groupSizes,
                                       const RealMatrix& sscp)
{
    assert(static_cast<std::size_t>(means.getRows()) == groupSizes.size());
    assert(sscp.getRows() == means.getCols() && sscp.getCols() == means.getCols());
    cellSizes = groupSizes;
    n = 0.0;
    for (int size : cellSizes) {
        n += size;
    }
    countOccupiedCells();
    if (rankX < static_cast<double>(cellSizes.size())) {
        return ComputeFailure::EmptyGroup;
    }
    invertCellSizes();
    cellMeans.copyFrom(means);
    errorCovariance.copyFrom(sscp);
    errorCovariance.divideInPlace(n - rankX);
    // Without rows, the largest cell mean stands for the largest |y| in the error floor: the
    // summaries are formed from the means, and their rounding scales with them.
    const double* first = cellMeans.dataPointer();
    dataMagnitude = 0.0;
    for (const double* mean = first; mean != first + cellMeans.getSize(); ++mean) {
        dataMagnitude = std::max(dataMagnitude, std::fabs(*mean));
    }
    return ComputeFailure::None;
}

ComputeFailure LinearModel::analyseFit()
{
    estimateContrast();
    if (!formHypothesisSscp()) {
        return ComputeFailure::LinearAlgebra;
    }
    formErrorSscp();
    // Every number below is formed from these three; an infinity or NaN in them must not
    // reach LAPACK, which rejects it (or loops on it) rather than passing it on.
    if (!allFinite(cellMeans) || !allFinite(hypothesisSscp) || !allFinite(errorSscp)) {
        return ComputeFailure::Overflow;
    }
    return solveEigenproblem();
}

void LinearModel::countOccupiedCells()
{
    // For a cell indicator the columns of X are orthogonal and XᵀX is diagonal with the
    // cell sizes n_g, so the singular values of X are sqrt(n_g): at least 1 for an occupied
    // cell, exactly 0 for an empty one. The rank is therefore exactly the number of
    // occupied cells, and the SVD of the N x G matrix is not needed.
    const auto occupied =
        std::count_if(cellSizes.begin(), cellSizes.end(), [](int size) { return size > 0; });
    rankX = static_cast<double>(occupied);
}

void LinearModel::locateCells(const RealMatrix& X)
{
    const std::int32_t rows = X.getRows();
    const std::int32_t cols = X.getCols();
    cellOfParticipant.assign(static_cast<std::size_t>(rows), -1);
    cellSizes.assign(static_cast<std::size_t>(cols), 0);
    for (std::int32_t i = 0; i < rows; ++i) {
        std::int32_t cell = -1;
        for (std::int32_t j = 0; j < cols; ++j) {
            const double entry = X.get(i, j);
            if (entry == 1.0) {
                assert(cell < 0); // one 1 per row
                cell = j;
            } else {
                assert(entry == 0.0);
            }
        }
        assert(cell >= 0);
        cellOfParticipant[static_cast<std::size_t>(i)] = cell;
        ++cellSizes[static_cast<std::size_t>(cell)];
    }
}

void LinearModel::invertCellSizes()
{
    // XᵀX of a cell indicator is diagonal with the cell sizes. Its LU inverse is diagonal
    // too, with 1/n_g on the diagonal (dgetrf pivots on the diagonal and dgetri inverts the
    // diagonal U), so it is formed directly.
    const auto cells = static_cast<std::int32_t>(cellSizes.size());
    xtxInverse.resize(cells, cells);
    for (std::int32_t g = 0; g < cells; ++g) {
        xtxInverse.set(g, g, 1.0 / static_cast<double>(cellSizes[static_cast<std::size_t>(g)]));
    }
}

void LinearModel::estimateCellMeans(const YMatrix& Y)
{
    // Row g of (XᵀX)⁻¹ Xᵀ holds 1/n_g at the participants of cell g and zeros elsewhere, and
    // row g of B = ((XᵀX)⁻¹ Xᵀ) Y is the sum, in participant order as dgemm forms it, of
    // 1/n_g times the rows of Y of cell g: skipping the products with zero gives the same
    // sums in O(N·P) instead of O(G·N·P).
    invertCellSizes();
    const auto cells = static_cast<std::int32_t>(cellSizes.size());
    const std::int32_t participants = Y.getRows();
    const std::int32_t columns = Y.getCols();
    cellMeans.resize(cells, columns);
    const int* cellOf = cellOfParticipant.data();
    for (std::int32_t p = 0; p < columns; ++p) {
        const double* y = Y.dataPointer() + static_cast<std::size_t>(participants) * p;
        double* means = cellMeans.dataPointer() + static_cast<std::size_t>(cells) * p;
        for (std::int32_t k = 0; k < participants; ++k) {
            const std::int32_t g = cellOf[k];
            means[g] += y[k] * xtxInverse.get(g, g);
        }
    }
}

void LinearModel::estimateContrast()
{
    C.multiply(cellMeans, contrastMeans, false, false);
    contrastMeans.multiply(M, contrastEstimate, false, false);
    q = static_cast<double>(contrastEstimate.getRows());
    t = static_cast<double>(contrastEstimate.getCols());
}

bool LinearModel::formHypothesisSscp()
{
    // (C (XᵀX)⁻¹ Cᵀ)⁺ depends on C and the cell sizes alone, which stay the same over the
    // looks of a run that draws whole new samples: it is formed once for them.
    assert(!cellSizes.empty());
    if (cellSizes != dispersionCellSizes) {
        dispersionCellSizes.clear();
        if (!invertContrastDispersion()) {
            return false;
        }
        dispersionCellSizes = cellSizes;
    }
    contrastEstimate.multiply(dispersionPlus, estimateDispersion, true, false);
    estimateDispersion.multiply(contrastEstimate, hypothesisSscp, false, false);
    return true;
}

bool LinearModel::invertContrastDispersion()
{
    // C (XᵀX)⁻¹ scales column g of C by 1/n_g, since (XᵀX)⁻¹ is diagonal; the product with
    // the diagonal matrix would form the same numbers (its zeros add nothing) at O(q·G²)
    // cost instead of O(q·G), which dominates for thousands of groups.
    contrastInverse.copyFrom(C);
    for (std::int32_t g = 0; g < C.getCols(); ++g) {
        const double scale = xtxInverse.get(g, g);
        for (std::int32_t i = 0; i < C.getRows(); ++i) {
            contrastInverse.at(i, g) *= scale;
        }
    }
    contrastInverse.multiply(C, contrastDispersion, false, true);
    // C (XᵀX)⁻¹ Cᵀ depends on the design only, not on the data's units: the relative bound
    // alone decides its rank.
    return contrastDispersion.symmetricPseudoInverse(dispersionPlus).has_value();
}

void LinearModel::formErrorSscp()
{
    const auto columns = static_cast<std::int32_t>(t);
    if (n - rankX <= 0.0) {
        // Without error degrees of freedom S is 0/0; E is left zero and no analysis is
        // available.
        errorSscp.resize(columns, columns);
        return;
    }
    M.multiply(errorCovariance, transformedCovariance, true, false);
    transformedCovariance.multiply(M, errorSscp, false, false);
    errorSscp.scaleInPlace(n - rankX);
}

double LinearModel::errorFloor() const
{
    constexpr double epsilon = std::numeric_limits<double>::epsilon();
    const double participants = n;
    const double columns = errorCovariance.getRows();
    // E = Mᵀ (RᵀR) M is formed from the residual SSCP RᵀR, whose elements are sums of N
    // products and carry rounding errors up to about N·ε times its largest eigenvalue; the
    // products with M, sums of P terms, add P·ε of it. The trace bounds that eigenvalue.
    const double sscpTrace = errorCovariance.trace() * (n - rankX);
    const double formed = std::max(participants, columns) * epsilon * sscpTrace;
    // A residual itself is off by up to about m·ε·|y|max through the rounding of its cell
    // mean (m the largest cell, over which the mean is summed). Data whose true residuals
    // are all 0 therefore give an RᵀR, and an E, of pure rounding noise with eigenvalues
    // below N·P·(m·ε·|y|max)².
    const double largestCell = *std::max_element(cellSizes.begin(), cellSizes.end());
    const double perResidual = largestCell * epsilon * dataMagnitude;
    const double residual = participants * columns * perResidual * perResidual;
    // Both bounds scale with the square of the data's units, so the rank does not depend
    // on them.
    return formed + residual;
}

void LinearModel::formErrorCovariance(const YMatrix& Y)
{
    // S from the residuals Y - XB rather than from Yᵀ(I - X(XᵀX)⁻¹Xᵀ)Y: the same matrix,
    // but linear in N instead of forming the N x N hat matrix, and without subtracting two
    // large sums of squares from each other.
    formResiduals(Y);
    crossProductOfResiduals();
    errorCovariance.divideInPlace(n - rankX);
}

void LinearModel::formResiduals(const YMatrix& Y)
{
    // Row k of X B is row cell(k) of B for a cell indicator; the other products are zero.
    const std::int32_t participants = Y.getRows();
    const std::int32_t columns = Y.getCols();
    residuals.resize(participants, columns);
    const int* cellOf = cellOfParticipant.data();
    double magnitude = 0.0;
    for (std::int32_t p = 0; p < columns; ++p) {
        const double* y = Y.dataPointer() + static_cast<std::size_t>(participants) * p;
        const double* means =
            cellMeans.dataPointer() + static_cast<std::size_t>(cellMeans.getRows()) * p;
        double* r = residuals.dataPointer() + static_cast<std::size_t>(participants) * p;
        for (std::int32_t k = 0; k < participants; ++k) {
            r[k] = y[k] - means[cellOf[k]];
            magnitude = std::max(magnitude, std::fabs(y[k]));
        }
    }
    dataMagnitude = magnitude;
}

void LinearModel::crossProductOfResiduals()
{
    // errorCovariance := RᵀR: element (i, j) is the dot product of residual columns i and
    // j, summed over the participants in their order like any plain dot product. The upper
    // triangle is formed four elements at a time and mirrored, which halves the work and
    // lets four independent sums overlap instead of each addition waiting for the last.
    // This product is the largest part of compute for many participants.
    const std::int32_t participants = residuals.getRows();
    const std::int32_t cells = residuals.getCols();
    errorCovariance.resize(cells, cells);
    const double* base = residuals.dataPointer();
    const auto column = [base, participants](std::int32_t j) {
        return base + static_cast<std::size_t>(participants) * j;
    };
    for (std::int32_t j = 0; j < cells; ++j) {
        std::int32_t i = 0;
        for (; i + 3 <= j; i += 4) {
            const double* columns[4] = {column(i), column(i + 1), column(i + 2), column(i + 3)};
            double sums[4];
            fourDotProducts(columns, column(j), participants, sums);
            for (std::int32_t l = 0; l < 4; ++l) {
                errorCovariance.set(i + l, j, sums[l]);
            }
        }
        for (; i <= j; ++i) {
            const double* columns[4] = {column(i), column(i), column(i), column(i)};
            double sums[4];
            fourDotProducts(columns, column(j), participants, sums);
            errorCovariance.set(i, j, sums[0]);
        }
    }
    for (std::int32_t j = 0; j < cells; ++j) {
        for (std::int32_t i = j + 1; i < cells; ++i) {
            errorCovariance.set(i, j, errorCovariance.get(j, i));
        }
    }
}

ComputeFailure LinearModel::solveEigenproblem()
{
    const auto columns = static_cast<std::int32_t>(t);
    heEigenvalues.assign(static_cast<std::size_t>(columns), 0.0);
    errorRank = 0;
    if (n - rankX <= 0.0) {
        return ComputeFailure::None;
    }
    errorEigenvalues.resize(static_cast<std::size_t>(columns));
    if (!symmetricEigenvalues(errorSscp, errorEigenvalues.data())) {
        return ComputeFailure::LinearAlgebra;
    }
    const double bound = symmetricZeroBound(errorEigenvalues.data(), columns, errorFloor());
    errorRank = static_cast<std::int32_t>(
        std::count_if(errorEigenvalues.begin(), errorEigenvalues.end(),
                      [bound](double value) { return std::fabs(value) > bound; }));
    // With E singular the MANOVA tests are not available; without them, neither the
    // eigenvalues nor E's factor are read.
    if (errorRank < columns || !needsMultivariateTests()) {
        return ComputeFailure::None;
    }
    return solveForFullRankError();
}

bool LinearModel::needsMultivariateTests() const
{
    return neededAnalyses.test(AnalysisPillai) || neededAnalyses.test(AnalysisWilks) ||
           neededAnalyses.test(AnalysisHotelling) || neededAnalyses.test(AnalysisRoy);
}

ComputeFailure LinearModel::solveForFullRankError()
{
    if (isScalar(errorSscp)) {
        heEigenvalues[0] = hypothesisSscp.get(0, 0) / errorSscp.get(0, 0);
        return std::isfinite(heEigenvalues[0]) ? ComputeFailure::None : ComputeFailure::Overflow;
    }
    // E = RᵀR is positive definite, so the eigenvalues of H E⁻¹ are those of the symmetric
    // R⁻ᵀ H R⁻¹: real by construction, from a symmetric eigensolver.
    if (errorSscp.cholesky(errorFactor) != 0) {
        // Every eigenvalue of E is above the zero bound, yet the factorisation met a pivot
        // that is not positive: E is singular at working precision, and it counts as one
        // short of full rank.
        errorRank = static_cast<std::int32_t>(t) - 1;
        return ComputeFailure::None;
    }
    if (!hypothesisSscp.reduceByFactor(errorFactor, reducedHypothesis)) {
        return ComputeFailure::LinearAlgebra;
    }
    if (!allFinite(reducedHypothesis)) {
        return ComputeFailure::Overflow;
    }
    if (!reducedHypothesis.symmetricEigenvalues(heEigenvalues.data())) {
        return ComputeFailure::LinearAlgebra;
    }
    return ComputeFailure::None;
}

void LinearModel::computeTests()
{
    // The engine's dimensions are whole numbers held as doubles; the tests take them as
    // ints.
    const auto nInt = static_cast<std::int32_t>(n);
    const auto rankInt = static_cast<std::int32_t>(rankX);
    const auto qInt = static_cast<std::int32_t>(q);
    const auto tInt = static_cast<std::int32_t>(t);
    const auto needs = [this](AnalysisIndex analysis) { return neededAnalyses.test(analysis); };
    fTails.clear();
    const auto runMultivariate = [&](AnalysisIndex analysis, auto& test) {
        if (needs(analysis)) {
            test.initialize(heEigenvalues.data(), nInt, rankInt, qInt, tInt, errorRank);
            test.compute(fTails);
        }
    };
    runMultivariate(AnalysisPillai, pillaiTest);
    runMultivariate(AnalysisWilks, wilksTest);
    runMultivariate(AnalysisHotelling, hotellingTest);
    runMultivariate(AnalysisRoy, royTest);
    if (needs(AnalysisAnovaUncorrected) || needs(AnalysisAnovaGreenhouseGeisser) ||
        needs(AnalysisAnovaHuynhFeldt) || needs(AnalysisAnovaLowerBound)) {
        univariateTest.initialize(&hypothesisSscp, &errorSscp, nInt, rankInt, qInt, tInt,
                                  errorRank);
        univariateTest.compute(fTails);
    }
    if (needs(AnalysisAnovaHuynhFeldt)) {
        huynhFeldtTest.compute(univariateTest,
                               huynhFeldtEpsilon(univariateTest.epsilon, n - rankX, tInt), fTails);
    }
    if (needs(AnalysisAnovaLowerBound)) {
        lowerBoundTest.compute(univariateTest, lowerBoundEpsilon(tInt), fTails);
    }
    if (neededAnalyses.all()) {
        mauchlyTest.compute(errorSscp, errorFactor, n - rankX, errorRank);
    }
}

void LinearModel::estimateErrorCovariance(const YMatrix& Y, const RealMatrix& X)
{
    [[maybe_unused]] const ComputeFailure fit = fitRows(Y, X);
    assert(fit == ComputeFailure::None); // every group has participants
}

void LinearModel::saveErrorCovariance()
{
    baseCovariance.copyFrom(errorCovariance);
}

void LinearModel::restoreErrorCovariance()
{
    errorCovariance.copyFrom(baseCovariance);
}
