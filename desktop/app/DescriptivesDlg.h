#pragma once

#include <QDialog>
#include <QString>

/// "Descriptive statistics": the number of participants, the mean and the SD of every cell
/// of the last computation, as a read-only table in a fixed-width font that the user may
/// select and copy, and "OK".
class DescriptivesDlg : public QDialog {
    Q_OBJECT

public:
    /// table: the text of formatCellStatisticsText.
    DescriptivesDlg(const QString& table, QWidget* parent = nullptr);
};
