#include "app/UserManual.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

void touch(const std::filesystem::path& path)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "%PDF";
}

} // namespace

// A build tree keeps the manual beside the executable; an installed program finds it in
// <prefix>/share/doc/tamsel. The first that exists is opened; a viewer that fails and a
// manual found nowhere both say where it was looked for.
TEST(UserManual, IsFoundBesideTheExecutableOrInThePrefixsDocumentationFolder)
{
    struct Case {
        bool besideExecutable;
        bool installed;
        bool viewerOpens;
        std::string expectedOpened; // @ stands for the prefix; empty: nothing opened
        std::string expectedMessage;
    };
    const std::string beside = "@bin/Tamsel User Manual.pdf";
    const std::string installed = "@bin/../share/doc/tamsel/Tamsel User Manual.pdf";
    const Case cases[] = {
        {true, true, true, beside, ""},
        {false, true, true, installed, ""},
        {false, true, false, installed, "The user manual " + installed + " cannot be opened."},
        {false, false, true, "",
         "The user manual cannot be found. It was looked for as " + beside + " and as " +
             installed + "."},
    };
    for (const Case& c : cases) {
        TemporaryDirectory prefix;
        const std::string root = prefix.path(""); // ends with a separator
        std::filesystem::create_directories(root + "bin");
        if (c.besideExecutable)
            touch(root + "bin/" + USER_MANUAL_FILE);
        if (c.installed)
            touch(root + "share/doc/tamsel/" + USER_MANUAL_FILE);
        RecordingOpener opener;
        opener.succeeds = c.viewerOpens;
        RecordingMessageSink sink;
        EXPECT_EQ(openUserManual(root + "bin", opener, sink), c.expectedMessage.empty());
        const auto onlyIfGiven = [&root](std::string text) { // with the prefix for @
            for (std::size_t at; (at = text.find('@')) != std::string::npos;)
                text.replace(at, 1, root);
            return text.empty() ? std::vector<std::string>{} : std::vector{text};
        };
        EXPECT_EQ(opener.opened, onlyIfGiven(c.expectedOpened));
        EXPECT_EQ(sink.takeTexts(), onlyIfGiven(c.expectedMessage));
    }
}
