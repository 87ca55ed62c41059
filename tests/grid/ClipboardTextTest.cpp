#include "grid/ClipboardText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Fields = std::vector<std::string>;

TEST(ClipboardText, OnlyTabsSeparateFieldsSoDecimalCommasSurvive)
{
    const ClipboardText text("1,5\t2");
    ASSERT_EQ(text.lineCount(), 1);
    EXPECT_EQ(text.line(0), (Fields{"1,5", "2"}));
}

TEST(ClipboardText, LineFeedCarriageReturnAndTheirPairEndLines)
{
    const ClipboardText crLf("a\tb\r\nc\td\r\n");
    ASSERT_EQ(crLf.lineCount(), 2);
    EXPECT_EQ(crLf.line(0), (Fields{"a", "b"}));
    EXPECT_EQ(crLf.line(1), (Fields{"c", "d"}));

    const ClipboardText carriageReturns("1\r2\r3");
    ASSERT_EQ(carriageReturns.lineCount(), 3);
    EXPECT_EQ(carriageReturns.line(2), (Fields{"3"}));

    // A line feed before a carriage return is two line ends: the empty line between stays.
    const ClipboardText reversed("1\n\r2");
    ASSERT_EQ(reversed.lineCount(), 3);
    EXPECT_EQ(reversed.line(1), (Fields{""}));
}

TEST(ClipboardText, EmptyLineBetweenLinesIsOneEmptyField)
{
    const ClipboardText text("1\n\n2");
    ASSERT_EQ(text.lineCount(), 3);
    EXPECT_EQ(text.line(1), (Fields{""}));
}

TEST(ClipboardText, LineEndOrTabAtTheEndOpensNothingFurther)
{
    const ClipboardText text("1\t2\t\n3\t4\t\n");
    ASSERT_EQ(text.lineCount(), 2);
    EXPECT_EQ(text.line(0), (Fields{"1", "2"}));
    EXPECT_EQ(text.columnCount(), 2);

    // Only the last tab opens no field; the one before it separates an empty field.
    EXPECT_EQ(ClipboardText("1\t\t").line(0), (Fields{"1", ""}));
    EXPECT_EQ(ClipboardText("\n").lineCount(), 1);
}

TEST(ClipboardText, FieldsLoseSurroundingWhiteSpace)
{
    const ClipboardText text("  1 \t\v2,5\f \t x y ");
    EXPECT_EQ(text.line(0), (Fields{"1", "2,5", "x y"}));
}

TEST(ClipboardText, ColumnCountIsThatOfTheWidestLine)
{
    const ClipboardText text("1\n1\t2\t3\n1\t2");
    EXPECT_EQ(text.lineCount(), 3);
    EXPECT_EQ(text.columnCount(), 3);
}

TEST(ClipboardText, EmptyTextHasNoLine)
{
    const ClipboardText text("");
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(text.lineCount(), 0);
    EXPECT_EQ(text.columnCount(), 0);
}
