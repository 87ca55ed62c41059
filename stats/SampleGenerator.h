#pragma once

#include "numeric/DecimalSeparator.h"
#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"
#include "numeric/YMatrix.h"
#include "stats/MersenneTwister.h"
#include "stats/PolarNormal.h"
#include "stats/Preferences.h"
#include "stats/RandomNumbersFile.h"

#include <cassert>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

/// Draws the simulated participants of an engine from its normal population. It writes
/// through the pointer view of the engine's Y (view column j = group j mod G, within
/// combination j div G; a group's places fill its columns from view row 0 and the places
/// below them are empty, null pointers). Each participant's P values are standard normal
/// deviates, correlated by the Cholesky factor of the population's correlation matrix,
/// then scaled by the SD and shifted by the mean of their cell. The deviates come from the
/// Mersenne Twister or from the thread's random-numbers file.
///
/// Threads: one generator per engine, used by that engine's thread only (the front end's
/// while no worker runs, the engine's worker during a run). It refers to the engine's Y
/// and workspace without owning them; it owns its matrices, engine state and file.
class SampleGenerator {
public:
    /// sample is the engine's Y, workspace the engine's; threadIndex selects the file.
    SampleGenerator(YMatrix* sample, LapackWorkspace* workspace, std::int32_t threadIndex);
    SampleGenerator(const SampleGenerator&) = delete;
    SampleGenerator& operator=(const SampleGenerator&) = delete;

    // The random source.

    /// Re-initialises the whole state of the Mersenne Twister from sequence and discards the
    /// normal deviate kept by the polar method, so that the deviates that follow depend on
    /// the sequence alone.
    void seed(std::seed_seq& sequence);
    /// The decimal separator of the random-numbers file; the point until it is set.
    void setDecimalSeparator(DecimalSeparator separator);
    /// Keeps a copy; in file mode opens the thread's file when none is open yet. An open
    /// file stays open, so a changed path does not reach it.
    void setPreferences(const Preferences& newPreferences);
    /// Opens path pathAt(threadIndex) of the preferences at its start; returns whether it
    /// could be opened.
    bool openRandomNumbersFile();
    /// Why the file of the file mode could not be opened; empty when it could.
    const std::string& getRandomNumbersFileError() const { return randomFile.openError(); }
    /// Whether the chosen source can deliver: always for the Mersenne Twister, for the file
    /// mode only when the file is open.
    bool hasRandomSource() const;
    /// The next standard normal deviate of the chosen source; false, with value unchanged,
    /// when the file has run out or is not open.
    bool nextDeviate(double& value);
    /// The next standard normal deviate of the Mersenne Twister, and a chi-square deviate
    /// with degrees > 0 degrees of freedom from the same engine (see chiSquareDeviate). Only
    /// in the Mersenne Twister mode: the summary sampler, their one user, has no file of
    /// chi-square deviates to read.
    double nextNormal()
    {
        assert(preferences.useMersenneTwister != 0);
        return normal(engine);
    }
    double nextChiSquare(double degrees);

    // The population and the sample.

    /// means and sds (G x P) in storage order as rows of G·P, which is the view-column
    /// order; correlations (P x P) and its upper Cholesky factor (dpotrf). False when the
    /// correlations are not positive definite: the factor is then partial, and no sample may
    /// be generated.
    bool setPopulation(const RealMatrix& means, const RealMatrix& sds,
                       const RealMatrix& correlations);
    /// The correlations of the viewed data between the view columns of each group, over the
    /// group's own participants (0 between columns of different groups, 1 on the diagonal),
    /// and whether every group's block is a valid correlation matrix. Removed (empty, and
    /// valid) when there is at most one within cell. Needs the view of all rows.
    void computeDataCorrelations(std::int32_t withinCount, const std::vector<int>& withinLevels,
                                 const std::vector<int>& groupStart);
    /// Fills every non-empty place of the view with a value of the population. Returns
    /// StatusOk; StatusRandomNumbersExhausted as soon as the file runs out (the values
    /// written so far stay); StatusRandomNumbersUnreadable at a token of the file too long
    /// to be a number; StatusInvalidCorrelation, after drawing, when there is more than
    /// one within cell and the data correlations are not valid.
    std::int32_t generateSample();
    /// False when an entry is NaN or beyond ±1.0000000001; true otherwise, also for an
    /// empty matrix. The tolerance admits the rounding of a computed correlation of ±1.
    static bool isValidCorrelationMatrix(const RealMatrix& matrix);

    const RealMatrix& getDataCorrelations() const { return dataCorrelations; }
    bool areDataCorrelationsValid() const { return dataCorrelationsValid; }

private:
    /// Deviates into every non-empty place, view row by view row, columns in order.
    bool drawDeviates();
    /// Each participant's row of P deviates times the Cholesky factor, group by group.
    void correlateWithinParticipants();
    void correlateParticipant(std::int32_t row, std::int32_t group, std::int32_t groups);
    void scaleAndShift();
    /// Pearson correlation of view columns i and j over their first n rows.
    double pearsonCorrelation(std::int32_t i, std::int32_t j, std::int32_t n) const;
    /// The non-empty places of view column j (a prefix of the column).
    std::int32_t getFilledRows(std::int32_t j) const;

    std::int32_t threadIndex;
    YMatrix* Y;
    /// (G·P) x (G·P), or empty with at most one within cell. Fixed for a run, so its
    /// validity is found once, when it is computed.
    RealMatrix dataCorrelations;
    bool dataCorrelationsValid = true;
    /// Upper R with RᵀR = correlationMatrix.
    RealMatrix choleskyFactor;
    RealMatrix meanVector;
    RealMatrix sdVector;
    RealMatrix correlationMatrix;
    Preferences preferences;
    RandomNumbersFile randomFile;
    MersenneTwister engine;
    PolarNormal normal;
    /// One participant's P deviates while they are correlated.
    std::vector<double> participantValues;
};
