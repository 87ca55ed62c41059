#include "stats/Anova.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

// A 1 x 1 matrix is common here: q = 1 for every effect without a between variable, t = 1
// for every effect whose within variables all have two levels. For [x] the LAPACK routines
// reduce to scalars (the only eigenvalue and the only singular value are x and |x|), and
// their set-up costs more than the rest of compute for a small design. These helpers do the
// 1 x 1 case directly, with the same result, and hand every other shape to LAPACK.

bool isScalar(const RealMatrix& a)
{
    return a.getRows() == 1 && a.getCols() == 1;
}

// The two matrices pseudo-inverted here, C (XᵀX)⁻¹ Cᵀ and E, are symmetric.
void symmetricPseudoInverse(const RealMatrix& a, RealMatrix& out)
{
    if (!isScalar(a)) {
        a.symmetricPseudoInverse(out);
        return;
    }
    const double x = a.get(0, 0);
    out.resize(1, 1);
    // |x| is the singular value: at or below the tolerance it counts as zero.
    if (std::fabs(x) > SINGULAR_VALUE_TOLERANCE) {
        out.set(0, 0, 1.0 / x);
    }
}

void eigenvalues(RealMatrix& a, double* out)
{
    if (!isScalar(a)) {
        a.eigenvalues(out);
        return;
    }
    out[0] = a.get(0, 0);
}

// sums[l] := Σₖ a[l][k]·b[k] for k = 0 .. length-1, each summed in order from 0.
void fourDotProducts(const double* const a[4], const double* b, std::int32_t length,
                     double sums[4])
{
    double s0 = 0.0;
    double s1 = 0.0;
    double s2 = 0.0;
    double s3 = 0.0;
    for (std::int32_t k = 0; k < length; ++k) {
        s0 += a[0][k] * b[k];
        s1 += a[1][k] * b[k];
        s2 += a[2][k] * b[k];
        s3 += a[3][k] * b[k];
    }
    sums[0] = s0;
    sums[1] = s1;
    sums[2] = s2;
    sums[3] = s3;
}

} // namespace

Anova::Anova(std::int32_t newThreadIndex)
    : threadIndex(newThreadIndex), Y(&lapack), generator(&Y, &lapack, newThreadIndex),
      X(&lapack), simulationMeans(&lapack), simulationSDs(&lapack),
      simulationCorrelations(&lapack), observedMeans(&lapack), baseY(&lapack), baseX(&lapack),
      baseCovariance(&lapack), regroupedY(&lapack), regroupedX(&lapack), C(&lapack),
      M(&lapack), cellMeans(&lapack), contrastEstimate(&lapack), errorCovariance(&lapack),
      hypothesisSscp(&lapack), errorSscp(&lapack), hePlus(&lapack), univariateTest(&lapack),
      xtxInverse(&lapack), contrastMeans(&lapack),
      contrastInverse(&lapack), contrastDispersion(&lapack), dispersionPlus(&lapack),
      estimateDispersion(&lapack), residuals(&lapack),
      transformedCovariance(&lapack), errorSscpPlus(&lapack)
{
}

void Anova::setDesign(const YMatrix& newY, const RealMatrix& newX,
                      const std::vector<int>& newGroupStart,
                      const std::vector<int>& newBetweenLevels,
                      const std::vector<int>& newWithinLevels,
                      const GeneralMatrix<int>& newBetweenCombinations,
                      const GeneralMatrix<int>& newWithinCombinations,
                      std::int32_t newBetweenCount, std::int32_t newWithinCount)
{
    // The design's element pointers point into the design's storage, not ours.
    Y.copyFrom(newY);
    Y.releasePointers();
    X.copyFrom(newX);
    groupStart = newGroupStart;
    betweenLevels = newBetweenLevels;
    withinLevels = newWithinLevels;
    betweenCombinations.copyFrom(newBetweenCombinations);
    newWithinCombinations.transpose(withinCombinations);
    betweenCount = newBetweenCount;
    withinCount = newWithinCount;
}

void Anova::setEffect(const RealMatrix& newC, const RealMatrix& newM,
                      const std::vector<int>& newWithinIndices,
                      const std::vector<int>& newBetweenIndices)
{
    C.copyFrom(newC);
    M.copyFrom(newM);
    withinIndices = newWithinIndices;
    betweenIndices = newBetweenIndices;
}

void Anova::setEffectName(const std::string& name)
{
    effectNameText = name;
}

std::string Anova::effectName() const
{
    return effectNameText;
}

bool Anova::compute()
{
    if (!buildModel()) {
        return false;
    }
    computeTests();
    return true;
}

bool Anova::buildModel()
{
    countObservations();
    // Full column rank of X is what makes XᵀX invertible; a between cell without
    // participants leaves a zero column, and the LU inverse would report nothing.
    if (rankX < static_cast<double>(X.getCols())) {
        return false;
    }
    estimateCellMeans();
    estimateContrast();
    formHypothesisSscp();
    formErrorSscp();
    return solveEigenproblem();
}

