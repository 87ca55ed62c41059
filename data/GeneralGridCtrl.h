#pragma once

#include "grid/CellPosition.h"
#include "grid/Colour.h"
#include "grid/GridModel.h"
#include "numeric/DecimalSeparator.h"
#include "numeric/LapackWorkspace.h"
#include "numeric/RealMatrix.h"

#include <optional>
#include <string>
#include <string_view>

class BinaryWriter;

/// The base of the program's tables: a grid addressed in data coordinates, whose cells can
/// be read as a matrix of numbers. The results table is one without headers.
///
/// Data row r is grid row r + fixed rows + extraRows, data column c grid column c + fixed
/// columns + extraCols; negative data coordinates address the header cells above and to
/// the left (row -1 is the header row directly above data row 0). "Participant cells" are
/// the cells at data coordinates of 0 and above. The row numbers stand in the header
/// column directly left of the data (data column -1), the column numbers in the top row.
///
/// Cell texts are read and numbers written with the user's decimal separator, which the
/// table is given when it is made.
class GeneralGridCtrl : public GridModel {
public:
    /// The background of the name row of the data table and of the effect rows of the
    /// results table.
    static constexpr Colour NAME_ROW_COLOUR{150, 180, 150};
    /// The background of colourHeaderRow and colourHeaderColumn.
    static constexpr Colour HEADER_COLOUR{153, 204, 255};
    /// Rows (or columns) added when the cursor reaches the last ones, and how close to the
    /// end it must be.
    static constexpr int GROWTH = 3;

    explicit GeneralGridCtrl(DecimalSeparator separator);

    DecimalSeparator getDecimalSeparator() const { return decimalSeparator; }

    /// The row or column count becomes n plus the header rows or columns; false for n < 0.
    bool setDataRowCount(int n);
    bool setDataColumnCount(int n);
    int getDataRowCount() const;
    int getDataColumnCount() const;
    int toGridRow(int r) const { return r + getFixedRowCount() + extraRows; }
    int toGridColumn(int c) const { return c + getFixedColumnCount() + extraCols; }
    int toDataRow(int row) const { return row - getFixedRowCount() - extraRows; }
    int toDataColumn(int column) const { return column - getFixedColumnCount() - extraCols; }

    const std::string& getText(int r, int c) const;
    void setText(int r, int c, std::string text);
    void setCellColour(int r, int c, int red, int green, int blue);
    /// Every cell of row -1, or of column -1, gets HEADER_COLOUR.
    void colourHeaderRow();
    void colourHeaderColumn();

    /// An empty data row that becomes data row r (r == getDataRowCount() appends). Header
    /// rows cannot be inserted: false for r < 0 or beyond the end.
    bool insertDataRow(int r);
    /// Header rows and columns cannot be deleted: false outside 0 … count - 1.
    bool deleteDataRow(int r);
    virtual bool deleteDataColumn(int c);
    /// Appends n data rows, each numbered after the last.
    void appendDataRows(int n);
    /// Rewrites the row numbers "1" … of the data rows.
    void renumberRows();
    /// Rewrites the column numbers "1" … of the data columns.
    void renumberColumns();

    /// Every participant cell of the row or column has an empty text (a blank is not empty).
    bool isRowEmpty(int r) const;
    bool isColumnEmpty(int c) const;
    /// Deletes the empty data rows (columns, through deleteDataColumn), renumbers the
    /// remaining ones "1" … and repaints.
    void removeEmptyRows();
    void removeEmptyColumns();

    /// Removes the empty rows and columns, then reads every participant cell, row by row
    /// and left to right, into the value matrix (readCell). A table may refuse a cell; then
    /// it stops there and returns false, and the value matrix must not be used.
    virtual bool readNumbers();
    /// The numbers of the last readNumbers, or those fillFromValues is to write.
    RealMatrix& getValueMatrix() { return valueMatrix; }
    const RealMatrix& getValueMatrix() const { return valueMatrix; }
    /// The data extent becomes the shape of the value matrix, and every participant cell
    /// its value written with "%.14g"; a NaN becomes an empty cell.
    void fillFromValues();
    /// Marks the table modified and repaints it.
    void refresh();

    /// Records 1 to 3 of a project file: readNumbers, then the value matrix
    /// (serializeMatrix). False, with nothing written, when readNumbers refuses a cell.
    bool serializeValues(BinaryWriter& out);
    /// The reading counterpart: the value matrix becomes a copy of values, then
    /// fillFromValues writes it into the participant cells.
    void loadValues(const GeneralMatrix<double>& values);

    /// Pastes at the top-left cell of the selected range (the focus cell when nothing is
    /// selected), after makeRoom has grown the table for the text; that cell becomes the
    /// focus cell.
    bool paste(std::string_view text) override;

protected:
    /// The value readNumbers stores for participant cell (r, c), or nothing when the table
    /// refuses the cell (after its message). Here the leading number of the text
    /// (parseNumber: 0.0 without one); no cell is refused.
    virtual std::optional<double> readCell(int r, int c);
    /// Grows the table before lines × columns fields are pasted at origin (data
    /// coordinates); nothing here.
    virtual void makeRoom(CellPosition origin, int lines, int columns);
    /// The data rows a paste of lines rows at data row originRow still needs, appended.
    void appendRowsForPaste(int originRow, int lines);
    /// On Enter or Down with the focus cell in one of the last GROWTH rows, appends GROWTH
    /// numbered data rows; the focus cell stays.
    void growRowsAtEnd(GridKey key);

    /// The text fillFromValues writes for value.
    std::string cellTextOf(double value) const;

    int extraRows = 0;
    int extraCols = 0;
    LapackWorkspace lapack;
    RealMatrix valueMatrix{&lapack};
    DecimalSeparator decimalSeparator;
};
