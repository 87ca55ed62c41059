#include "app/UserManual.h"
#include "tests/tables/RecordingMessageSink.h"

#include <gtest/gtest.h>

namespace {

class RecordingOpener : public DocumentOpener {
public:
    bool open(const std::string& path) override
    {
        opened.push_back(path);
        return succeeds;
    }
    bool succeeds = true;
    std::vector<std::string> opened;
};

} // namespace

TEST(UserManual, LiesBesideTheExecutable)
{
    EXPECT_EQ(userManualPath("/opt/tamsel/bin"), "/opt/tamsel/bin/Tamsel User Manual.pdf");
}

TEST(UserManual, OpensTheManualWithTheDesktopViewer)
{
    RecordingOpener opener;
    RecordingMessageSink sink;
    EXPECT_TRUE(openUserManual("/p", opener, sink));
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], "/p/Tamsel User Manual.pdf");
    EXPECT_TRUE(sink.messages.empty());
}

TEST(UserManual, FailureTellsWhereTheManualWasLookedFor)
{
    RecordingOpener opener;
    opener.succeeds = false;
    RecordingMessageSink sink;
    EXPECT_FALSE(openUserManual("/p", opener, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "Error");
    EXPECT_EQ(sink.messages[0].text, "The user manual /p/Tamsel User Manual.pdf cannot be opened.");
}
