#pragma once

#include "numeric/DecimalSeparator.h"
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/MessageSink.h"
#include "simulation/LookTable.h"
#include "simulation/SimulationResult.h"
#include "stats/SimulationParameters.h"

#include <QDialog>

#include <optional>

class QChartView;
class QLabel;
class QLayout;
class QTableWidget;

/// "Look by look": the result of a run that recorded every look. The look table with its
/// intervals, the expected participants, the calibrated alpha of a calibration and the
/// required sample size of a target power, a chart of the shares over the participants,
/// and buttons that save the chart (PNG or SVG) and copy the table as tab-separated text.
/// The window shows a copy of the result; the services must outlive it.
class LookTableDlg : public QDialog {
    Q_OBJECT

public:
    /// The file filter of "Save chart…".
    static constexpr const char* CHART_FILTER = "PNG image (*.png)|*.png|SVG image (*.svg)|*.svg||";

    /// result: a completed run that recorded its looks; parameters: the settings it ran
    /// with, whose critical alpha is the target of a calibration; targetPower: the window's
    /// field, for a power run.
    LookTableDlg(const SimulationResult& result, const SimulationParameters& parameters,
                 std::optional<double> targetPower, FileDialogs& fileDialogs, Clipboard& clipboard,
                 MessageSink& messages, DecimalSeparator separator, QWidget* parent = nullptr);

public slots:
    /// "Save chart…": the chart in the file chosen, as its extension says.
    void saveChart();
    /// "Copy table": the table with its headings as tab-separated text.
    void copyTable();

private:
    QTableWidget* createTable();
    /// The lines under the table: what the run found beyond the shares.
    QLayout* createFindings(const SimulationResult& result, const SimulationParameters& parameters,
                            std::optional<double> targetPower);
    QLayout* createButtons();
    QLabel* addFinding(QLayout* layout, const char* name, const std::string& text);

    LookTable table;
    FileDialogs& fileDialogs;
    Clipboard& clipboard;
    MessageSink& messages;
    DecimalSeparator separator;
    QChartView* chartView = nullptr;
};
