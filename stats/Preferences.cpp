#include "stats/Preferences.h"

#include <algorithm>

namespace {

constexpr char PATH_SEPARATOR = ';';

} // namespace

std::string Preferences::pathAt(std::int32_t i) const
{
    if (i < 0) {
        return {};
    }
    std::size_t begin = 0;
    for (std::int32_t skipped = 0; skipped < i; ++skipped) {
        const std::size_t separator = randomNumbersFiles.find(PATH_SEPARATOR, begin);
        if (separator == std::string::npos) {
            return {};
        }
        begin = separator + 1;
    }
    const std::size_t end = randomNumbersFiles.find(PATH_SEPARATOR, begin);
    return randomNumbersFiles.substr(begin,
                                     end == std::string::npos ? std::string::npos : end - begin);
}

std::int32_t Preferences::pathCount() const
{
    const auto separators =
        std::count(randomNumbersFiles.begin(), randomNumbersFiles.end(), PATH_SEPARATOR);
    return static_cast<std::int32_t>(separators) + 1;
}
