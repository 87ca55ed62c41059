#include "app/UserManual.h"
#include "tests/support/RecordingMessageSink.h"

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

TEST(UserManual, IsOpenedBesideTheExecutableOrTheFailureTellsWhere)
{
    EXPECT_EQ(userManualPath("/opt/tamsel/bin"), "/opt/tamsel/bin/Tamsel User Manual.pdf");
    for (const bool succeeds : {true, false}) {
        RecordingOpener opener;
        opener.succeeds = succeeds;
        RecordingMessageSink sink;
        EXPECT_EQ(openUserManual("/p", opener, sink), succeeds);
        EXPECT_EQ(opener.opened, std::vector<std::string>{"/p/Tamsel User Manual.pdf"});
        ASSERT_EQ(sink.messages.size(), succeeds ? 0u : 1u);
        if (!succeeds) {
            EXPECT_EQ(sink.messages[0].title, "Error");
            EXPECT_EQ(sink.messages[0].text,
                      "The user manual /p/Tamsel User Manual.pdf cannot be opened.");
            EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
        }
    }
}
