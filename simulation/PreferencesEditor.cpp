#include "simulation/PreferencesEditor.h"

#include "data/DriveRootPath.h"

#include <algorithm>

PreferencesEditor::PreferencesEditor(Preferences& targetRecord, std::int32_t processorCount,
                                     MessageSink& messageSink)
    : target(targetRecord), copy(targetRecord), maxThreads(std::max(processorCount, 1)),
      messages(messageSink)
{
}

std::int32_t PreferencesEditor::spin(std::int32_t position, std::int32_t change)
{
    // Widened, so that no position and change can overflow before the limits apply.
    const std::int64_t wanted = static_cast<std::int64_t>(position) + change;
    copy.numberOfThreads =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(wanted, 1, maxThreads));
    return copy.numberOfThreads;
}

void PreferencesEditor::setUseMersenneTwister(bool useMersenneTwister)
{
    copy.useMersenneTwister = useMersenneTwister ? 1 : 0;
}

void PreferencesEditor::setSummarySampler(bool summaries)
{
    copy.sampler = summaries ? SamplerSummary : SamplerRows;
}

void PreferencesEditor::setSelectedFiles(const std::vector<std::string>& paths)
{
    copy.randomNumbersFiles.clear();
    for (const std::string& path : paths) {
        if (!copy.randomNumbersFiles.empty())
            copy.randomNumbersFiles += ';';
        copy.randomNumbersFiles += repairDriveRootPath(path);
    }
}

bool PreferencesEditor::confirm()
{
    if (copy.useMersenneTwister == 0 && copy.pathCount() != copy.numberOfThreads) {
        messages.showMessage("Error",
                             "The number of selected random numbers files\n must be equal to "
                             "the number of threads.",
                             MessageIcon::Error);
        return false;
    }
    target = copy;
    return true;
}
