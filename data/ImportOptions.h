#pragma once

/// The options of the text import, one per check box below the data table. A
/// default-constructed value holds the defaults, which "Import text file ..." always uses.
struct ImportOptions {
    /// "First row contains variable names": the first record holds the column names.
    bool firstRowNames = true;
    /// "\ r", "\ n", "\ v", "\ f": carriage return (13), line feed (10), vertical tab (11)
    /// and form feed (12) end a record.
    bool recordCR = true;
    bool recordLF = true;
    bool recordVT = false;
    bool recordFF = false;
    /// "\t", "spaces": tab (9) and blank (32) separate fields.
    bool fieldTab = true;
    bool fieldSpace = false;
};
