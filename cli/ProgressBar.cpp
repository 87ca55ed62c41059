#include "cli/ProgressBar.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr int BAR_WIDTH = 40;

} // namespace

ProgressBar::ProgressBar() : onTerminal(isatty(STDERR_FILENO) != 0)
{
}

void ProgressBar::show(std::int64_t done, std::int64_t total)
{
    if (!onTerminal || total <= 0)
        return;
    const int percent = static_cast<int>(100 * done / total);
    if (percent == shownPercent)
        return;
    shownPercent = percent;
    const int filled = percent * BAR_WIDTH / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(BAR_WIDTH - filled), ' ');
    std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
    std::fflush(stderr);
}

void ProgressBar::finish()
{
    if (!onTerminal || shownPercent < 0)
        return;
    std::fprintf(stderr, "\r%*s\r", BAR_WIDTH + 7, "");
    std::fflush(stderr);
    shownPercent = -1;
}
