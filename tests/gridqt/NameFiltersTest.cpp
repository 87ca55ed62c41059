#include "app/platform/NameFilters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The program's filter lists ("description|patterns|…||") become the name filters of the
// file dialogs; the pattern field decides, not the description.
TEST(NameFilters, EachEntryBecomesADescriptionWithItsPatterns)
{
    using Filters = std::vector<std::string>;
    const std::pair<const char*, Filters> cases[] = {
        // The filters of open, import and preferences: "*.*" matches every name.
        {"Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||",
         {"Veltmark-Files (*.vlt)", "All Files (*)"}},
        {"txt-files (*.txt)|*.txt|All Files (*.*)|*.*||", {"txt-files (*.txt)", "All Files (*)"}},
        {"Projects|*.vlt||", {"Projects (*.vlt)"}},
        {"Old name (*.abc)|*.vlt||", {"Old name (*.vlt)"}},
        {"Tables (*.txt;*.csv)|*.txt; *.csv;|All|*.*||", {"Tables (*.txt *.csv)", "All (*)"}},
        {"Anything||", {"Anything (*)"}},
        {"Projects (*.vlt)|*.vlt", {"Projects (*.vlt)"}}, // the end of the list missing
        {"", {}},
        {"||", {}},
        {"No patterns at all", {}}};
    for (const auto& [list, expected] : cases)
        EXPECT_EQ(toNameFilters(list), expected) << '"' << list << '"';
}
