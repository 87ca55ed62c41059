#pragma once

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"
#include "stats/ComputeFailure.h"
#include "stats/EpsilonCorrection.h"
#include "stats/HotellingTest.h"
#include "stats/MauchlyTest.h"
#include "stats/PillaiTest.h"
#include "stats/RoyTest.h"
#include "stats/UnivariateTest.h"
#include "stats/WilksTest.h"

#include <cstdint>
#include <vector>

/// The multivariate linear model of one effect (between hypothesis matrix C, q x G; within
/// transformation M, P x t) on given data (within data Y, N x P; cell indicator X, N x G):
/// the hypothesis C B M = 0 for the cell means B, the eight analyses of the effect through
/// its test objects and the test of the sphericity of its error covariance.
class LinearModel {
public:
    /// Its matrices and tests use workspace, which must outlive the model.
    explicit LinearModel(LapackWorkspace* workspace);
    LinearModel(const LinearModel&) = delete;
    LinearModel& operator=(const LinearModel&) = delete;

    /// Copies the effect.
    void setEffect(const RealMatrix& newC, const RealMatrix& newM);

    /// Builds the model of Y and X and runs the tests. Returns false, leaving every
    /// test with its previous results, when the effect cannot be computed at all: a between
    /// cell has no participant (X has a zero column, so XᵀX is singular and its inverse
    /// meaningless), the data or a sum formed from them is not finite, or LAPACK fails;
    /// getLastFailure says which. Analyses without error degrees of freedom or with a singular
    /// E are not a failure: their tests report themselves not available. X must be a cell
    /// indicator (entries 0 and 1, one 1 per row).
    bool compute(const YMatrix& Y, const RealMatrix& X);
    /// Why the last compute failed; ComputeFailure::None after a successful one.
    ComputeFailure getLastFailure() const { return failure; }
    /// n, rank(X), B and S of Y and X, without the tests.
    void estimateErrorCovariance(const YMatrix& Y, const RealMatrix& X);
    /// Keeps S, which the samples of a run overwrite, as the base of the run.
    void saveErrorCovariance();
    /// S := the kept S.
    void restoreErrorCovariance();

    const PillaiTest& getPillaiTest() const { return pillaiTest; }
    const WilksTest& getWilksTest() const { return wilksTest; }
    const HotellingTest& getHotellingTest() const { return hotellingTest; }
    const RoyTest& getRoyTest() const { return royTest; }
    /// Both univariate analyses, uncorrected and Greenhouse-Geisser.
    const UnivariateTest& getUnivariateTest() const { return univariateTest; }
    const EpsilonCorrection& getHuynhFeldtTest() const { return huynhFeldtTest; }
    const EpsilonCorrection& getLowerBoundTest() const { return lowerBoundTest; }
    const MauchlyTest& getMauchlyTest() const { return mauchlyTest; }
    /// The error covariance S (P x P) of the last compute or estimateErrorCovariance.
    const RealMatrix& getErrorCovariance() const { return errorCovariance; }

private:
    ComputeFailure buildModel(const YMatrix& Y, const RealMatrix& X);
    void computeTests();
    /// NonFiniteData when Y holds an infinity or NaN, else Overflow.
    static ComputeFailure nonFiniteCause(const YMatrix& Y);

    // The steps of buildModel.
    /// n := N and rankX := rank(X), the number of occupied cells.
    void countObservations(const YMatrix& Y, const RealMatrix& X);
    /// cellOfParticipant and cellSizes of the cell indicator X.
    void locateCells(const RealMatrix& X);
    /// B := (XᵀX)⁻¹ XᵀY, keeping (XᵀX)⁻¹ for the hypothesis SSCP.
    void estimateCellMeans(const YMatrix& Y, const RealMatrix& X);
    /// CBM, q and t.
    void estimateContrast();
    /// H := (CBM)ᵀ (C (XᵀX)⁻¹ Cᵀ)⁺ (CBM); false when the pseudo-inverse fails.
    bool formHypothesisSscp();
    /// S, then E := Mᵀ S M · (N - r); E := 0 (t x t) when N - r is not positive.
    void formErrorSscp(const YMatrix& Y);
    /// The bound at or below which an eigenvalue of E is rounding noise of the data.
    double errorFloor(const YMatrix& Y) const;
    /// S := (Y - XB)ᵀ(Y - XB) / (N - r).
    void formErrorCovariance(const YMatrix& Y);
    /// residuals := Y - X B; dataMagnitude := max |y|.
    void formResiduals(const YMatrix& Y);
    /// errorCovariance := RᵀR of the residuals.
    void crossProductOfResiduals();
    /// E⁺ and the rank of E; when E has full rank, H E⁺ and its eigenvalues. Overflow when
    /// H E⁺ is not finite.
    ComputeFailure solveEigenproblem(const YMatrix& Y);

    RealMatrix C;
    RealMatrix M;
    RealMatrix cellMeans;
    RealMatrix contrastEstimate;
    RealMatrix errorCovariance;
    /// S at the start of a simulation run.
    RealMatrix baseCovariance;
    RealMatrix hypothesisSscp;
    RealMatrix errorSscp;
    /// H E⁺; overwritten by the eigenvalue routine, so afterwards only its shape is valid.
    RealMatrix hePlus;
    std::vector<double> heEigenvalues;
    double n = -99.0;
    double rankX = -99.0;
    double q = -99.0;
    double t = -99.0;
    /// The rank of E (0 without error degrees of freedom), the largest |y| of the data.
    std::int32_t errorRank = -99;
    double dataMagnitude = -99.0;
    ComputeFailure failure = ComputeFailure::None;
    PillaiTest pillaiTest;
    WilksTest wilksTest;
    HotellingTest hotellingTest;
    UnivariateTest univariateTest;
    RoyTest royTest;
    EpsilonCorrection huynhFeldtTest;
    EpsilonCorrection lowerBoundTest;
    MauchlyTest mauchlyTest;

    // Working values of buildModel, kept as fields so that they are not rebuilt on every
    // compute. cellOfParticipant and cellSizes describe the cell indicator X.
    std::vector<int> cellOfParticipant;
    std::vector<int> cellSizes;
    RealMatrix xtxInverse;
    RealMatrix contrastMeans;
    RealMatrix contrastInverse;
    RealMatrix contrastDispersion;
    RealMatrix dispersionPlus;
    RealMatrix estimateDispersion;
    RealMatrix residuals;
    RealMatrix transformedCovariance;
    RealMatrix errorSscpPlus;
};
