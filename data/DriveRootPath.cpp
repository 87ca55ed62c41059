#include "data/DriveRootPath.h"

std::string repairDriveRootPath(std::string path)
{
    if (path.size() < 5)
        return path;
    if (path.compare(1, 3, ":\\\\") != 0)
        return path;
    path.erase(3, 1);
    return path;
}
