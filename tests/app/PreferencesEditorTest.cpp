// The preferences dialog's copy of the preferences and its check on OK.
#include "app/PreferencesEditor.h"
#include "tests/tables/RecordingMessageSink.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr const char* COUNT_MESSAGE =
    "The number of selected random numbers files\n must be equal to the number of threads.";

Preferences filePreferences(std::int32_t threads, const std::string& files)
{
    Preferences preferences;
    preferences.useMersenneTwister = 0;
    preferences.numberOfThreads = threads;
    preferences.randomNumbersFiles = files;
    return preferences;
}

} // namespace

TEST(PreferencesEditor, SpinStaysWithinOneAndTheProcessorCount)
{
    Preferences preferences;
    RecordingMessageSink sink;
    PreferencesEditor editor(preferences, 4, sink);
    EXPECT_EQ(editor.spin(1, -1), 1);
    EXPECT_EQ(editor.spin(3, 1), 4);
    EXPECT_EQ(editor.spin(4, 1), 4);
    EXPECT_EQ(editor.spin(4, 100), 4);
    EXPECT_EQ(editor.spin(2, 1), 3);
    EXPECT_EQ(editor.getCopy().numberOfThreads, 3);
    // The record itself changes only on OK.
    EXPECT_EQ(preferences.numberOfThreads, 1);
    ASSERT_TRUE(editor.confirm());
    EXPECT_EQ(preferences.numberOfThreads, 3);
}

TEST(PreferencesEditor, FileCountMustMatchTheThreadCount)
{
    Preferences preferences = filePreferences(2, "");
    RecordingMessageSink sink;
    PreferencesEditor editor(preferences, 4, sink);
    editor.setSelectedFiles({"/r/a.txt", "/r/b.txt", "/r/c.txt"});
    EXPECT_FALSE(editor.confirm());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Error");
    EXPECT_EQ(sink.messages[0].text, COUNT_MESSAGE);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(preferences.randomNumbersFiles, "");

    // Selecting again replaces the whole list, each path with its drive root repaired.
    editor.setSelectedFiles({"C:\\\\d.txt", "C:\\data\\e.txt"});
    EXPECT_EQ(editor.getCopy().randomNumbersFiles, "C:\\d.txt;C:\\data\\e.txt");
    ASSERT_TRUE(editor.confirm());
    EXPECT_EQ(preferences.randomNumbersFiles, "C:\\d.txt;C:\\data\\e.txt");
    EXPECT_EQ(preferences.useMersenneTwister, 0);
}

TEST(PreferencesEditor, FilesAreNotCountedWithTheMersenneTwisterAndNoneCountAsOne)
{
    // {Mersenne Twister, threads, files}
    const std::tuple<std::int32_t, std::int32_t, const char*> accepted[] = {
        {1, 3, "a;b"}, {0, 1, ""}};
    for (const auto& [mersenneTwister, threads, files] : accepted) {
        Preferences preferences = filePreferences(threads, files);
        preferences.useMersenneTwister = mersenneTwister;
        RecordingMessageSink sink;
        PreferencesEditor editor(preferences, 4, sink);
        EXPECT_TRUE(editor.confirm()) << threads << " threads, files " << files;
        EXPECT_TRUE(sink.messages.empty());
    }
}
