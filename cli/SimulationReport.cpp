#include "cli/SimulationReport.h"

#include "cli/ResultsFormat.h"
#include "simulation/SimulationResult.h"

#include <nlohmann/json.hpp>

#include <cassert>
#include <cmath>
#include <cstdio>

namespace {

/// Enough digits to repeat the figure; the point as separator whatever the locale, since
/// the output is read by scripts.
std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

/// A share with its interval, as the text table shows it: "0.8123 (0.8045 to 0.8199)".
std::string shareText(const ProportionEstimate& share)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f (%.4f to %.4f)", share.value, share.low, share.high);
    return text;
}

std::string joinedSizes(const LookRow& row)
{
    std::string text;
    for (std::size_t g = 0; g < row.participantsPerGroup.size(); ++g)
        text += (g == 0 ? "" : ";") + std::to_string(row.participantsPerGroup[g]);
    return text;
}

/// Left-aligned in width characters.
std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string lookTableText(const LookTable& table)
{
    std::string text = "\nLook by look (shares of the passes, 95% confidence intervals):\n";
    const std::size_t widths[] = {6, 14, 20, 28, 28};
    const char* const headings[] = {"Look",
                                    "Participants",
                                    "Per group",
                                    "Significant at this look",
                                    "First significant here",
                                    "Significant by this look"};
    for (std::size_t c = 0; c < 5; ++c)
        text += padded(headings[c], widths[c]);
    text += std::string(headings[5]) + "\n";
    for (const LookRow& row : table.looks) {
        text += padded(std::to_string(row.look), widths[0]) +
                padded(std::to_string(row.participants), widths[1]) +
                padded(joinedSizes(row), widths[2]) +
                padded(shareText(row.significantAtThisLook), widths[3]) +
                padded(shareText(row.firstSignificantHere), widths[4]) +
                shareText(row.significantByThisLook) + "\n";
    }
    text += "Expected participants (stopping at the first significant look): " +
            number(table.expectedParticipants) + " (standard error " +
            number(table.expectedParticipantsStandardError) + ")\n";
    return text;
}

std::string requiredText(const LookTable& table, double target)
{
    const LookRow* reached = table.firstReaching(target);
    if (reached == nullptr) {
        const LookRow& last = table.looks.back();
        return "Required sample size for power " + number(target) + ": no look reaches it; the " +
               "last look (" + std::to_string(last.participants) + " participants, " +
               joinedSizes(last) + " per group) reached " + shareText(last.significantAtThisLook) +
               ".\n";
    }
    return "Required sample size for power " + number(target) + ": look " +
           std::to_string(reached->look) + ", " + std::to_string(reached->participants) +
           " participants (" + joinedSizes(*reached) + " per group), power " +
           shareText(reached->significantAtThisLook) + "\n";
}

nlohmann::ordered_json interval(const ProportionEstimate& share)
{
    return {share.low, share.high};
}

nlohmann::ordered_json lookJson(const LookRow& row)
{
    nlohmann::ordered_json json;
    json["look"] = row.look;
    json["participantsPerGroup"] = row.participantsPerGroup;
    json["participants"] = row.participants;
    json["significantAtThisLook"] = row.significantAtThisLook.value;
    json["significantAtThisLookCi95"] = interval(row.significantAtThisLook);
    json["firstSignificantHere"] = row.firstSignificantHere.value;
    json["firstSignificantHereCi95"] = interval(row.firstSignificantHere);
    json["significantByThisLook"] = row.significantByThisLook.value;
    json["significantByThisLookCi95"] = interval(row.significantByThisLook);
    return json;
}

nlohmann::ordered_json requiredJson(const LookTable& table, double target)
{
    const LookRow* reached = table.firstReaching(target);
    if (reached == nullptr)
        return nullptr;
    nlohmann::ordered_json json;
    json["look"] = reached->look;
    json["participantsPerGroup"] = reached->participantsPerGroup;
    json["participants"] = reached->participants;
    json["power"] = reached->significantAtThisLook.value;
    json["ci95"] = interval(reached->significantAtThisLook);
    return json;
}

} // namespace

double SimulationReport::standardError() const
{
    return std::sqrt(probability * (1.0 - probability) / static_cast<double>(actualPasses));
}

ProportionEstimate SimulationReport::probabilityEstimate() const
{
    return estimateProportion(significant, actualPasses);
}

