// The simulation window's fields read into the simulation parameters.
#include "app/SimulationFields.h"

#include <gtest/gtest.h>

#include <limits>

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
    SimulationParameters parameters;
    parameters.analysisIndex = 4;
    parameters.useCustomMatrices = 1;
    ASSERT_EQ(outcome(SimulationFields{}, parameters), "accepted");
    EXPECT_EQ(parameters.numberOfPasses, 100000);
    // Exactly 0.05, not the single-precision value the record starts with.
    EXPECT_EQ(parameters.criticalAlpha, 0.05);
    EXPECT_EQ(parameters.maxAdditionalInspections, 4);
    EXPECT_EQ(parameters.participantsPerInspection, 10);
    EXPECT_EQ(parameters.simulateAlpha, 1);
    EXPECT_EQ(parameters.assumeHomogeneity, 0);
    EXPECT_EQ(parameters.replaceOriginalMatrix, 0);
    // Neither the analysis nor the custom matrices belong to the window's fields.
    EXPECT_EQ(parameters.analysisIndex, 4);
    EXPECT_EQ(parameters.useCustomMatrices, 1);
}

TEST(SimulationFields, ChoicesAreCopied)
{
    SimulationFields fields;
    fields.simulateAlpha = false;
    fields.assumeHomogeneity = true;
    fields.replaceOriginalMatrix = true;
    fields.participantsPerGroup = "12";
    SimulationParameters parameters;
    ASSERT_EQ(outcome(fields, parameters), "accepted");
    EXPECT_EQ(parameters.simulateAlpha, 0);
    EXPECT_EQ(parameters.assumeHomogeneity, 1);
    EXPECT_EQ(parameters.replaceOriginalMatrix, 1);
    EXPECT_EQ(parameters.participantsPerGroup, 12);
}

TEST(SimulationFields, RangeLimitsAreInclusive)
{
    SimulationFields fields;
    fields.passes = "2000000000";
    fields.criticalAlpha = "1e-12";
    fields.maxAdditionalInspections = "0";
    fields.participantsPerInspection = "2000000000";
    SimulationParameters parameters;
    ASSERT_EQ(outcome(fields, parameters), "accepted");
    EXPECT_EQ(parameters.numberOfPasses, 2000000000);
    EXPECT_EQ(parameters.criticalAlpha, 1e-12);
    EXPECT_EQ(parameters.maxAdditionalInspections, 0);
    EXPECT_EQ(parameters.participantsPerInspection, 2000000000);
    fields.criticalAlpha = "0.999999999999";
    ASSERT_EQ(outcome(fields, parameters), "accepted");
    EXPECT_EQ(parameters.criticalAlpha, 0.999999999999);
}

TEST(SimulationFields, OutOfRangeNamesTheRangeAndFocusesTheField)
{
    SimulationFields fields;
    fields.passes = "0";
    SimulationParameters parameters;
    auto refusal = fields.readInto(parameters, POINT);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "Please enter an integer between 1 and 2000000000.");
    EXPECT_EQ(refusal->field, SimulationFields::Field::Passes);
    EXPECT_EQ(refusal->title, "Veltmark");
    EXPECT_EQ(refusal->icon, MessageIcon::Exclamation);

    fields = SimulationFields{};
    fields.criticalAlpha = "1";
    refusal = fields.readInto(parameters, POINT);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "Please enter a number between 1e-12 and 0.999999999999.");
    EXPECT_EQ(refusal->field, SimulationFields::Field::CriticalAlpha);

    fields = SimulationFields{};
    fields.maxAdditionalInspections = "-1";
    refusal = fields.readInto(parameters, POINT);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "Please enter an integer between 0 and 2000000000.");
    EXPECT_EQ(refusal->field, SimulationFields::Field::MaxInspections);

    fields = SimulationFields{};
    fields.participantsPerInspection = "2000000001";
    refusal = fields.readInto(parameters, POINT);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field, SimulationFields::Field::PerInspection);
}

