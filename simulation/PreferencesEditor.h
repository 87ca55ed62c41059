#pragma once

#include "platform/MessageSink.h"
#include "stats/Preferences.h"

#include <cstdint>
#include <string>
#include <vector>

/// The preferences dialog without its window. It works on a copy of the main window's
/// Preferences, which follows the spin button, the radio buttons and the file selection as
/// they happen, and writes the copy back only on a consistent OK.
class PreferencesEditor {
public:
    static constexpr const char* FILE_DIALOG_TITLE = "Select random numbers file(s)";
    static constexpr const char* FILE_FILTER = "Text-Files (*.txt)|*.txt|All Files (*.*)|*.*||";

    /// target is the main window's record, written on a consistent confirm; maxThreads is
    /// the processor count, the largest thread count offered. Neither target nor messages
    /// is owned.
    PreferencesEditor(Preferences& target, std::int32_t maxThreads, MessageSink& messages);

    /// The spin button moved by change from position: the copy's thread count becomes
    /// position + change, limited to 1..maxThreads. Returns the new count.
    std::int32_t spin(std::int32_t position, std::int32_t change);
    /// A radio button was clicked: whether "Use Merseene Twister random numbers" is the
    /// selected one.
    void setUseMersenneTwister(bool useMersenneTwister);
    /// The sampler box was ticked (summaries) or cleared (rows).
    void setSummarySampler(bool summaries);
    /// The sampler is a choice only while the random numbers come from the Mersenne
    /// Twister; files always draw rows.
    bool isSamplerEnabled() const { return copy.useMersenneTwister != 0; }
    /// "Select" is available only while the random numbers come from files.
    bool isSelectEnabled() const { return copy.useMersenneTwister == 0; }
    /// The user confirmed the file dialog with these paths, in the dialog's order: they
    /// replace the whole list, each with a drive root repaired, joined by ";".
    void setSelectedFiles(const std::vector<std::string>& paths);
    /// OK: in file mode the number of paths must equal the thread count, else the message
    /// "The number of selected random numbers files\n must be equal to the number of
    /// threads." (title "Error") and false, with the target unchanged; otherwise the copy
    /// is written to the target and true.
    bool confirm();

    const Preferences& getCopy() const { return copy; }
    std::int32_t getMaxThreads() const { return maxThreads; }

private:
    Preferences& target;
    Preferences copy;
    std::int32_t maxThreads;
    MessageSink& messages;
};
