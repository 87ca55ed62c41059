#pragma once

#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "stats/Sample.h"
#include "stats/SampleGenerator.h"

#include <cstdint>
#include <vector>

/// Draws the sufficient statistics of normal samples instead of their participants, so that
/// a look costs the same whatever the sample size: per group g the size n_g and the mean
/// vector, and over all groups the pooled within-group SSCP, which is all the model's tests
/// read (LinearModel::computeFromSummary). A group of n from N(μ_g, Σ_g) has the mean
/// μ_g + L_g z / sqrt(n) (z standard normal, L_g the lower Cholesky factor of Σ_g) and,
/// independent of it, the SSCP L_g W L_gᵀ with W ~ Wishart(n - 1, I): by Bartlett's
/// decomposition W = A Aᵀ (A lower triangular, A_ii² ~ χ²(n - 1 - i), A_ij standard
/// normal below the diagonal) when n - 1 >= P, else the sum of n - 1 outer products of
/// standard normal vectors. Σ_g = D_g R D_g with the group's SDs D_g and the correlations
/// R of the population, as the row sampler uses them, so L_g = D_g L with R = L Lᵀ.
///
/// Added participants are drawn the same way and merged exactly (n = n1 + n2, mean = (n1
/// m1 + n2 m2) / n, S = S1 + S2 + n1 n2 / n (m1 - m2)(m1 - m2)ᵀ), so that the looks of a
/// pass are nested like the rows the row sampler appends. The deviates come from the
/// generator's Mersenne Twister; the summary sampler has no file mode.
///
/// Threads: one per engine, used by that engine's thread only, like the generator it draws
/// from.
class SummarySampler {
public:
    /// Draws through generator; its matrices use workspace. Both must outlive the sampler.
    SummarySampler(SampleGenerator& generator, LapackWorkspace* workspace);
    SummarySampler(const SummarySampler&) = delete;
    SummarySampler& operator=(const SummarySampler&) = delete;

    /// means and sds (G x P), correlations (P x P); false when the correlations are not
    /// positive definite, and then nothing may be drawn.
    bool setPopulation(const RealMatrix& means, const RealMatrix& sds,
                       const RealMatrix& correlations);
    /// The exact summary of the sample's rows as they are now (its groups, their means and
    /// pooled SSCP) becomes the base, and the current summary.
    void saveBase(const Sample& sample);
    /// The current summary := the base.
    void restoreBase();
    /// A new sample of perGroup (>= 1) participants in every group. Returns StatusOk, or
    /// StatusInvalidCorrelation without drawing when the generator found the correlations of
    /// the data the population was estimated from invalid (as the row sampler does).
    std::int32_t drawNewSample(std::int32_t perGroup);
    /// count (>= 0) more participants in every group, merged into the current summary; the
    /// same statuses.
    std::int32_t addParticipants(std::int32_t count);

    const RealMatrix& getMeans() const { return means; }
    const std::vector<int>& getGroupSizes() const { return groupSizes; }
    const RealMatrix& getSscp() const { return sscp; }

private:
    /// StatusOk when the generator's data correlations allow drawing.
    std::int32_t drawingStatus() const;
    /// drawnMean := the mean of size participants of group g.
    void drawMean(std::int32_t g, std::int32_t size);
    /// sscp += D_g L W Lᵀ D_g with W ~ Wishart(degrees, I).
    void addWishartSscp(std::int32_t g, std::int32_t degrees);
    /// factor := L A for the Bartlett factor A (P x P lower triangular) of degrees >= P.
    void drawBartlettFactor(std::int32_t degrees);
    /// products[i·step] := Σ_{k = from..i} L_ik v_k for i = from .. P-1, each summed from
    /// k = from: L times a vector v whose entries before from are 0.
    void multiplyByLower(std::int32_t from, const double* v, double* products,
                         std::size_t step) const;
    /// factor := L Z for P x degrees standard normal deviates Z, degrees < P.
    void drawNormalFactor(std::int32_t degrees);

    SampleGenerator& generator;
    std::int32_t cells = 0;
    /// The population: μ and the SDs (G x P) and the lower factor L of the correlations,
    /// row-major P x P.
    RealMatrix populationMeans;
    RealMatrix populationSds;
    std::vector<double> lower;
    RealMatrix choleskyFactor;
    // The current summary and the base of every pass.
    RealMatrix means;
    std::vector<int> groupSizes;
    RealMatrix sscp;
    RealMatrix baseMeans;
    std::vector<int> baseGroupSizes;
    RealMatrix baseSscp;
    // Working values: a drawn group mean, the deviates of a Wishart draw (Z row-major, P rows
    // of factorColumns; Bartlett's A by columns) and their product F with L (row-major, P
    // rows of factorColumns).
    std::vector<double> drawnMean;
    std::vector<double> deviates;
    std::vector<double> factor;
    std::int32_t factorColumns = 0;
};
