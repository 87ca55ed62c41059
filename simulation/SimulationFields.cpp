#include "simulation/SimulationFields.h"

#include "numeric/NumberText.h"

#include <cassert>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::int32_t MAX_COUNT = SimulationFields::MAX_COUNT;
constexpr std::int32_t MIN_PER_GROUP = SimulationFields::MIN_PER_GROUP;
constexpr double MIN_ALPHA = 1e-12;
constexpr double MAX_ALPHA = 0.999999999999;
// The messages a dialog field shows when its text is not a number of its kind or lies
// outside its range, titled like the program's other notices.
constexpr const char* NOTICE_TITLE = "Veltmark";
constexpr const char* NOT_AN_INTEGER = "Please enter an integer.";
constexpr const char* NOT_A_NUMBER = "Please enter a number.";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// Skips the digits from position on and says how many there were.
std::size_t skipDigits(std::string_view text, std::size_t& position)
{
    const std::size_t start = position;
    while (position < text.size() && isDigit(text[position]))
        ++position;
    return position - start;
}

/// Whether the whole text is one decimal number in the user's form: an optional sign,
/// digits with at most one separator (at least one digit in all), an optional exponent.
bool isWholeNumber(std::string_view text, DecimalSeparator separator)
{
    std::size_t position = 0;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        ++position;
    std::size_t digits = skipDigits(text, position);
    if (position < text.size() && text[position] == separator.get()) {
        ++position;
        digits += skipDigits(text, position);
    }
    if (digits == 0)
        return false;
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        ++position;
        if (position < text.size() && (text[position] == '+' || text[position] == '-'))
            ++position;
        if (skipDigits(text, position) == 0)
            return false;
    }
    return position == text.size();
}

SimulationFields::Refusal refusal(SimulationFields::Field field, std::string text)
{
    return {field, NOTICE_TITLE, std::move(text), MessageIcon::Exclamation};
}

/// "Please enter KIND between MINIMUM and MAXIMUM.", appended piece by piece.
std::string rangeMessage(const char* kind, const std::string& minimum, const std::string& maximum)
{
    std::string text = "Please enter ";
    text.append(kind).append(" between ").append(minimum).append(" and ").append(maximum);
    text.push_back('.');
    return text;
}

/// An integer field with its range; the refusal names the range.
std::optional<SimulationFields::Refusal> readCount(const std::string& text,
                                                   SimulationFields::Field field,
                                                   std::int32_t minimum, std::int32_t& out)
{
    const std::optional<std::int64_t> value = parseWholeInteger(text);
    if (!value)
        return refusal(field, NOT_AN_INTEGER);
    if (*value < minimum || *value > MAX_COUNT) {
        return refusal(
            field, rangeMessage("an integer", std::to_string(minimum), std::to_string(MAX_COUNT)));
    }
    out = static_cast<std::int32_t>(*value);
    return std::nullopt;
}

/// The whole text as one decimal number in the user's form, blanks around it allowed.
std::optional<double> readDecimal(const std::string& text, DecimalSeparator separator)
{
    const std::string_view number = trimmed(text);
    if (!isWholeNumber(number, separator))
        return std::nullopt;
    return parseNumber(number, separator);
}

std::optional<SimulationFields::Refusal> readAlpha(const std::string& text,
                                                   DecimalSeparator separator, double& out)
{
    const std::optional<double> read = readDecimal(text, separator);
    if (!read)
        return refusal(SimulationFields::Field::CriticalAlpha, NOT_A_NUMBER);
    const double value = *read;
    if (!(value >= MIN_ALPHA && value <= MAX_ALPHA)) {
        return refusal(SimulationFields::Field::CriticalAlpha,
                       rangeMessage("a number", formatNumber(MIN_ALPHA, "%.15g", separator),
                                    formatNumber(MAX_ALPHA, "%.15g", separator)));
    }
    out = value;
    return std::nullopt;
}

/// An empty field asks for no target; a target is a share of passes that a power run can
/// reach, so 0 and 1 themselves are refused with everything outside.
std::optional<SimulationFields::Refusal>
checkTargetPower(const std::string& text, bool simulateAlpha, DecimalSeparator separator)
{
    if (trimmed(text).empty())
        return std::nullopt;
    const std::optional<double> value = readDecimal(text, separator);
    if (!value || !(*value > 0.0 && *value < 1.0)) {
        return refusal(SimulationFields::Field::TargetPower,
                       "Please enter a target power between 0 and 1 (both excluded), or leave "
                       "the field empty.");
    }
    if (simulateAlpha) {
        return refusal(SimulationFields::Field::TargetPower,
                       "A target power needs a simulation of power. Please choose \"Simulate "
                       "power\" or leave the target power empty.");
    }
    return std::nullopt;
}

} // namespace

std::optional<SimulationFields::Refusal>
SimulationFields::readInto(SimulationParameters& parameters, DecimalSeparator separator) const
{
    // Read into a copy, so that a refused field leaves every parameter as it was.
    SimulationParameters read = parameters;
    if (auto refused = readCount(passes, Field::Passes, 1, read.numberOfPasses))
        return refused;
    if (auto refused = readAlpha(criticalAlpha, separator, read.criticalAlpha))
        return refused;
    if (auto refused = readCount(maxAdditionalInspections, Field::MaxInspections, 0,
                                 read.maxAdditionalInspections))
        return refused;
    if (auto refused = readCount(participantsPerInspection, Field::PerInspection, 0,
                                 read.participantsPerInspection))
        return refused;
    if (replaceOriginalMatrix) {
        const std::optional<std::int64_t> perGroup = parseWholeInteger(participantsPerGroup);
        if (!perGroup)
            return refusal(Field::PerGroup, NOT_AN_INTEGER);
        if (*perGroup < MIN_PER_GROUP)
            return refusal(Field::PerGroup, "Please choose a minimum of 2 subjects.");
        if (*perGroup > MAX_COUNT) {
            return refusal(Field::PerGroup,
                           rangeMessage("an integer", std::to_string(MIN_PER_GROUP),
                                        std::to_string(MAX_COUNT)));
        }
        read.participantsPerGroup = static_cast<std::int32_t>(*perGroup);
    }
    if (auto refused = checkTargetPower(targetPower, simulateAlpha, separator))
        return refused;
    read.simulateAlpha = simulateAlpha ? 1 : 0;
    read.assumeHomogeneity = assumeHomogeneity ? 1 : 0;
    read.replaceOriginalMatrix = replaceOriginalMatrix ? 1 : 0;
    read.calibrateAlpha = calibrateAlpha ? 1 : 0;
    // The calibration's null run and the search for a target both need every look.
    read.recordLooks = recordLooks || calibrateAlpha || !trimmed(targetPower).empty() ? 1 : 0;
    parameters = read;
    return std::nullopt;
}

std::optional<double> SimulationFields::targetPowerValue(DecimalSeparator separator) const
{
    if (trimmed(targetPower).empty())
        return std::nullopt;
    const std::optional<double> value = readDecimal(targetPower, separator);
    assert(value && "the fields were accepted");
    return value;
}

std::string SimulationFields::actualPassesText(const SimulationResult& result)
{
    return std::to_string(result.actualPasses);
}

std::string SimulationFields::probabilityText(const SimulationResult& result,
                                              DecimalSeparator separator)
{
    if (result.hasProbability())
        return formatNumber(result.probability, "%.10g", separator);
    if (result.outcome == SimulationOutcome::RandomNumbersExhausted)
        return "inf";
    return {};
}
