#pragma once

#include "data/ImportOptions.h"
#include "platform/MessageSink.h"

#include <cstdint>
#include <string>
#include <vector>

class DelimitedTextFile;
class UserGridCtrl;

/// The text import of the data table and its import mode.
///
/// An import rebuilds the data table from a delimited text file (DelimitedTextFile): one
/// data column per field of the widest record, the first record as the names when
/// firstRowNames is on, every other record one participant row; the name row and the
/// participant cells are read-only until finishTextImport. While import mode lasts, each
/// change of an option imports the remembered file again.
///
/// A failed import shows its message through the sink (title "Error") and leaves the
/// table, the remembered path and the mode as they were: the file is read and split whole
/// before the table changes.
class TextImport {
public:
    /// table and messages must outlive the import.
    TextImport(UserGridCtrl& table, MessageSink& messages);

    /// Imports the file at path with options; on success the path is remembered and import
    /// mode begins. Messages: "The file PATH cannot be opened: REASON." (the system's
    /// reason), "The file PATH is too large to be imported." and "The file PATH cannot be
    /// read." (a read failed, or the file changed while it was read).
    bool importText(const std::string& path, const ImportOptions& options);
    /// importText for the bytes of the file at path, read already.
    bool importBytes(const std::string& path, std::string bytes, const ImportOptions& options);
    /// An option check box changed: in import mode imports the remembered file again with
    /// options (the states of all seven check boxes); outside import mode does nothing and
    /// returns false.
    bool reimportText(const ImportOptions& options);
    /// "Text import done": the name row and the participant cells become editable again
    /// and import mode ends. The path stays remembered. Nothing outside import mode.
    void finishTextImport();

    /// Whether the option controls and "Text import done" are enabled.
    bool isImportMode() const { return importMode; }
    const std::string& getImportPath() const { return importPath; }
    /// The line of the file that participant row r of the last import came from, counting
    /// the rows as the import filled them (before any is removed); 0 … participants - 1.
    std::int64_t getLineOf(int r) const;

private:
    /// The import of file, read from path.
    bool importFile(DelimitedTextFile& file, const std::string& path, const ImportOptions& options);
    /// Rebuilds the table from the parsed file.
    void fillTable(const DelimitedTextFile& file, bool firstRowNames);
    /// Copies the fields of record `record` into data row r, up to the end-of-row marker.
    void copyRecord(const DelimitedTextFile& file, int record, int r);
    /// The state of every name cell and participant cell.
    void setImportCellsState(unsigned state);
    void showError(const std::string& text);

    UserGridCtrl& table;
    MessageSink& messages;
    std::string importPath;
    /// The file line of every participant row of the last import.
    std::vector<std::int64_t> participantLines;
    bool importMode = false;
};
