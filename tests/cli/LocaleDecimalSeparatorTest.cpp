// Which locale name decides the decimal separator, and the separator of locales every
// system has. The separator of a locale with a decimal comma is tested end to end by the
// locale-decimal-comma scenario, which compiles such a locale for the test.
#include "cli/LocaleDecimalSeparator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

TEST(NumericLocaleName, LcAllWinsOverLcNumericWhichWinsOverLangAndEmptyCountsAsUnset)
{
    static constexpr std::array<const char*, 3> NAMES = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::array<std::optional<std::string>, 3> saved;
    for (std::size_t i = 0; i < NAMES.size(); ++i) {
        if (const char* value = std::getenv(NAMES[i]))
            saved[i] = value;
    }
    // The values of LC_ALL, LC_NUMERIC and LANG; nullptr unsets.
    const struct {
        std::array<const char*, 3> values;
        const char* expected;
    } cases[] = {{{nullptr, nullptr, nullptr}, "C"},
                 {{nullptr, nullptr, "fr_FR.UTF-8"}, "fr_FR.UTF-8"},
                 {{nullptr, "de_DE.UTF-8", "fr_FR.UTF-8"}, "de_DE.UTF-8"},
                 {{"en_US.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}, "en_US.UTF-8"},
                 {{"", "de_DE.UTF-8", nullptr}, "de_DE.UTF-8"},
                 {{"", "", ""}, "C"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        for (std::size_t i = 0; i < NAMES.size(); ++i) {
            if (c.values[i])
                ::setenv(NAMES[i], c.values[i], 1);
            else
                ::unsetenv(NAMES[i]);
        }
        EXPECT_EQ(numericLocaleName(), c.expected);
    }
    for (std::size_t i = 0; i < NAMES.size(); ++i) {
        if (saved[i])
            ::setenv(NAMES[i], saved[i]->c_str(), 1);
        else
            ::unsetenv(NAMES[i]);
    }
}

TEST(LocaleDecimalSeparator, TheCLocalesAndAnUnknownLocaleHaveThePoint)
{
    for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"})
        EXPECT_EQ(localeDecimalSeparator(name).get(), '.') << name;
}
