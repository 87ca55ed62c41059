// The simulation window's fields read into the simulation parameters.
#include "app/SimulationFields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const DecimalSeparator POINT('.');
const DecimalSeparator COMMA(',');

/// The message of the refusal, or "accepted".
std::string outcome(const SimulationFields& fields, SimulationParameters& parameters,
                    DecimalSeparator separator = POINT)
{
    const auto refusal = fields.readInto(parameters, separator);
    return refusal ? refusal->text : "accepted";
}

} // namespace

TEST(SimulationFields, DefaultsAreReadIntoEveryField)
{
    SimulationFields fields;
    // The group size is hidden without "Replace original matrix": neither checked nor copied.
    fields.participantsPerGroup = "1";
    SimulationParameters parameters;
    parameters.analysisIndex = 4;
    parameters.useCustomMatrices = 1;
    ASSERT_EQ(outcome(fields, parameters), "accepted");
    EXPECT_EQ(parameters.numberOfPasses, 100000);
    // Exactly 0.05, not the single-precision value the record starts with.
    EXPECT_EQ(parameters.criticalAlpha, 0.05);
    EXPECT_EQ(parameters.participantsPerGroup, 5);
    // Neither the analysis nor the custom matrices belong to the window's fields.
    EXPECT_EQ(parameters.analysisIndex, 4);
    EXPECT_EQ(parameters.useCustomMatrices, 1);
}

TEST(SimulationFields, ChoicesAndNumbersUpToTheRangeLimitsAreCopied)
{
    SimulationFields fields;
    fields.simulateAlpha = false;
    fields.assumeHomogeneity = true;
    fields.replaceOriginalMatrix = true;
    fields.participantsPerGroup = "12";
    fields.passes = "2000000000";
    fields.criticalAlpha = "1e-12";
    fields.maxAdditionalInspections = "0";
    fields.participantsPerInspection = "2000000000";
    SimulationParameters parameters;
    ASSERT_EQ(outcome(fields, parameters), "accepted");
    EXPECT_EQ(parameters.simulateAlpha, 0);
    EXPECT_EQ(parameters.assumeHomogeneity, 1);
    EXPECT_EQ(parameters.replaceOriginalMatrix, 1);
    EXPECT_EQ(parameters.participantsPerGroup, 12);
    EXPECT_EQ(parameters.numberOfPasses, 2000000000);
    EXPECT_EQ(parameters.criticalAlpha, 1e-12);
    EXPECT_EQ(parameters.maxAdditionalInspections, 0);
    EXPECT_EQ(parameters.participantsPerInspection, 2000000000);
    fields.criticalAlpha = "0.999999999999";
    ASSERT_EQ(outcome(fields, parameters), "accepted");
    EXPECT_EQ(parameters.criticalAlpha, 0.999999999999);

    // Numbers are written with the user's separator and may have blanks around them.
    fields.criticalAlpha = " 0,01 ";
    fields.passes = " 500 ";
    ASSERT_EQ(outcome(fields, parameters, COMMA), "accepted");
    EXPECT_EQ(parameters.criticalAlpha, 0.01);
    EXPECT_EQ(parameters.numberOfPasses, 500);
    fields.criticalAlpha = "5e-2";
    ASSERT_EQ(outcome(fields, parameters, COMMA), "accepted");
    EXPECT_EQ(parameters.criticalAlpha, 0.05);
}

TEST(SimulationFields, FirstBadFieldIsRefusedAndNoParameterChanges)
{
    using Field = SimulationFields::Field;
    constexpr const char* INTEGER = "Please enter an integer.";
    constexpr const char* NUMBER = "Please enter a number.";
    constexpr const char* COUNT_RANGE = "Please enter an integer between 0 and 2000000000.";
    const auto passes = &SimulationFields::passes;
    const auto alpha = &SimulationFields::criticalAlpha;
    const auto perGroup = &SimulationFields::participantsPerGroup;
    const struct {
        std::string SimulationFields::*field;
        Field focus;
        const char* message;
        std::vector<const char*> texts;
        DecimalSeparator separator = POINT;
    } cases[] = {
        {passes, Field::Passes, "Please enter an integer between 1 and 2000000000.", {"0"}},
        {passes, Field::Passes, INTEGER,
         {"", "abc", "12x", "1.5", "1e3", "99999999999999999999", "+-5", "+-0", "++1"}},
        {alpha, Field::CriticalAlpha, "Please enter a number between 1e-12 and 0.999999999999.",
         {"1"}},
        {alpha, Field::CriticalAlpha, "Please enter a number between 1e-12 and 0,999999999999.",
         {"1"}, COMMA},
        {alpha, Field::CriticalAlpha, NUMBER, {"", "x", "0.05x", "0,05", "1e", ".", "--1"}},
        {alpha, Field::CriticalAlpha, NUMBER, {"0.01"}, COMMA},
        {&SimulationFields::maxAdditionalInspections, Field::MaxInspections, COUNT_RANGE, {"-1"}},
        {&SimulationFields::participantsPerInspection, Field::PerInspection, COUNT_RANGE,
         {"2000000001"}},
        {perGroup, Field::PerGroup, "Please choose a minimum of 2 subjects.", {"1"}},
        {perGroup, Field::PerGroup, "Please enter an integer between 2 and 2000000000.",
         {"2000000001"}},
        {perGroup, Field::PerGroup, INTEGER, {"x"}},
    };
    for (const auto& test : cases) {
        for (const char* text : test.texts) {
            SCOPED_TRACE(std::string("'") + text + "' with '" + test.separator.get() + "'");
            SimulationFields fields;
            fields.replaceOriginalMatrix = true;
            fields.*test.field = text;
            SimulationParameters parameters;
            const auto refusal = fields.readInto(parameters, test.separator);
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->text, test.message);
            EXPECT_EQ(refusal->field, test.focus);
            EXPECT_EQ(refusal->title, "Veltmark");
            EXPECT_EQ(refusal->icon, MessageIcon::Exclamation);
            // Not even the fields read before the refused one reach the parameters.
            const SimulationParameters before;
            EXPECT_EQ(parameters.numberOfPasses, before.numberOfPasses);
            EXPECT_EQ(parameters.criticalAlpha, before.criticalAlpha);
            EXPECT_EQ(parameters.replaceOriginalMatrix, before.replaceOriginalMatrix);
        }
    }
}

TEST(SimulationFields, ResultTexts)
{
    const struct {
        SimulationOutcome outcome;
        double probability;
        DecimalSeparator separator;
        const char* shown;
    } cases[] = {
        {SimulationOutcome::Completed, 1.0 / 3.0, POINT, "0.3333333333"},
        {SimulationOutcome::Completed, 1.0 / 3.0, COMMA, "0,3333333333"},
        {SimulationOutcome::Completed, 0.05, POINT, "0.05"},
        {SimulationOutcome::Completed, 1.0, POINT, "1"},
        // No probability when the random numbers ran out, none at all after an error.
        {SimulationOutcome::RandomNumbersExhausted, 0.5, POINT, "inf"},
        {SimulationOutcome::InvalidCorrelation, 0.5, POINT, ""},
    };
    for (const auto& test : cases) {
        SimulationResult result;
        result.outcome = test.outcome;
        result.probability = test.probability;
        result.actualPasses = 12;
        EXPECT_EQ(SimulationFields::probabilityText(result, test.separator), test.shown);
        EXPECT_EQ(SimulationFields::actualPassesText(result), "12");
    }
}
