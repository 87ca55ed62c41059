// Which locale name decides the decimal separator, and the separator of locales every
// system has. The separator of a locale with a decimal comma is tested end to end by
// locale-separator.sh, which compiles such a locale for the test.
#include "cli/LocaleDecimalSeparator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

/// Sets or unsets the three locale variables for one test and restores them afterwards.
class LocaleVariables : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : NAMES) {
            const char* value = std::getenv(name);
            saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
    }
    void TearDown() override
    {
        for (std::size_t i = 0; i < NAMES.size(); ++i) {
            if (saved[i])
                ::setenv(NAMES[i], saved[i]->c_str(), 1);
            else
                ::unsetenv(NAMES[i]);
        }
    }

    static constexpr std::array<const char*, 3> NAMES = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::vector<std::optional<std::string>> saved;
};

} // namespace

TEST_F(LocaleVariables, WithoutAnyTheCLocaleDecides)
{
    EXPECT_EQ(numericLocaleName(), "C");
}

TEST_F(LocaleVariables, LcAllWinsOverLcNumericWhichWinsOverLang)
{
    ::setenv("LANG", "fr_FR.UTF-8", 1);
    EXPECT_EQ(numericLocaleName(), "fr_FR.UTF-8");
    ::setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
    EXPECT_EQ(numericLocaleName(), "de_DE.UTF-8");
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(numericLocaleName(), "en_US.UTF-8");
}

TEST_F(LocaleVariables, AnEmptyVariableCountsAsUnset)
{
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_NUMERIC", "de_DE.UTF-8", 1);
    EXPECT_EQ(numericLocaleName(), "de_DE.UTF-8");
}

TEST(LocaleDecimalSeparator, TheCLocalesHaveThePoint)
{
    EXPECT_EQ(localeDecimalSeparator("C").get(), '.');
    EXPECT_EQ(localeDecimalSeparator("POSIX").get(), '.');
    EXPECT_EQ(localeDecimalSeparator("C.UTF-8").get(), '.');
}

TEST(LocaleDecimalSeparator, AnUnknownLocaleGivesThePoint)
{
    EXPECT_EQ(localeDecimalSeparator("xx_NOWHERE.UTF-8").get(), '.');
}
