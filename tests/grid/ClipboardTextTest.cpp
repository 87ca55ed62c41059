#include "grid/ClipboardText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Lines end at LF, CR or CR LF, only tabs separate fields, fields are trimmed.
TEST(ClipboardText, CutsLinesAndFields)
{
    using Lines = std::vector<std::vector<std::string>>;
    const struct {
        const char* text;
        Lines lines;
        int columns;
    } cases[] = {
        {"1,5\t2", {{"1,5", "2"}}, 2},
        {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}, 2},
        {"1\n\r2", {{"1"}, {""}, {"2"}}, 1}, // LF then CR are two line ends
        {"1\t2\t\n3\t4\t\n", {{"1", "2"}, {"3", "4"}}, 2},
        {"  1 \t\v2,5\f \t x y ", {{"1", "2,5", "x y"}}, 3},
        {"1\n1\t2\t3\n1\t2", {{"1"}, {"1", "2", "3"}, {"1", "2"}}, 3}, // the widest line
        {"", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        const ClipboardText text(c.text);
        EXPECT_EQ(text.isEmpty(), c.lines.empty());
        ASSERT_EQ(text.lineCount(), static_cast<int>(c.lines.size()));
        for (int i = 0; i < text.lineCount(); ++i)
            EXPECT_EQ(text.line(i), c.lines[static_cast<std::size_t>(i)]) << "line " << i;
        EXPECT_EQ(text.columnCount(), c.columns);
    }
}
