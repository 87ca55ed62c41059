#pragma once

#include "numeric/GeneralMatrix.h"
#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"
#include "stats/HotellingTest.h"
#include "stats/PillaiTest.h"
#include "stats/UnivariateTest.h"
#include "stats/WilksTest.h"

#include <cstdint>
#include <string>
#include <vector>

/// The statistics engine. It holds one design (within data Y, N x P; cell indicator X,
/// N x G; the design's bookkeeping lists) and one effect (between hypothesis matrix C,
/// q x G; within transformation M, P x t), builds the multivariate linear model of the
/// hypothesis C B M = 0 for the cell means B, and runs the five analyses of the effect
/// through its four test objects.
///
/// Threads: the main window keeps one engine per worker thread. An engine is used by one
/// thread at a time and shares nothing with other engines: its matrices and tests use its
/// own LAPACK workspace. setDesign and setEffect copy their arguments, so the design may
/// change afterwards without affecting the engine.
class Anova {
public:
    /// threadIndex 0 is the engine whose results the results table shows.
    explicit Anova(std::int32_t threadIndex);
    Anova(const Anova&) = delete;
    Anova& operator=(const Anova&) = delete;

    /// Copies the design: Y without its element pointers, withinCombinations (withinCount x P
    /// in the Design) transposed to one combination per row.
    void setDesign(const YMatrix& newY, const RealMatrix& newX,
                   const std::vector<int>& newGroupStart, const std::vector<int>& newBetweenLevels,
                   const std::vector<int>& newWithinLevels,
                   const GeneralMatrix<int>& newBetweenCombinations,
                   const GeneralMatrix<int>& newWithinCombinations, std::int32_t newBetweenCount,
                   std::int32_t newWithinCount);
    /// Copies the effect. The index lists (0-based variables of the effect) are empty when
    /// the compute command sets the effect and filled by the simulation set-up.
    void setEffect(const RealMatrix& newC, const RealMatrix& newM,
                   const std::vector<int>& newWithinIndices,
                   const std::vector<int>& newBetweenIndices);
    void setEffectName(const std::string& name);
    std::string effectName() const;

    /// Builds the model and runs the four tests. Returns false, leaving every test with its
    /// previous results, when a between cell has no participant (X has a zero column, so
    /// XᵀX is singular and its inverse meaningless) or when H E⁺ holds a NaN.
    bool compute();

    const PillaiTest& getPillaiTest() const { return pillaiTest; }
    const WilksTest& getWilksTest() const { return wilksTest; }
    const HotellingTest& getHotellingTest() const { return hotellingTest; }
    /// Both univariate analyses, uncorrected and Greenhouse-Geisser.
    const UnivariateTest& getUnivariateTest() const { return univariateTest; }
    std::int32_t getThreadIndex() const { return threadIndex; }

private:
    bool buildModel();
    void computeTests();

    // The steps of buildModel.
    /// n := N and rankX := rank(X), from the cell sizes when X is a cell indicator.
    void countObservations();
    /// Whether X is a cell indicator (entries 0 or 1, one 1 per row); if so, fills
    /// cellOfParticipant and cellSizes.
    bool locateCells();
    /// B := (XᵀX)⁻¹ XᵀY, keeping (XᵀX)⁻¹ for the hypothesis SSCP.
    void estimateCellMeans();
    void estimateCellMeansOfIndicator();
    /// CBM, q and t.
    void estimateContrast();
    /// H := (CBM)ᵀ (C (XᵀX)⁻¹ Cᵀ)⁺ (CBM).
    void formHypothesisSscp();
    /// S := (Y - XB)ᵀ(Y - XB) / (N - r) and E := Mᵀ S M · (N - r).
    void formErrorSscp();
    /// residuals := Y - X B.
    void formResiduals();
    /// errorCovariance := RᵀR of the residuals.
    void crossProductOfResiduals();
    /// H E⁺ and its eigenvalues; false when H E⁺ holds a NaN.
    bool solveEigenproblem();

    LapackWorkspace lapack;
    std::int32_t threadIndex;
    // The simulation's sample generator and working matrices join the engine with the
    // simulation; the fields below are those of the analysis.
    YMatrix Y;
    RealMatrix X;
    RealMatrix C;
    RealMatrix M;
    RealMatrix cellMeans;
    RealMatrix contrastEstimate;
    RealMatrix errorCovariance;
    RealMatrix hypothesisSscp;
    RealMatrix errorSscp;
    /// H E⁺; overwritten by the eigenvalue routine, so afterwards only its shape is valid.
    RealMatrix hePlus;
    std::vector<int> groupStart;
    std::vector<double> heEigenvalues;
    double n = -99.0;
    double rankX = -99.0;
    double q = -99.0;
    double t = -99.0;
    /// The name of the current effect (the accessor effectName returns a copy).
    std::string effectNameText;
    PillaiTest pillaiTest;
    WilksTest wilksTest;
    HotellingTest hotellingTest;
    UnivariateTest univariateTest;
    std::int32_t betweenCount = -99;
    std::int32_t withinCount = -99;
    std::vector<int> betweenLevels;
    std::vector<int> withinLevels;
    GeneralMatrix<int> betweenCombinations;
    /// P x withinCount: one within combination per row.
    GeneralMatrix<int> withinCombinations;
    std::vector<int> withinIndices;
    std::vector<int> betweenIndices;

    // Working values of buildModel, kept as fields so that they are not rebuilt on every
    // compute. cellOfParticipant and cellSizes describe X when xIsIndicator; the products
    // cellWeights (A Xᵀ) and fitted (X B) are formed only for any other X.
    bool xIsIndicator = false;
    std::vector<int> cellOfParticipant;
    std::vector<int> cellSizes;
    RealMatrix xtxInverse;
    RealMatrix cellWeights;
    RealMatrix contrastMeans;
    RealMatrix contrastInverse;
    RealMatrix contrastDispersion;
    RealMatrix dispersionPlus;
    RealMatrix estimateDispersion;
    RealMatrix fitted;
    RealMatrix residuals;
    RealMatrix transformedCovariance;
    RealMatrix errorSscpPlus;
};
