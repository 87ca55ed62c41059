#pragma once

#include <cstdint>

/// The progress of a simulation run as one redrawn line on standard error, "[####   ]  42%",
/// drawn only when standard error is a terminal so that logs and pipes stay clean.
class ProgressBar {
public:
    ProgressBar();
    /// Redraws the line when done / total shows another whole percent.
    void show(std::int64_t done, std::int64_t total);
    /// Clears the line, so that messages and the prompt start on an empty line.
    void finish();

private:
    bool onTerminal;
    int shownPercent = -1;
};
