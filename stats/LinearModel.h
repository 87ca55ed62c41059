#pragma once

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"
#include "stats/AnalysisIndex.h"
#include "stats/ComputeFailure.h"
#include "stats/EpsilonCorrection.h"
#include "stats/FTailMemo.h"
#include "stats/HotellingTest.h"
#include "stats/MauchlyTest.h"
#include "stats/PillaiTest.h"
#include "stats/RoyTest.h"
#include "stats/UnivariateTest.h"
#include "stats/WilksTest.h"

#include <bitset>
#include <cstdint>
#include <vector>

/// The multivariate linear model of one effect (between hypothesis matrix C, q x G; within
/// transformation M, P x t) on given data (within data Y, N x P; cell indicator X, N x G):
/// the hypothesis C B M = 0 for the cell means B, the eight analyses of the effect through
/// its test objects and the test of the sphericity of its error covariance.
class LinearModel {
public:
    /// A set of analyses, indexed by AnalysisIndex.
    using Analyses = std::bitset<ANALYSIS_COUNT>;
    /// Every analysis: what the compute command and the results table show.
    static Analyses allAnalyses() { return Analyses().set(); }

    /// Its matrices and tests use workspace, which must outlive the model.
    explicit LinearModel(LapackWorkspace* workspace);
    LinearModel(const LinearModel&) = delete;
    LinearModel& operator=(const LinearModel&) = delete;

    /// Copies the effect.
    void setEffect(const RealMatrix& newC, const RealMatrix& newM);
    /// The analyses the following computes must give; allAnalyses until set otherwise. The
    /// tests of the other analyses keep their previous results, and the sphericity test runs
    /// only with every analysis. A simulation's look reads one p and needs the rest not. The
    /// uncorrected univariate analysis and its three corrections all run UnivariateTest whole:
    /// a Greenhouse-Geisser epsilon that cannot be formed makes its uncorrected p unavailable
    /// too, and the Huynh-Feldt epsilon is formed from it.
    void setNeededAnalyses(Analyses analyses) { neededAnalyses = analyses; }

    /// Builds the model of Y and X and runs the tests. Returns false, leaving every
    /// test with its previous results, when the effect cannot be computed at all: a between
    /// cell has no participant (X has a zero column, so XᵀX is singular and its inverse
    /// meaningless), the data or a sum formed from them is not finite, or LAPACK fails;
    /// getLastFailure says which. Analyses without error degrees of freedom or with a singular
    /// E are not a failure: their tests report themselves not available. X must be a cell
    /// indicator (entries 0 and 1, one 1 per row).
    bool compute(const YMatrix& Y, const RealMatrix& X);
    /// The same model and tests from the sufficient statistics of a sample: the cell means
    /// B (G x P), the cell sizes n_g (G) and the pooled within-cell SSCP Σ_g Σ_i (y - b_g)
    /// (y - b_g)ᵀ (P x P). compute on rows with these statistics gives the same results up to
    /// rounding; a cell of size 0 is EmptyGroup, and non-finite means are NonFiniteData.
    /// There are no rows, so no residuals are formed.
    bool computeFromSummary(const RealMatrix& means, const std::vector<int>& groupSizes,
                            const RealMatrix& sscp);
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
    // compute and computeFromSummary fit the model in their own way and share the rest.
    /// n, rank(X), B and S of rows: EmptyGroup when a cell has no participant.
    ComputeFailure fitRows(const YMatrix& Y, const RealMatrix& X);
    /// n, rank(X), B and S of a summary: EmptyGroup when a cell has size 0.
    ComputeFailure fitSummary(const RealMatrix& means, const std::vector<int>& groupSizes,
                              const RealMatrix& sscp);
    /// From the fit: the contrast, H, E and the eigenproblem. Overflow when a number formed
    /// from the data is not finite (the caller tells non-finite data apart).
    ComputeFailure analyseFit();
    /// Runs the tests unless the compute failed; whether it succeeded.
    bool finishCompute();
    void computeTests();

