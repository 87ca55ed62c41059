#include "cli/SimulationReport.h"

#include "simulation/SimulationResult.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

/// The two-sided 97.5 % quantile of the standard normal distribution.
constexpr double Z_95 = 1.959963984540054;

/// The centre and half width of the Wilson interval.
struct WilsonInterval {
    double centre;
    double halfWidth;
};

WilsonInterval wilsonOf(double p, double n)
{
    const double z2 = Z_95 * Z_95;
    const double denominator = 1.0 + z2 / n;
    return {(p + z2 / (2.0 * n)) / denominator,
            Z_95 * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n)) / denominator};
}

/// Enough digits to repeat the figure; the point as separator whatever the locale, since
/// the output is read by scripts.
std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

} // namespace

double SimulationReport::standardError() const
{
    return std::sqrt(probability * (1.0 - probability) / static_cast<double>(actualPasses));
}

double SimulationReport::wilsonLower() const
{
    // Without a significant pass the lower root is 0 exactly; the formula leaves a rounding
    // residue of about 1e-18 there, which a reader would take for a figure.
    if (significant == 0) {
        return 0.0;
    }
    const WilsonInterval w = wilsonOf(probability, static_cast<double>(actualPasses));
    return std::max(0.0, w.centre - w.halfWidth);
}

double SimulationReport::wilsonUpper() const
{
    if (significant == actualPasses) {
        return 1.0;
    }
    const WilsonInterval w = wilsonOf(probability, static_cast<double>(actualPasses));
    return std::min(1.0, w.centre + w.halfWidth);
}

std::string formatReportText(const SimulationReport& report)
{
    std::string text;
    text += "Effect: " + report.effect + "\n";
    text += "Analysis: " + report.analysis + "\n";
    text += std::string("Simulated: ") +
            (report.power ? "power (1 - beta error probability)" : "alpha error probability") +
            "\n";
    text += "Actual passes: " + std::to_string(report.actualPasses) + "\n";
    text += "Significant passes: " + std::to_string(report.significant) + "\n";
    text += "Probability: " + number(report.probability) + "\n";
    text += "Standard error: " + number(report.standardError()) + "\n";
    text += "95% confidence interval (Wilson): " + number(report.wilsonLower()) + " to " +
            number(report.wilsonUpper()) + "\n";
    text +=
        "Seed: " +
        (report.seed ? std::to_string(*report.seed) : std::string("none (random-numbers files)")) +
        "\n";
    if (report.observedSampleSignificant)
        text += std::string("Note: ") + OBSERVED_SIGNIFICANT_NOTE + "\n";
    return text;
}

std::string formatReportJson(const SimulationReport& report)
{
    nlohmann::ordered_json json;
    json["effect"] = report.effect;
    json["analysis"] = report.analysis;
    json["power"] = report.power;
    json["actualPasses"] = report.actualPasses;
    json["significant"] = report.significant;
    json["probability"] = report.probability;
    json["standardError"] = report.standardError();
    json["ci95"] = {report.wilsonLower(), report.wilsonUpper()};
    json["seed"] = report.seed ? nlohmann::ordered_json(*report.seed) : nlohmann::ordered_json();
    json["observedSampleSignificant"] = report.observedSampleSignificant;
    return json.dump(2) + "\n";
}
