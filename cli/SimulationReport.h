#pragma once

#include "simulation/AlphaCalibration.h"
#include "simulation/LookTable.h"
#include "simulation/ProportionEstimate.h"

#include <cstdint>
#include <optional>
#include <string>

/// What "tamsel-cli simulate" reports of a completed run: the simulated effect and analysis,
/// the passes and their significant share, its uncertainty, and the seed that repeats the
/// run; with the look table, the shares look by look and the expected sample size; with a
/// target power, the first look that reaches it; with a calibration, the calibrated alpha.
struct SimulationReport {
    /// The target half-width of the probability's interval and whether the run reached it.
    struct Precision {
        double target = 0.0;
        bool reached = false;
    };

    /// The binomial standard error of the probability, sqrt(p (1 - p) / n).
    double standardError() const;
    /// The probability with its Wilson interval.
    ProportionEstimate probabilityEstimate() const;

    std::string effect;
    std::string analysis;
    /// Power (1 - beta) rather than the alpha error probability.
    bool power = false;
    std::int64_t actualPasses = -99;
    std::int64_t significant = -99;
    double probability = -99.0;
    /// The --seed of the run; none when the deviates came from random-numbers files.
    std::optional<std::uint32_t> seed;
    /// The kept observed sample was significant already, so every pass counted.
    bool observedSampleSignificant = false;
    /// Set for a run with --precision.
    std::optional<Precision> precision;
    /// Set when the run recorded every look.
    std::optional<LookTable> lookTable;
    /// --target-power, judged on the look table.
    std::optional<double> targetPower;
    /// Set when the run calibrated its critical alpha, which is then criticalAlpha; the
    /// --alpha asked for is targetAlpha.
    std::optional<CalibratedAlpha> calibratedAlpha;
    double criticalAlpha = -99.0;
    double targetAlpha = -99.0;
};

/// The report in words, one "label: value" line per figure, and a note when every pass
/// counted because the observed sample was significant; the look table as a table.
std::string formatReportText(const SimulationReport& report);
/// {"effect", "analysis", "power", "actualPasses", "significant", "probability",
/// "standardError", "ci95": [lo, hi], "seed", "observedSampleSignificant"} with the seed
/// null for random-numbers files; then "precision": {"target", "reached"} for a run with a
/// target precision, "alpha", "targetAlpha" and "calibratedAlpha" for a
/// calibration, "looks", "expectedParticipants" and "expectedParticipantsStandardError" for
/// the look table, and "required" (null when no look reaches the target) for a target
/// power.
std::string formatReportJson(const SimulationReport& report);
/// One csv row per look of the look table, under a header; numbers with the point and in
/// their shortest round-trip form, the group sizes joined by ";" in one quoted field.
std::string formatLookTableCsv(const LookTable& table);
