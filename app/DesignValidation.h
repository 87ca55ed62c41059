#pragma once

#include "data/UserGridCtrl.h"
#include "data/WithinGridCtrl.h"
#include "platform/MessageSink.h"

/// The two checks of the input tables that run before anything is computed from them.
/// Each stops at the first problem, hands its message (title "Error", error icon) to the
/// message sink and returns false; the tables keep what the user typed, apart from the
/// tidying each check names. Once both checks pass, Design::build accepts the tables.
class DesignValidation {
public:
    /// More within combinations than this are refused up front. The engine holds about six
    /// P x P matrices for P combinations (48·P² bytes, 300 MB at this limit) and computes
    /// in O(P³) time: 2,300 combinations take about a minute and a half on one core, ten
    /// times as many would take a day and 30 GB.
    static constexpr long long MAX_COMBINATIONS = 2'500;

    /// The tables and the sink are not owned and must outlive the validation.
    DesignValidation(UserGridCtrl& dataTable, WithinGridCtrl& withinTable, MessageSink& messages);

    /// Removes the empty rows of the within-variables table, then requires at least one
    /// row (else the table is set up anew), both cells of every row, distinct names, at
    /// least one level per
    /// variable and at most MAX_COMBINATIONS combinations (else every drop-down list of the
    /// combination row is emptied). On success every combination cell offers "between"
    /// followed by the labels of all within combinations; the cell texts stay.
    bool checkWithinVariables();
    /// Over the data columns that hold data, in this order: there is one at all ("Data grid
    /// is empty. ..."); every combination cell has an entry; it reads "between" or denotes
    /// a within combination; no two columns denote the same combination; there are as many
    /// columns as combinations plus "between" columns; every column is named; no two
    /// "between" columns, and no "between" column and within variable, share a name; every
    /// participant value of a "between" column is a whole number in the int range, a group
    /// code. Messages give the column numbers of the column-number row and the participant
    /// numbers of the left column.
    /// Changes nothing but the removal of empty rows of the within-variables table.
    bool checkColumnAssignment();

private:
    /// Shows text as an error and empties every drop-down list of the combination row.
    bool refuseWithinVariables(const std::string& text);
    bool refuse(const std::string& text);

    UserGridCtrl& dataTable;
    WithinGridCtrl& withinTable;
    MessageSink& messages;
};
