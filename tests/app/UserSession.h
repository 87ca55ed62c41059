#pragma once

#include "app/MainWindowCommands.h"
#include "grid/GridModel.h"
#include "tests/tables/RecordingMessageSink.h"

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

/// The main window as a user works with it: commands whose messages are recorded, and the
/// typing of within variables, column roles, names and values into the tables through the
/// tables' in-place editing.
class UserSession {
public:
    explicit UserSession(char decimalSeparator = '.', int threadCount = 1);

    /// Begins editing the cell (as a click does; on the combination row this offers the
    /// combinations) and ends the edit with text.
    static void type(GridModel& table, int row, int column, const std::string& text);
    /// Name and number of levels into within-variable row r (0-based).
    void typeWithinVariable(int r, const std::string& name, const std::string& levels);
    /// Role, name and one value per participant into data column c (0-based). Values are
    /// given with '.' and typed with the session's separator.
    void typeColumn(int c, const std::string& role, const std::string& name,
                    const Texts& values);
    /// text with '.' replaced by the session's separator when that is ','.
    std::string decimal(const std::string& text) const;

    /// Ticks the box of results-table row r.
    void tick(int r);
    /// The texts of all recorded messages, in order; forgets them.
    Texts takeMessages();
    /// takeMessages, failing the test for a message not titled "Error" with the error icon.
    Texts takeErrors();
    /// The ten texts of results-table row r.
    Texts resultsRow(int r);

    char separator;
    RecordingMessageSink sink;
    MainWindowCommands commands;
};

/// One within variable "time" with 3 levels, no between column, six participants.
void typeOneWithinDesign(UserSession& session);

/// Within variables B and C with 2 levels each, the between variable A with two groups of
/// four participants. The columns are, left to right: "1, 1" b1c1, "between" A, "2, 2"
/// b2c2, "1, 2" b1c2, "2, 1" b2c1.
void typeMixedDesign(UserSession& session);
