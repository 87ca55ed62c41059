#include "data/DriveRootPath.h"

#include <gtest/gtest.h>

#include <utility>

TEST(DriveRootPath, OnlyASecondBackslashAfterTheDriveColonIsRemoved)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\\\data\\x.vlt", "C:\\data\\x.vlt"},
        {"C:\\\\", "C:\\\\"},     // too short to hold a name after the drive root
        {"AB:\\\\x", "AB:\\\\x"}, // the colon must be the second character
        {"", ""},
    };
    for (const auto& [path, repaired] : cases)
        EXPECT_EQ(repairDriveRootPath(path), repaired) << path;
}
