#include "desktop/simulation/LookTableDlg.h"

#include "desktop/simulation/LookChart.h"
#include "numeric/NumberText.h"
#include "simulation/LookTableText.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

/// The looks the table shows at once; more scroll.
constexpr int MOST_ROWS_SHOWN = 12;

/// The horizontal line of the chart: the target of a power run that has one, the critical
/// alpha (the target alpha of a calibration) of an alpha run.
std::optional<ChartReference> referenceOf(const SimulationResult& result,
                                          const SimulationParameters& parameters,
                                          std::optional<double> targetPower,
                                          DecimalSeparator separator)
{
    if (parameters.simulateAlpha == 0) {
        if (!targetPower)
            return std::nullopt;
        return ChartReference{*targetPower,
                              QString::fromStdString(
                                  "Target power " + formatNumber(*targetPower, "%.4g", separator))};
    }
    const char* name = result.calibratedAlpha ? "Target alpha " : "Critical alpha ";
    return ChartReference{
        parameters.criticalAlpha,
        QString::fromStdString(name + formatNumber(parameters.criticalAlpha, "%.4g", separator))};
}

} // namespace

LookTableDlg::LookTableDlg(const SimulationResult& result, const SimulationParameters& parameters,
                           std::optional<double> targetPower, FileDialogs& dialogs,
                           Clipboard& userClipboard, MessageSink& messageSink,
                           DecimalSeparator userSeparator, QWidget* parent)
    : QDialog(parent), table(makeLookTable(result)), fileDialogs(dialogs), clipboard(userClipboard),
      messages(messageSink), separator(userSeparator)
{
    setWindowTitle("Look by look");
    const QString yTitle = parameters.simulateAlpha != 0 ? "Alpha error probability" : "Power";
    chartView = new QChartView(
        makeLookChart(table, yTitle, referenceOf(result, parameters, targetPower, separator),
                      separator),
        this);
    chartView->setObjectName("lookChart");
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(320);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Shares of the passes, look by look, with their 95 % "
                                 "confidence intervals (Wilson):",
                                 this));
    layout->addWidget(createTable());
    layout->addLayout(createFindings(result, parameters, targetPower));
    layout->addWidget(chartView, 1);
    layout->addLayout(createButtons());
    resize(1000, 760);
}

QTableWidget* LookTableDlg::createTable()
{
    const std::vector<std::string> headings = lookTableHeadings();
    auto* view = new QTableWidget(static_cast<int>(table.looks.size()),
                                  static_cast<int>(headings.size()), this);
    view->setObjectName("lookTable");
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    for (std::size_t c = 0; c < headings.size(); ++c) {
        view->setHorizontalHeaderItem(static_cast<int>(c),
                                      new QTableWidgetItem(QString::fromStdString(headings[c])));
    }
    for (std::size_t r = 0; r < table.looks.size(); ++r) {
        const std::vector<std::string> cells = lookRowCells(table.looks[r], separator);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            view->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    view->resizeColumnsToContents();
    view->resizeRowsToContents();
    // Every column, and up to MOST_ROWS_SHOWN looks, without scrolling.
    int width = 2 * view->frameWidth();
    for (int c = 0; c < view->columnCount(); ++c)
        width += view->columnWidth(c);
    int height = 2 * view->frameWidth() + view->horizontalHeader()->sizeHint().height();
    for (int r = 0; r < std::min(view->rowCount(), MOST_ROWS_SHOWN); ++r)
        height += view->rowHeight(r);
    view->setMinimumSize(width, height);
    view->setMaximumHeight(height);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

QLabel* LookTableDlg::addFinding(QLayout* layout, const char* name, const std::string& text)
{
    auto* label = new QLabel(QString::fromStdString(text), this);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    return label;
}

QLayout* LookTableDlg::createFindings(const SimulationResult& result,
                                      const SimulationParameters& parameters,
                                      std::optional<double> targetPower)
{
    auto* layout = new QVBoxLayout;
    addFinding(layout, "expectedParticipants", expectedParticipantsText(table, separator));
    if (result.calibratedAlpha) {
        addFinding(
            layout, "calibratedAlpha",
            calibratedAlphaText(*result.calibratedAlpha, parameters.criticalAlpha, separator));
    }
    if (targetPower && parameters.simulateAlpha == 0) {
        QLabel* required = addFinding(layout, "requiredSample",
                                      requiredSampleText(table, *targetPower, separator));
        QFont font = required->font();
        font.setBold(true);
        required->setFont(font);
    }
    return layout;
}

QLayout* LookTableDlg::createButtons()
{
    auto* save = new QPushButton("Save chart…", this);
    save->setObjectName("saveChartButton");
    auto* copy = new QPushButton("Copy table", this);
    copy->setObjectName("copyTableButton");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("closeButton");
    for (QPushButton* button : {save, copy})
        button->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &LookTableDlg::saveChart);
    connect(copy, &QPushButton::clicked, this, &LookTableDlg::copyTable);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QHBoxLayout;
    layout->addWidget(save);
    layout->addWidget(copy);
    layout->addStretch(1);
    layout->addWidget(close);
    return layout;
}

void LookTableDlg::saveChart()
{
    const std::optional<std::string> path =
        fileDialogs.saveFile("Save chart", CHART_FILTER, "png", "");
    if (!path)
        return;
    if (!writeChart(*chartView, QString::fromStdString(*path))) {
        messages.showMessage("Error",
                             "The chart cannot be written to " + *path +
                                 ". Please choose a writable place and a name ending in .png "
                                 "or .svg.",
                             MessageIcon::Error);
    }
}

void LookTableDlg::copyTable()
{
    clipboard.setText(lookTableTsv(table, separator));
}
