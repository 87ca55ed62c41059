#pragma once

#include "ModalCloser.h"
#include "desktop/app/CVeltmarkDlg.h"
#include "desktop/platform/QtSettingsStore.h"
#include "platform/Clipboard.h"
#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/ProcessorCount.h"
#include "platform/SeedSource.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/UserSession.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

/// Gives each file dialog the prepared answer once (then Cancel); keeps the titles.
class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<std::string> openFile(const std::string& title, const std::string&) override
    {
        titles.push_back(title);
        return std::exchange(answer, std::nullopt);
    }
    std::vector<std::string> openFiles(const std::string& title, const std::string&) override
    {
        titles.push_back(title);
        return std::exchange(files, {});
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string&, const std::string&) override
    {
        return openFile(title, filter);
    }

    std::optional<std::string> answer;
    std::vector<std::string> files;
    std::vector<std::string> titles;
};

/// Keeps what was copied instead of the desktop's clipboard.
struct RecordingClipboard : public Clipboard {
    void setText(const std::string& copied) override { text = copied; }

    std::string text;
};

class FakeMachine : public ProcessorCount, public SeedSource, public DocumentOpener {
public:
    int count() const override { return 2; }
    std::uint32_t nextSeed() override { return ++seeds; }
    bool open(const std::string&) override { return true; }

    std::uint32_t seeds = 0;
};

/// Empties the settings store when made: the fixture's first member.
struct EmptiedSettings {
    EmptiedSettings();
};

/// The program on fake platform services, except Qt's own settings store.
class DesktopFixture : public ::testing::Test {
protected:
    std::unique_ptr<CVeltmarkDlg> makeWindow();
    /// A main window that opened the mixed design of UserSession.
    std::unique_ptr<CVeltmarkDlg> windowWithMixedProject();
    template <typename T = QWidget>
    static T* child(QWidget& parent, const char* name)
    {
        T* found = parent.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QString text(QWidget& parent, const char* name)
    {
        return child(parent, name)->property("text").toString();
    }
    static void click(QWidget& parent, const char* name);
    /// Clicks a check box or radio button on its indicator, where a click always lands.
    static void clickIndicator(QWidget& parent, const char* name);
    std::vector<std::string> takeMessages() { return messages.takeTexts(); }

    EmptiedSettings emptied;
    RecordingMessageSink messages;
    ScriptedFileDialogs fileDialogs;
    RecordingClipboard clipboard;
    QtSettingsStore settings;
    FakeMachine machine;
    TemporaryDirectory folder;
};
