#pragma once

#include "numeric/DecimalSeparator.h"
#include "platform/MessageSink.h"
#include "simulation/SimulationResult.h"
#include "stats/SimulationParameters.h"

#include <cstdint>
#include <optional>
#include <string>

/// The input fields and choices of the simulation window as the user left them, read into
/// the simulation parameters, and the texts of its result. The window hands over its
/// widgets' texts and shows what comes back; every number is parsed and checked here.
struct SimulationFields {
    /// The fields in the order they are read; a refused field gets the focus.
    enum class Field {
        Passes,
        CriticalAlpha,
        MaxInspections,
        PerInspection,
        PerGroup,
        TargetPower
    };

    /// The largest number of passes, inspections and participants a field takes.
    static constexpr std::int32_t MAX_COUNT = 2'000'000'000;
    /// The fewest participants per group with "Replace original matrix".
    static constexpr std::int32_t MIN_PER_GROUP = 2;

    /// Why the fields were refused: the message for the box and the field to focus.
    struct Refusal {
        Field field = Field::Passes;
        std::string title;
        std::string text;
        MessageIcon icon = MessageIcon::Exclamation;
    };

    /// Reads every field in order and checks its range (passes 1..2000000000, critical alpha
    /// 1e-12..0.999999999999, inspections and participants per inspection 0..2000000000);
    /// with "Replace original matrix" chosen the participants per group must be an integer
    /// of at least 2; a target power, when given, must lie strictly between 0 and 1 and
    /// needs power simulated. The first field that is not a number of its kind, or out of
    /// its range, refuses the whole input and parameters stay as they were. Otherwise the
    /// choices and the five numbers are copied into parameters (participants per group
    /// only while its field is shown, that is with "Replace original matrix"); a
    /// calibration or a target power records the looks too. analysisIndex and
    /// useCustomMatrices are left alone. Numbers are written with the user's decimal
    /// separator, blanks around them allowed.
    std::optional<Refusal> readInto(SimulationParameters& parameters,
                                    DecimalSeparator separator) const;

    /// The target power of fields that readInto accepts; nothing for an empty field. The
    /// look table reports the first look that reaches it.
    std::optional<double> targetPowerValue(DecimalSeparator separator) const;

    /// "Actual number of simulation passes": the count as a whole number.
    static std::string actualPassesText(const SimulationResult& result);
    /// The probability shown as the result: "%.10g" with the user's separator; "inf" when
    /// the random numbers ran out (there is no probability then); empty for any other
    /// run that did not complete, so that an error never leaves an earlier result shown.
    static std::string probabilityText(const SimulationResult& result, DecimalSeparator separator);

    // A new value holds the window's fields as it opens.
    std::string passes = "100000";
    std::string criticalAlpha = "0.05";
    std::string maxAdditionalInspections = "4";
    std::string participantsPerInspection = "10";
    std::string participantsPerGroup = "10";
    /// "Target power": empty for none.
    std::string targetPower;
    /// "Simulate alpha error probability" rather than "Simulate power (1 - beta error prob.)".
    bool simulateAlpha = true;
    /// "Assume homogeneity of variances": "Yes".
    bool assumeHomogeneity = false;
    /// "Replace original matrix": "Yes".
    bool replaceOriginalMatrix = false;
    /// "Record every look".
    bool recordLooks = false;
    /// "Calibrate alpha".
    bool calibrateAlpha = false;
};
