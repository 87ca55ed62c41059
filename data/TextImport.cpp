#include "data/TextImport.h"

#include "data/DelimitedTextFile.h"
#include "data/UserGridCtrl.h"
#include "grid/CellState.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <utility>

TextImport::TextImport(UserGridCtrl& dataTable, MessageSink& messageSink)
    : table(dataTable), messages(messageSink)
{
}

bool TextImport::importText(const std::string& path, const ImportOptions& options)
{
    DelimitedTextFile file(path, options, table.getDecimalSeparator());
    return importFile(file, path, options);
}

bool TextImport::importBytes(const std::string& path, std::string bytes,
                             const ImportOptions& options)
{
    DelimitedTextFile file(DelimitedTextFile::Bytes{std::move(bytes)}, options,
                           table.getDecimalSeparator());
    return importFile(file, path, options);
}

bool TextImport::importFile(DelimitedTextFile& file, const std::string& path,
                            const ImportOptions& options)
{
    file.parse();
    switch (file.getStatus()) {
    case DelimitedTextFile::Status::Ready: break;
    case DelimitedTextFile::Status::CannotOpen:
        showError("The file " + path + " cannot be opened: " + file.getOpenError().message() + ".");
        return false;
    case DelimitedTextFile::Status::TooLarge:
        showError("The file " + path + " is too large to be imported.");
        return false;
    case DelimitedTextFile::Status::CannotRead:
        showError("The file " + path + " cannot be read.");
        return false;
    }
    fillTable(file, options.firstRowNames);
    importPath = path;
    importMode = true;
    return true;
}

bool TextImport::reimportText(const ImportOptions& options)
{
    if (!importMode)
        return false;
    return importText(importPath, options);
}

void TextImport::finishTextImport()
{
    if (!importMode)
        return;
    setImportCellsState(CellState::None);
    importMode = false;
}

void TextImport::fillTable(const DelimitedTextFile& file, bool firstRowNames)
{
    const int firstParticipant = firstRowNames ? 1 : 0;
    const int participants = std::max(file.getRowCount() - firstParticipant, 0);
    table.setupTable(participants, file.getColumnCount());
    setImportCellsState(CellState::ReadOnly);
    if (firstRowNames && file.getRowCount() > 0)
        copyRecord(file, 0, -1);
    participantLines.clear();
    for (int r = 0; r < participants; ++r) {
        copyRecord(file, r + firstParticipant, r);
        participantLines.push_back(file.getLineOf(r + firstParticipant));
    }
    table.refresh();
}

std::int64_t TextImport::getLineOf(int r) const
{
    assert(r >= 0 && static_cast<std::size_t>(r) < participantLines.size());
    return participantLines[static_cast<std::size_t>(r)];
}

void TextImport::copyRecord(const DelimitedTextFile& file, int record, int r)
{
    for (int c = 0; c < file.getColumnCount(); ++c) {
        const std::string& field = file.cell(record, c);
        if (field == DelimitedTextFile::END_OF_ROW)
            return;
        table.setText(r, c, field);
    }
}

void TextImport::setImportCellsState(unsigned state)
{
    for (int r = -1; r < table.getDataRowCount(); ++r) {
        for (int c = 0; c < table.getDataColumnCount(); ++c)
            table.setCellState(table.toGridRow(r), table.toGridColumn(c), state);
    }
}

void TextImport::showError(const std::string& text)
{
    messages.showMessage("Error", text, MessageIcon::Error);
}