    // The steps of the fits.
    /// cellOfParticipant and cellSizes of the cell indicator X.
    void locateCells(const RealMatrix& X);
    /// rankX := the number of cells with participants.
    void countOccupiedCells();
    /// (XᵀX)⁻¹ = diag(1 / n_g) from the cell sizes.
    void invertCellSizes();
    /// B := (XᵀX)⁻¹ XᵀY, keeping (XᵀX)⁻¹ for the hypothesis SSCP.
    void estimateCellMeans(const YMatrix& Y);
    /// S := (Y - XB)ᵀ(Y - XB) / (N - r).
    void formErrorCovariance(const YMatrix& Y);
    /// residuals := Y - X B; dataMagnitude := max |y|.
    void formResiduals(const YMatrix& Y);
    /// errorCovariance := RᵀR of the residuals.
    void crossProductOfResiduals();

    // The steps of analyseFit.
    /// CBM, q and t.
    void estimateContrast();
    /// H := (CBM)ᵀ (C (XᵀX)⁻¹ Cᵀ)⁺ (CBM); false when the pseudo-inverse fails.
    bool formHypothesisSscp();
    /// dispersionPlus := (C (XᵀX)⁻¹ Cᵀ)⁺; false when the pseudo-inverse fails.
    bool invertContrastDispersion();
    /// E := Mᵀ S M · (N - r); E := 0 (t x t) when N - r is not positive.
    void formErrorSscp();
    /// The bound at or below which an eigenvalue of E is rounding noise of the data.
    double errorFloor() const;
    /// The rank of E; when E has full rank and a MANOVA test is needed, E's Cholesky factor
    /// and the eigenvalues of H E⁻¹.
    ComputeFailure solveEigenproblem();
    /// Whether any of the four MANOVA tests is needed.
    bool needsMultivariateTests() const;
    /// E's Cholesky factor and the eigenvalues of H E⁻¹ for an E of full rank. Overflow when
    /// they are not finite.
    ComputeFailure solveForFullRankError();

    RealMatrix C;
    RealMatrix M;
    RealMatrix cellMeans;
    RealMatrix contrastEstimate;
    RealMatrix errorCovariance;
    /// S at the start of a simulation run.
    RealMatrix baseCovariance;
    RealMatrix hypothesisSscp;
    RealMatrix errorSscp;
    /// The upper Cholesky factor R of E = RᵀR, formed when E has full rank and a MANOVA test
    /// is needed; the sphericity test reads it too.
    RealMatrix errorFactor;
    /// R⁻ᵀ H R⁻¹ (upper triangle), whose eigenvalues are those of H E⁻¹.
    RealMatrix reducedHypothesis;
    /// The eigenvalues of H E⁻¹ in ascending order; zeros when E is singular.
    std::vector<double> heEigenvalues;
    /// The eigenvalues of E in ascending order, which give its rank.
    std::vector<double> errorEigenvalues;
    double n = -99.0;
    double rankX = -99.0;
    double q = -99.0;
    double t = -99.0;
    /// The rank of E (0 without error degrees of freedom): the number of its eigenvalues above
    /// the zero bound, or one less when they all are but its Cholesky factorisation fails;
    /// the largest |y| of the data (of
    /// the cell means after computeFromSummary).
    std::int32_t errorRank = -99;
    double dataMagnitude = -99.0;
    ComputeFailure failure = ComputeFailure::None;
    Analyses neededAnalyses = allAnalyses();
    PillaiTest pillaiTest;
    WilksTest wilksTest;
    HotellingTest hotellingTest;
    UnivariateTest univariateTest;
    RoyTest royTest;
    EpsilonCorrection huynhFeldtTest;
    EpsilonCorrection lowerBoundTest;
    MauchlyTest mauchlyTest;
    /// The F tails of the current compute, shared by the tests.
    FTailMemo fTails;

    // Working values of buildModel, kept as fields so that they are not rebuilt on every
    // compute. cellOfParticipant and cellSizes describe the cell indicator X.
    std::vector<int> cellOfParticipant;
    std::vector<int> cellSizes;
    RealMatrix xtxInverse;
    RealMatrix contrastMeans;
    RealMatrix contrastInverse;
    RealMatrix contrastDispersion;
    RealMatrix dispersionPlus;
    /// The cell sizes dispersionPlus was formed for; empty when it must be formed anew
    /// (after setEffect or a failed pseudo-inverse).
    std::vector<int> dispersionCellSizes;
    RealMatrix estimateDispersion;
    RealMatrix residuals;
    RealMatrix transformedCovariance;
};
