#include "stats/RandomNumbersFile.h"

#include "numeric/NumberText.h"

#include <locale>

bool RandomNumbersFile::open(const std::string& path)
{
    if (stream.is_open()) {
        stream.close();
    }
    stream.clear();
    // White space is told apart by the classic rules whatever locale the process runs
    // under; the decimal separator is the user's and is applied by parseNumber.
    stream.imbue(std::locale::classic());
    stream.open(path);
    return stream.is_open();
}

bool RandomNumbersFile::next(double& value)
{
    if (!stream.is_open()) {
        return false;
    }
    if (!(stream >> token)) {
        return false;
    }
    value = parseNumber(token, separator);
    return true;
}
