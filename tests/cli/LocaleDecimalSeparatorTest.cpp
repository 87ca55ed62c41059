// Which locale name decides the decimal separator; a decimal comma locale is tested end to
// end by the locale-decimal-comma scenario.
#include "cli/LocaleDecimalSeparator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

TEST(NumericLocaleName, LcAllWinsOverLcNumericWhichWinsOverLangAndEmptyCountsAsUnset)
{
    // The values of LC_ALL, LC_NUMERIC and LANG; nullptr unsets. The last case restores.
    static constexpr std::array<const char*, 3> NAMES = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::array<std::string, 3> saved;
    for (std::size_t i = 0; i < NAMES.size(); ++i)
        saved[i] = std::getenv(NAMES[i]) ? std::getenv(NAMES[i]) : "";
    const struct {
        std::array<const char*, 3> values;
        const char* expected;
    } cases[] = {{{nullptr, nullptr, nullptr}, "C"},
                 {{nullptr, "de_DE.UTF-8", "fr_FR.UTF-8"}, "de_DE.UTF-8"},
                 {{"en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}, "en_US.UTF-8"},
                 {{"", "", "fr_FR.UTF-8"}, "fr_FR.UTF-8"},
                 {{saved[0].c_str(), saved[1].c_str(), saved[2].c_str()}, nullptr}};
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < NAMES.size(); ++i) {
            if (c.values[i])
                ::setenv(NAMES[i], c.values[i], 1);
            else
                ::unsetenv(NAMES[i]);
        }
        if (c.expected) {
            EXPECT_EQ(numericLocaleName(), c.expected);
        }
    }
}
