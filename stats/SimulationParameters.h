#pragma once

#include <cstdint>

/// The settings of one simulation run: which analysis decides significance, alpha error
/// or power, the sequential design, the sample size, the number of passes and whether the
/// custom matrices replace the estimated ones. The main window owns one record, the
/// simulation window writes into it, and every worker thread receives a copy, so the
/// record holds plain values only. The flags are int32 (0 or 1) like the other fields.
struct SimulationParameters {
    /// The AnalysisIndex whose p value decides significance; the main window sets it from
    /// the analysis ticked in the results table.
    std::int32_t analysisIndex = 2;
    /// 1: alpha error probability (the tested effect removed from the population means);
    /// 0: power.
    std::int32_t simulateAlpha = 1;
    /// One pooled standard deviation for all cells.
    std::int32_t assumeHomogeneity = 0;
    /// Every pass draws a whole new sample of participantsPerGroup per group instead of
    /// starting from the observed data.
    std::int32_t replaceOriginalMatrix = 0;
    std::int32_t participantsPerGroup = 5;
    /// The passes of the run (with a targetHalfWidth, the most it runs).
    std::int32_t numberOfPasses = 10000;
    /// A look is significant when p <= criticalAlpha. The record starts at 0.05 as a
    /// single-precision number widened to double (0.05000000074505806), not at 0.05; the
    /// simulation window's own default is exactly 0.05 and replaces it at every run.
    double criticalAlpha = static_cast<double>(0.05F);
    /// Looks after the first one, each after adding participantsPerInspection to every
    /// group.
    std::int32_t maxAdditionalInspections = 4;
    std::int32_t participantsPerInspection = 10;
    /// 1 while the matrices of the custom-matrices editor replace the estimated ones.
    std::int32_t useCustomMatrices = 0;
    /// 1: every pass goes through all its looks, also after a significant one, and the
    /// worker counts per look (LookCounts). A pass still counts as significant when any of
    /// its looks is, so the probability is the same statistic as without recording.
    std::int32_t recordLooks = 0;
    /// 1: before the run proper, a null run of as many passes finds the one critical alpha
    /// of every look that holds the probability of any significant look at criticalAlpha;
    /// the run proper then uses that alpha. Implies recordLooks. Read by the run control;
    /// the worker ignores it.
    std::int32_t calibrateAlpha = 0;
    /// The run seed: with the Mersenne Twister every block of passes draws from a seed
    /// sequence of it, the block and the phase (SimulationPhase), so that a seed repeats a
    /// run on any number of threads. Random-numbers files ignore it. Read by the run
    /// control.
    std::uint32_t seed = 0;
    /// When positive, the run proper goes in rounds of SimulationRun::ROUND_BLOCKS blocks
    /// and stops after the first round after which the Wilson 95 % interval of the
    /// probability reaches at most this far on either side, or after numberOfPasses; the
    /// null run of a calibration runs all its passes. 0: every pass. Read by the run
    /// control.
    double targetHalfWidth = 0.0;
};