void Anova::countObservations()
{
    n = static_cast<double>(Y.getRows());
    locateCells();
    // For a cell indicator the columns of X are orthogonal and XᵀX is diagonal with the
    // cell sizes n_g, so the singular values of X are sqrt(n_g): at least 1 for an occupied
    // cell, exactly 0 for an empty one. The number of singular values above
    // SINGULAR_VALUE_TOLERANCE is therefore exactly the number of occupied cells, and the
    // SVD of the N x G matrix is not needed.
    const auto occupied = std::count_if(cellSizes.begin(), cellSizes.end(),
                                        [](int size) { return size > 0; });
    rankX = static_cast<double>(occupied);
}

void Anova::locateCells()
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

void Anova::estimateCellMeans()
{
    // XᵀX of a cell indicator is diagonal with the cell sizes. Its LU inverse is diagonal
    // too, with 1/n_g on the diagonal (dgetrf pivots on the diagonal and dgetri inverts the
    // diagonal U), so A is formed directly. Row g of A Xᵀ then holds A(g, g) at the
    // participants of cell g and zeros elsewhere, and row g of B = (A Xᵀ) Y is the sum, in
    // participant order as dgemm forms it, of A(g, g) times the rows of Y of cell g: skipping
    // the products with zero gives the same sums in O(N·P) instead of O(G·N·P).
    const std::int32_t cells = X.getCols();
    const std::int32_t participants = Y.getRows();
    const std::int32_t columns = Y.getCols();
    xtxInverse.resize(cells, cells);
    for (std::int32_t g = 0; g < cells; ++g) {
        xtxInverse.set(g, g, 1.0 / static_cast<double>(cellSizes[static_cast<std::size_t>(g)]));
    }
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

void Anova::estimateContrast()
{
    C.multiply(cellMeans, contrastMeans, false, false);
    contrastMeans.multiply(M, contrastEstimate, false, false);
    q = static_cast<double>(contrastEstimate.getRows());
    t = static_cast<double>(contrastEstimate.getCols());
}

void Anova::formHypothesisSscp()
{
    C.multiply(xtxInverse, contrastInverse, false, false);
    contrastInverse.multiply(C, contrastDispersion, false, true);
    symmetricPseudoInverse(contrastDispersion, dispersionPlus);
    contrastEstimate.multiply(dispersionPlus, estimateDispersion, true, false);
    estimateDispersion.multiply(contrastEstimate, hypothesisSscp, false, false);
}

void Anova::formErrorSscp()
{
    formErrorCovariance();
    M.multiply(errorCovariance, transformedCovariance, true, false);
    transformedCovariance.multiply(M, errorSscp, false, false);
    errorSscp.scaleInPlace(n - rankX);
}

void Anova::formErrorCovariance()
{
    // S from the residuals Y - XB rather than from Yᵀ(I - X(XᵀX)⁻¹Xᵀ)Y: the same matrix,
    // but linear in N instead of forming the N x N hat matrix, and without subtracting two
    // large sums of squares from each other.
    formResiduals();
    crossProductOfResiduals();
    errorCovariance.divideInPlace(n - rankX);
}

void Anova::formResiduals()
{
    // Row k of X B is row cell(k) of B for a cell indicator; the other products are zero.
    const std::int32_t participants = Y.getRows();
    const std::int32_t columns = Y.getCols();
    residuals.resize(participants, columns);
    const int* cellOf = cellOfParticipant.data();
    for (std::int32_t p = 0; p < columns; ++p) {
        const double* y = Y.dataPointer() + static_cast<std::size_t>(participants) * p;
        const double* means =
            cellMeans.dataPointer() + static_cast<std::size_t>(cellMeans.getRows()) * p;
        double* r = residuals.dataPointer() + static_cast<std::size_t>(participants) * p;
        for (std::int32_t k = 0; k < participants; ++k) {
            r[k] = y[k] - means[cellOf[k]];
        }
    }
}

void Anova::crossProductOfResiduals()
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

bool Anova::solveEigenproblem()
{
    symmetricPseudoInverse(errorSscp, errorSscpPlus);
    hypothesisSscp.multiply(errorSscpPlus, hePlus, false, false);
    heEigenvalues.assign(static_cast<std::size_t>(hePlus.getRows()), 0.0);
    const double* first = hePlus.dataPointer();
    const double* last = first + hePlus.getSize();
    if (std::any_of(first, last, [](double element) { return std::isnan(element); })) {
        return false;
    }
    eigenvalues(hePlus, heEigenvalues.data());
    return true;
}

void Anova::computeTests()
{
    // The engine's dimensions are whole numbers held as doubles; the tests take them as
    // ints.
    const auto nInt = static_cast<std::int32_t>(n);
    const auto rankInt = static_cast<std::int32_t>(rankX);
    const auto qInt = static_cast<std::int32_t>(q);
    const auto tInt = static_cast<std::int32_t>(t);
    pillaiTest.initialize(&hePlus, heEigenvalues.data(), nInt, rankInt, qInt, tInt);
    wilksTest.initialize(&hePlus, heEigenvalues.data(), nInt, rankInt, qInt, tInt);
    hotellingTest.initialize(&hePlus, heEigenvalues.data(), nInt, rankInt, qInt, tInt);
    univariateTest.initialize(&hypothesisSscp, &errorSscp, nInt, rankInt, qInt, tInt);
    pillaiTest.compute();
    wilksTest.compute();
    hotellingTest.compute();
    univariateTest.compute();
}
