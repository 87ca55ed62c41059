#include "app/DriveRootPath.h"

#include <gtest/gtest.h>

TEST(DriveRootPath, SecondBackslashAfterTheDriveColonIsRemoved)
{
    EXPECT_EQ(repairDriveRootPath("C:\\\\data\\x.vlt"), "C:\\data\\x.vlt");
    EXPECT_EQ(repairDriveRootPath("C:\\\\x"), "C:\\x");
}

TEST(DriveRootPath, OtherPathsStayAsTheyAre)
{
    EXPECT_EQ(repairDriveRootPath("C:\\data\\x.vlt"), "C:\\data\\x.vlt");
    EXPECT_EQ(repairDriveRootPath("/home/u/x.vlt"), "/home/u/x.vlt");
    // Too short to hold a name after the drive root.
    EXPECT_EQ(repairDriveRootPath("C:\\\\"), "C:\\\\");
    // The colon must be the second character.
    EXPECT_EQ(repairDriveRootPath("AB:\\\\x"), "AB:\\\\x");
    EXPECT_EQ(repairDriveRootPath(""), "");
}
