#include "app/platform/NameFilters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Filters = std::vector<std::string>;

TEST(NameFilters, TheProjectFilterKeepsItsPatternAndAllFilesMatchEveryName)
{
    EXPECT_EQ(toNameFilters("Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||"),
              (Filters{"Veltmark-Files (*.vlt)", "All Files (*)"}));
}

TEST(NameFilters, TheTextFiltersOfImportAndPreferences)
{
    EXPECT_EQ(toNameFilters("txt-files (*.txt)|*.txt|All Files (*.*)|*.*||"),
              (Filters{"txt-files (*.txt)", "All Files (*)"}));
    EXPECT_EQ(toNameFilters("Text-Files (*.txt)|*.txt|All Files (*.*)|*.*||"),
              (Filters{"Text-Files (*.txt)", "All Files (*)"}));
}

TEST(NameFilters, ThePatternFieldDecidesNotTheDescription)
{
    EXPECT_EQ(toNameFilters("Projects|*.vlt||"), (Filters{"Projects (*.vlt)"}));
    EXPECT_EQ(toNameFilters("Old name (*.abc)|*.vlt||"), (Filters{"Old name (*.vlt)"}));
}

TEST(NameFilters, SeveralPatternsOfOneEntryAreSeparatedByBlanks)
{
    EXPECT_EQ(toNameFilters("Tables (*.txt;*.csv)|*.txt; *.csv;|All|*.*||"),
              (Filters{"Tables (*.txt *.csv)", "All (*)"}));
}

TEST(NameFilters, AnEmptyPatternFieldMatchesEveryFile)
{
    EXPECT_EQ(toNameFilters("Anything||"), (Filters{"Anything (*)"}));
}

TEST(NameFilters, AListWithoutEntriesGivesNoFilter)
{
    EXPECT_TRUE(toNameFilters("").empty());
    EXPECT_TRUE(toNameFilters("||").empty());
    EXPECT_TRUE(toNameFilters("No patterns at all").empty());
}

TEST(NameFilters, TheEndOfTheListMayBeMissing)
{
    EXPECT_EQ(toNameFilters("Projects (*.vlt)|*.vlt"), (Filters{"Projects (*.vlt)"}));
}
