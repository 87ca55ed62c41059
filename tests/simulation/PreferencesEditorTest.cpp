// The preferences dialog's copy of the preferences and its check on OK.
#include "simulation/PreferencesEditor.h"
#include "tests/support/RecordingMessageSink.h"

#include <gtest/gtest.h>

TEST(PreferencesEditor, OkChecksTheFileCountAgainstTheSpunThreadCountAndCopies)
{
    Preferences preferences;
    RecordingMessageSink sink;
    PreferencesEditor editor(preferences, 4, sink);
    EXPECT_EQ(editor.spin(1, -1), 1);
    EXPECT_EQ(editor.spin(4, 100), 4);
    EXPECT_EQ(editor.spin(1, 1), 2);
    editor.setUseMersenneTwister(false);
    editor.setSelectedFiles({"/r/a.txt", "/r/b.txt", "/r/c.txt"});
    EXPECT_FALSE(editor.confirm());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_TRUE(sink.messages[0].title == "Error" && sink.messages[0].icon == MessageIcon::Error);
    EXPECT_EQ(sink.messages[0].text, "The number of selected random numbers files\n must be "
                                     "equal to the number of threads.");
    EXPECT_EQ(preferences.numberOfThreads, 1) << "the record changes only on OK";
    editor.setSelectedFiles({"C:\\\\d.txt", "C:\\data\\e.txt"}); // drive roots repaired
    ASSERT_TRUE(editor.confirm());
    EXPECT_EQ(preferences.numberOfThreads, 2);
    EXPECT_EQ(preferences.randomNumbersFiles, "C:\\d.txt;C:\\data\\e.txt");
    Preferences twister; // files do not count with the Mersenne Twister
    twister.randomNumbersFiles = "a;b";
    EXPECT_TRUE(PreferencesEditor(twister, 4, sink).confirm());
    EXPECT_EQ(sink.messages.size(), 1u);
}