TEST(SimulationFields, TextsThatAreNoNumberOfTheirKind)
{
    SimulationParameters parameters;
    for (const char* text : {"", "abc", "12x", "1.5", "1e3", "99999999999999999999"}) {
        SimulationFields fields;
        fields.passes = text;
        EXPECT_EQ(outcome(fields, parameters), "Please enter an integer.") << text;
    }
    for (const char* text : {"", "x", "0.05x", "0,05", "1e", ".", "--1"}) {
        SimulationFields fields;
        fields.criticalAlpha = text;
        EXPECT_EQ(outcome(fields, parameters), "Please enter a number.") << text;
    }
}

TEST(SimulationFields, NumbersUseTheUsersSeparatorAndMayHaveBlanks)
{
    SimulationFields fields;
    fields.criticalAlpha = " 0,01 ";
    fields.passes = " 500 ";
    SimulationParameters parameters;
    ASSERT_EQ(outcome(fields, parameters, COMMA), "accepted");
    EXPECT_EQ(parameters.criticalAlpha, 0.01);
    EXPECT_EQ(parameters.numberOfPasses, 500);
    fields.criticalAlpha = "0.01";
    EXPECT_EQ(outcome(fields, parameters, COMMA), "Please enter a number.");
    fields.criticalAlpha = "5e-2";
    ASSERT_EQ(outcome(fields, parameters, COMMA), "accepted");
    EXPECT_EQ(parameters.criticalAlpha, 0.05);
}

TEST(SimulationFields, ReplacingTheMatrixNeedsTwoParticipantsPerGroup)
{
    SimulationFields fields;
    fields.replaceOriginalMatrix = true;
    fields.participantsPerGroup = std::string(1, '1');
    SimulationParameters parameters;
    const SimulationParameters before = parameters;
    const auto refusal = fields.readInto(parameters, POINT);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "Please choose a minimum of 2 subjects.");
    EXPECT_EQ(refusal->title, "Veltmark");
    EXPECT_EQ(refusal->icon, MessageIcon::Exclamation);
    EXPECT_EQ(refusal->field, SimulationFields::Field::PerGroup);
    // A refused input changes no parameter, not even those read before the refusal.
    EXPECT_EQ(parameters.numberOfPasses, before.numberOfPasses);
    EXPECT_EQ(parameters.criticalAlpha, before.criticalAlpha);
    EXPECT_EQ(parameters.replaceOriginalMatrix, 0);
}

TEST(SimulationFields, HiddenGroupSizeIsNeitherCheckedNorCopied)
{
    SimulationFields fields;
    fields.participantsPerGroup = std::string(1, '1');
    SimulationParameters parameters;
    ASSERT_EQ(outcome(fields, parameters), "accepted");
    EXPECT_EQ(parameters.participantsPerGroup, 5);
}

TEST(SimulationFields, ResultTexts)
{
    SimulationResult completed;
    completed.outcome = SimulationOutcome::Completed;
    completed.actualPasses = 12;
    completed.probability = 1.0 / 3.0;
    EXPECT_EQ(SimulationFields::actualPassesText(completed), "12");
    EXPECT_EQ(SimulationFields::probabilityText(completed, POINT), "0.3333333333");
    EXPECT_EQ(SimulationFields::probabilityText(completed, COMMA), "0,3333333333");
    completed.probability = 0.05;
    EXPECT_EQ(SimulationFields::probabilityText(completed, POINT), "0.05");
    completed.probability = 1.0;
    EXPECT_EQ(SimulationFields::probabilityText(completed, POINT), "1");

    SimulationResult exhausted;
    exhausted.outcome = SimulationOutcome::RandomNumbersExhausted;
    exhausted.actualPasses = 8;
    EXPECT_EQ(SimulationFields::probabilityText(exhausted, POINT), "inf");
    EXPECT_EQ(SimulationFields::actualPassesText(exhausted), "8");

    SimulationResult invalid;
    invalid.outcome = SimulationOutcome::InvalidCorrelation;
    invalid.probability = 0.5;
    EXPECT_EQ(SimulationFields::probabilityText(invalid, POINT), "");
}
