// The simulation window's fields read into the simulation parameters.
#include "simulation/SimulationFields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

TEST(SimulationFields, DefaultsAndNumbersUpToTheRangeLimitsAreRead)
{
    SimulationFields fields;
    SimulationParameters parameters;
    ASSERT_FALSE(fields.readInto(parameters, DecimalSeparator('.')));
    EXPECT_EQ(parameters.criticalAlpha, 0.05) << "not the single-precision starting value";
    fields.replaceOriginalMatrix = true;
    fields.participantsPerGroup = "2";
    fields.passes = "2000000000";
    fields.criticalAlpha = " 0,999999999999 "; // the user's separator, blanks around
    ASSERT_FALSE(fields.readInto(parameters, DecimalSeparator(',')));
    EXPECT_EQ(parameters.participantsPerGroup, 2);
    EXPECT_EQ(parameters.numberOfPasses, 2000000000);
    EXPECT_EQ(parameters.criticalAlpha, 0.999999999999);
}

TEST(SimulationFields, FirstBadFieldIsRefusedAndNoParameterChanges)
{
    using Field = SimulationFields::Field;
    constexpr const char* INTEGER = "Please enter an integer.";
    constexpr const char* COUNT_RANGE = "Please enter an integer between 0 and 2000000000.";
    const auto alpha = &SimulationFields::criticalAlpha;
    const auto perGroup = &SimulationFields::participantsPerGroup;
    const struct {
        std::string SimulationFields::*field;
        Field focus;
        const char* message;
        std::vector<const char*> texts;
        char separator = '.';
    } cases[] = {
        {&SimulationFields::passes,
         Field::Passes,
         "Please enter an integer between 1 and 2000000000.",
         {"0"}},
        {&SimulationFields::passes,
         Field::Passes,
         INTEGER,
         {"", "1.5", "99999999999999999999", "+-5", "+-0"}},
        {alpha,
         Field::CriticalAlpha,
         "Please enter a number between 1e-12 and 0.999999999999.",
         {"1", "0.9e-12"}},
        {alpha,
         Field::CriticalAlpha,
         "Please enter a number between 1e-12 and 0,999999999999.",
         {"1"},
         ','},
        {alpha, Field::CriticalAlpha, "Please enter a number.", {"", "0.05x", "0,05"}},
        {&SimulationFields::maxAdditionalInspections, Field::MaxInspections, COUNT_RANGE, {"-1"}},
        {&SimulationFields::participantsPerInspection,
         Field::PerInspection,
         COUNT_RANGE,
         {"2000000001"}},
        {perGroup, Field::PerGroup, "Please choose a minimum of 2 subjects.", {"1"}},
        {perGroup,
         Field::PerGroup,
         "Please enter an integer between 2 and 2000000000.",
         {"2000000001"}},
        {perGroup, Field::PerGroup, INTEGER, {"x"}},
        {&SimulationFields::targetPower,
         Field::TargetPower,
         "Please enter a target power between 0 and 1 (both excluded), or leave the field "
         "empty.",
         {"0", "1", "-0.5", "x", "0,8", "0.8 0.9"}},
        {&SimulationFields::targetPower,
         Field::TargetPower,
         "A target power needs a simulation of power. Please choose \"Simulate power\" or "
         "leave the target power empty.",
         {"0.8"}},
    };
    for (const auto& test : cases) {
        for (const char* text : test.texts) {
            SCOPED_TRACE(std::string("'") + text + "' with '" + test.separator + "'");
            SimulationFields fields;
            fields.replaceOriginalMatrix = true;
            fields.*test.field = text;
            SimulationParameters parameters;
            const auto refusal = fields.readInto(parameters, DecimalSeparator(test.separator));
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->text, test.message);
            EXPECT_EQ(refusal->field, test.focus);
            EXPECT_TRUE(refusal->title == "Veltmark" && refusal->icon == MessageIcon::Exclamation);
            EXPECT_EQ(parameters.numberOfPasses, SimulationParameters{}.numberOfPasses);
        }
    }
}

TEST(SimulationFields, CalibrationAndTargetPowerRecordTheLooks)
{
    const struct {
        bool recordLooks;
        bool calibrateAlpha;
        const char* targetPower;
        std::int32_t recorded;
        std::optional<double> target;
    } cases[] = {
        {false, false, " ", 0, std::nullopt},
        {true, false, "", 1, std::nullopt},
        {false, true, "", 1, std::nullopt},
        {false, false, " 0,8 ", 1, 0.8},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.targetPower);
        SimulationFields fields;
        fields.simulateAlpha = false;
        fields.criticalAlpha = "0,05";
        fields.recordLooks = test.recordLooks;
        fields.calibrateAlpha = test.calibrateAlpha;
        fields.targetPower = test.targetPower;
        SimulationParameters parameters;
        ASSERT_FALSE(fields.readInto(parameters, DecimalSeparator(',')));
        EXPECT_EQ(parameters.recordLooks, test.recorded);
        EXPECT_EQ(parameters.calibrateAlpha, test.calibrateAlpha ? 1 : 0);
        EXPECT_EQ(fields.targetPowerValue(DecimalSeparator(',')), test.target);
    }
}