std::string formatReportText(const SimulationReport& report)
{
    const ProportionEstimate estimate = report.probabilityEstimate();
    std::string text;
    text += "Effect: " + report.effect + "\n";
    text += "Analysis: " + report.analysis + "\n";
    text += std::string("Simulated: ") +
            (report.power ? "power (1 - beta error probability)" : "alpha error probability") +
            "\n";
    if (report.calibratedAlpha) {
        const CalibratedAlpha& calibration = *report.calibratedAlpha;
        text += "Calibrated critical alpha of every look: " + number(calibration.value) +
                " (95% confidence interval " + number(calibration.low) + " to " +
                number(calibration.high) + "), for an overall alpha of " +
                number(report.targetAlpha) + ", from " + std::to_string(calibration.passes) +
                " null passes\n";
    }
    text += "Actual passes: " + std::to_string(report.actualPasses) + "\n";
    text += "Significant passes: " + std::to_string(report.significant) + "\n";
    text += "Probability: " + number(report.probability) + "\n";
    text += "Standard error: " + number(report.standardError()) + "\n";
    text += "95% confidence interval (Wilson): " + number(estimate.low) + " to " +
            number(estimate.high) + "\n";
    if (report.precision) {
        text += "Precision: at most " + number(report.precision->target) +
                " on either side of the probability, " +
                (report.precision->reached ? "reached" : "not reached within the passes") + "\n";
    }
    text +=
        "Seed: " +
        (report.seed ? std::to_string(*report.seed) : std::string("none (random-numbers files)")) +
        "\n";
    if (report.observedSampleSignificant)
        text += std::string("Note: ") + OBSERVED_SIGNIFICANT_NOTE + "\n";
    if (report.lookTable) {
        text += lookTableText(*report.lookTable);
        if (report.targetPower)
            text += requiredText(*report.lookTable, *report.targetPower);
    }
    return text;
}

std::string formatReportJson(const SimulationReport& report)
{
    const ProportionEstimate estimate = report.probabilityEstimate();
    nlohmann::ordered_json json;
    json["effect"] = report.effect;
    json["analysis"] = report.analysis;
    json["power"] = report.power;
    json["actualPasses"] = report.actualPasses;
    json["significant"] = report.significant;
    json["probability"] = report.probability;
    json["standardError"] = report.standardError();
    json["ci95"] = {estimate.low, estimate.high};
    json["seed"] = report.seed ? nlohmann::ordered_json(*report.seed) : nlohmann::ordered_json();
    json["observedSampleSignificant"] = report.observedSampleSignificant;
    if (report.precision) {
        json["precision"] = {{"target", report.precision->target},
                             {"reached", report.precision->reached}};
    }
    if (report.calibratedAlpha) {
        json["alpha"] = report.criticalAlpha;
        json["targetAlpha"] = report.targetAlpha;
        json["calibratedAlpha"] = {
            {"value", report.calibratedAlpha->value},
            {"ci95", {report.calibratedAlpha->low, report.calibratedAlpha->high}}};
    }
    if (report.lookTable) {
        const LookTable& table = *report.lookTable;
        nlohmann::ordered_json looks = nlohmann::ordered_json::array();
        for (const LookRow& row : table.looks)
            looks.push_back(lookJson(row));
        json["looks"] = looks;
        json["expectedParticipants"] = table.expectedParticipants;
        json["expectedParticipantsStandardError"] = table.expectedParticipantsStandardError;
        if (report.targetPower)
            json["required"] = requiredJson(table, *report.targetPower);
    }
    return json.dump(2) + "\n";
}

std::string formatLookTableCsv(const LookTable& table)
{
    std::string text = "look,participants,participantsPerGroup,significantAtThisLook,"
                       "significantAtThisLookLow,significantAtThisLookHigh,firstSignificantHere,"
                       "firstSignificantHereLow,firstSignificantHereHigh,significantByThisLook,"
                       "significantByThisLookLow,significantByThisLookHigh\n";
    const auto share = [](const ProportionEstimate& estimate) {
        return roundTripNumber(estimate.value) + ',' + roundTripNumber(estimate.low) + ',' +
               roundTripNumber(estimate.high);
    };
    for (const LookRow& row : table.looks) {
        text += std::to_string(row.look) + ',' + std::to_string(row.participants) + ",\"" +
                joinedSizes(row) + "\"," + share(row.significantAtThisLook) + ',' +
                share(row.firstSignificantHere) + ',' + share(row.significantByThisLook) + '\n';
    }
    return text;
}
