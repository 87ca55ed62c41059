#pragma once

#include "app/platform/DocumentOpener.h"
#include "app/platform/FileDialogs.h"
#include "app/platform/ProcessorCount.h"
#include "app/platform/SeedSource.h"
#include "app/platform/qt/QtSettingsStore.h"
#include "app/qt/CVeltmarkDlg.h"
#include "tests/app/UserSession.h"
#include "tests/files/TemporaryDirectory.h"
#include "tests/gridqt/ModalCloser.h"
#include "tests/tables/RecordingMessageSink.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAbstractButton;

/// Answers each file dialog with the next prepared answer (nothing = Cancel) and keeps
/// the title of every dialog asked for.
class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<std::string> openFile(const std::string& title,
                                        const std::string& filter) override
    {
        const std::vector<std::string> answer = openFiles(title, filter);
        return answer.empty() ? std::nullopt : std::optional<std::string>(answer.front());
    }
    std::vector<std::string> openFiles(const std::string& title, const std::string&) override
    {
        titles.push_back(title);
        if (answers.empty())
            return {};
        std::vector<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string&, const std::string&) override
    {
        return openFile(title, filter);
    }

    std::deque<std::vector<std::string>> answers;
    std::vector<std::string> titles;
};

class FixedProcessorCount : public ProcessorCount {
public:
    int count() const override { return processors; }
    int processors = 2;
};

/// Hands out 101, 102, … and counts them.
class CountingSeedSource : public SeedSource {
public:
    std::uint32_t nextSeed() override { return 101 + drawn++; }
    std::uint32_t drawn = 0;
};

class RecordingDocumentOpener : public DocumentOpener {
public:
    bool open(const std::string& path) override
    {
        opened.push_back(path);
        return true;
    }
    std::vector<std::string> opened;
};

/// Empties the program's settings store when made; the first member of the fixture, so
/// that the store is empty before anything reads it.
struct EmptiedSettings {
    EmptiedSettings();
};

/// The desktop program with fake platform services, except the settings store, which is
/// Qt's own in the temporary folder the test main sets up, emptied before every test.
class DesktopFixture : public ::testing::Test {
protected:
    /// A new main window on the fixture's services, shown.
    std::unique_ptr<CVeltmarkDlg> makeWindow();
    /// A main window that has opened the project of writeMixedProject, saved as mixed.vlt.
    std::unique_ptr<CVeltmarkDlg> windowWithMixedProject();
    /// A project of the mixed design of UserSession (between variable A with two groups,
    /// within variables B and C with two levels each), written with the project writer.
    std::string writeMixedProject(const std::string& name);
    /// The title of the last file dialog asked for; empty when none was.
    std::string lastDialogTitle() const
    {
        return fileDialogs.titles.empty() ? std::string() : fileDialogs.titles.back();
    }
    /// The named child widget; a missing one fails the test.
    template <typename T>
    static T* child(QWidget& parent, const char* name)
    {
        T* found = parent.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    /// The texts of the recorded messages; forgets them.
    std::vector<std::string> takeMessages();

    /// Clicks a check box or radio button on its indicator, where a click always lands
    /// (the middle of a wide button may lie beyond its text).
    static void clickIndicator(QAbstractButton* button);

    EmptiedSettings emptied;
    RecordingMessageSink messages;
    ScriptedFileDialogs fileDialogs;
    QtSettingsStore settings;
    FixedProcessorCount processors;
    CountingSeedSource seeds;
    RecordingDocumentOpener documents;
    TemporaryDirectory folder;
};
