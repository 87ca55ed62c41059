#pragma once

#include "app/MainWindowCommands.h"
#include "grid/GridModel.h"
#include "tests/support/RecordingMessageSink.h"

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

/// The main window driven through its tables' in-place editing, with recorded messages.
class UserSession {
public:
    explicit UserSession(char decimalSeparator = '.', int threadCount = 1);

    /// Begins editing the cell (as a click does) and ends the edit with text.
    static void type(GridModel& table, int row, int column, const std::string& text);
    void typeWithinVariable(int r, const std::string& name, const std::string& levels);
    /// Values are given with '.' and typed with the session's separator.
    void typeColumn(int c, const std::string& role, const std::string& name, const Texts& values);
    /// The texts of all recorded messages; forgets them.
    Texts takeMessages() { return sink.takeTexts(); }
    /// takeMessages, failing for a message not titled "Error" with the error icon.
    Texts takeErrors();
    Texts resultsRow(int r);

    char separator;
    RecordingMessageSink sink;
    MainWindowCommands commands;
};

/// Within B and C (2 levels each), between A with two groups of four. Columns: "1, 1" b1c1,
/// "between" A, "2, 2" b2c2, "1, 2" b1c2, "2, 1" b2c1.
void typeMixedDesign(UserSession& session);
