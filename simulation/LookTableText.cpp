#include "simulation/LookTableText.h"

#include "numeric/NumberText.h"

namespace {

std::string share(double value, DecimalSeparator separator)
{
    return formatNumber(value, "%.4f", separator);
}

std::string interval(const ProportionEstimate& estimate, DecimalSeparator separator)
{
    return share(estimate.low, separator) + " to " + share(estimate.high, separator);
}

/// A figure that is not a share: four significant digits.
std::string figure(double value, DecimalSeparator separator)
{
    return formatNumber(value, "%.4g", separator);
}

std::string groupSizes(const LookRow& row)
{
    std::string text;
    for (std::size_t g = 0; g < row.participantsPerGroup.size(); ++g)
        text += (g == 0 ? "" : " / ") + std::to_string(row.participantsPerGroup[g]);
    return text;
}

/// "20 participants (10 / 10 per group)".
std::string lookSize(const LookRow& row)
{
    return std::to_string(row.participants) + " participants (" + groupSizes(row) + " per group)";
}

std::string withInterval(const ProportionEstimate& estimate, DecimalSeparator separator)
{
    return share(estimate.value, separator) + " (95 % CI " + interval(estimate, separator) + ")";
}

} // namespace

std::vector<std::string> lookTableHeadings()
{
    return {"Look",    "Participants",           "Per group", "Significant at this look",
            "95 % CI", "First significant here", "95 % CI",   "Significant by this look",
            "95 % CI"};
}

std::vector<std::string> lookRowCells(const LookRow& row, DecimalSeparator separator)
{
    std::vector<std::string> cells = {std::to_string(row.look), std::to_string(row.participants),
                                      groupSizes(row)};
    for (const ProportionEstimate* estimate :
         {&row.significantAtThisLook, &row.firstSignificantHere, &row.significantByThisLook}) {
        cells.push_back(share(estimate->value, separator));
        cells.push_back(interval(*estimate, separator));
    }
    return cells;
}

std::string lookTableTsv(const LookTable& table, DecimalSeparator separator)
{
    const auto line = [](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t c = 0; c < cells.size(); ++c)
            text += (c == 0 ? "" : "\t") + cells[c];
        return text + "\n";
    };
    std::string text = line(lookTableHeadings());
    for (const LookRow& row : table.looks)
        text += line(lookRowCells(row, separator));
    return text;
}

std::string expectedParticipantsText(const LookTable& table, DecimalSeparator separator)
{
    return "Expected participants, stopping at the first significant look: " +
           figure(table.expectedParticipants, separator) + " (standard error " +
           figure(table.expectedParticipantsStandardError, separator) + ")";
}

std::string requiredSampleText(const LookTable& table, double targetPower,
                               DecimalSeparator separator)
{
    const std::string target = figure(targetPower, separator);
    const LookRow* reached = table.firstReaching(targetPower);
    if (reached == nullptr) {
        const LookRow& last = table.looks.back();
        return "No look reaches power " + target + ". The last look, " + lookSize(last) +
               ", reached " + withInterval(last.significantAtThisLook, separator) + ".";
    }
    return "Required sample size for power " + target + ": look " + std::to_string(reached->look) +
           ", " + lookSize(*reached) + ", power " +
           withInterval(reached->significantAtThisLook, separator) + ".";
}

std::string calibratedAlphaText(const CalibratedAlpha& calibration, double targetAlpha,
                                DecimalSeparator separator)
{
    return "Calibrated critical alpha of every look: " + figure(calibration.value, separator) +
           " (95 % CI " + figure(calibration.low, separator) + " to " +
           figure(calibration.high, separator) + "), for an overall alpha of " +
           figure(targetAlpha, separator) + ", from " + std::to_string(calibration.passes) +
           " null passes.";
}
