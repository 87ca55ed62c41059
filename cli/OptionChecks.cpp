#include "cli/OptionChecks.h"

#include "numeric/NumberText.h"

#include <optional>
#include <utility>

namespace {

/// The value as the user typed it, quoted so that an empty or blank value shows.
std::string inQuotes(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

CLI::Validator integerIn(std::int64_t minimum, std::int64_t maximum)
{
    return CLI::Validator(
        [minimum, maximum](std::string& text) -> std::string {
            const std::optional<std::int64_t> value = parseWholeInteger(text);
            if (!value)
                return inQuotes(text) + " is not an integer";
            if (*value < minimum || *value > maximum) {
                return inQuotes(text) + " is not in the range " + std::to_string(minimum) + " to " +
                       std::to_string(maximum);
            }
            text = std::to_string(*value);
            return {};
        },
        "");
}

CLI::Validator openInterval(const std::string& low, const std::string& high)
{
    const double lowest = *parseWholeNumber(low, DecimalSeparator());
    const double highest = *parseWholeNumber(high, DecimalSeparator());
    return CLI::Validator(
        [=](const std::string& text) -> std::string {
            const std::optional<double> value = parseWholeNumber(text, DecimalSeparator());
            if (!value || !(*value > lowest && *value < highest))
                return inQuotes(text) + " is not a number between " + low + " and " + high +
                       " (exclusive)";
            return {};
        },
        "");
}

CLI::Validator oneOf(std::vector<std::string> choices)
{
    return CLI::Validator(
        [choices = std::move(choices)](const std::string& text) -> std::string {
            std::string list;
            for (const std::string& choice : choices) {
                if (text == choice)
                    return {};
                list += (list.empty() ? "" : ", ") + choice;
            }
            return inQuotes(text) + " is not one of " + list;
        },
        "");
}

CLI::Validator notEmpty()
{
    return CLI::Validator(
        [](const std::string& text) -> std::string {
            return text.empty() ? "the value is empty" : "";
        },
        "");
}
