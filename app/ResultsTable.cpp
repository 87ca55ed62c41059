#include "app/ResultsTable.h"

#include "app/AnalysisRows.h"
#include "numeric/NumberText.h"
#include "stats/AnalysisIndex.h"

#include <array>
#include <cstddef>

namespace {

void writeHeaderRow(GeneralGridCtrl& results, int r, const std::string& effectName,
                    const std::string& sphericity)
{
    static constexpr std::array<const char*, RESULTS_COLUMN_COUNT> HEADINGS = {
        "",
        "",
        "value",
        "F",
        "df1",
        "df2",
        "p",
        "partial η²",
        "noncentr.",
        "MANOVA exact statistic",
        "choose for simulation"};
    for (int c = 0; c < RESULTS_COLUMN_COUNT; ++c) {
        const std::string text = c == 0   ? effectName
                                 : c == 1 ? sphericity
                                          : HEADINGS[static_cast<std::size_t>(c)];
        results.setText(r, c, text);
        results.setCellBackground(results.toGridRow(r), results.toGridColumn(c),
                                  GeneralGridCtrl::NAME_ROW_COLOUR);
    }
}

void writeAnalysisRow(GeneralGridCtrl& results, int r, const AnalysisRow& row)
{
    const DecimalSeparator separator = results.getDecimalSeparator();
    const auto number = [separator](double value) {
        return formatNumber(value, "%.4f", separator);
    };
    results.setText(r, 1, std::string(ANALYSIS_NAMES[static_cast<std::size_t>(row.index)]));
    const int gridRow = results.toGridRow(r);
    if (row.availability != Availability::Available) {
        // Every figure of the row is "-", and each cell explains why.
        const std::string reason(availabilityReason(row.availability));
        for (int c = 1; c < CHOICE_COLUMN; ++c) {
            if (c > 1)
                results.setText(r, c, "-");
            results.setCellToolTip(gridRow, results.toGridColumn(c), reason);
        }
    } else {
        results.setText(r, 2, row.value ? number(*row.value) : "-");
        results.setText(r, 3, number(row.F));
        results.setText(r, 4, number(row.df1));
        results.setText(r, 5, number(row.df2));
        results.setText(r, 6, number(row.p));
        results.setText(r, 7, number(row.partialEtaSquared));
        results.setText(r, 8, number(row.noncentrality));
        results.setText(r, 9, row.exact ? (*row.exact ? "yes" : "no") : "-");
    }
    const int gridColumn = results.toGridColumn(CHOICE_COLUMN);
    results.setCellType(gridRow, gridColumn, CellType::TickBox);
    results.setCellChecked(gridRow, gridColumn, false);
}

} // namespace

void appendEffectBlock(GeneralGridCtrl& results, const Anova& engine)
{
    const int r = results.getDataRowCount();
    results.setDataColumnCount(RESULTS_COLUMN_COUNT);
    results.setDataRowCount(r + ROWS_PER_EFFECT);
    writeHeaderRow(results, r, engine.effectName(),
                   mauchlyText(engine.getMauchlyTest(), engine.getPillaiTest().t,
                               results.getDecimalSeparator()));
    for (const AnalysisRow& row : analysisRows(engine))
        writeAnalysisRow(results, r + 1 + row.index, row);
    for (int c : {1, 9, CHOICE_COLUMN})
        results.autoSizeColumn(results.toGridColumn(c));
}

std::string mauchlyText(const MauchlyTest& test, std::int32_t t, DecimalSeparator separator)
{
    if (t < 2)
        return {};
    if (!test.isFormed())
        return "Mauchly: -";
    const auto number = [separator](double value) {
        return formatNumber(value, "%.4f", separator);
    };
    // Semicolons between the figures, since the decimal separator may be a comma.
    return "Mauchly: W = " + number(test.W) + "; χ²(" + formatNumber(test.df, "%.0f", separator) +
           ") = " + number(test.chiSquare) + "; p = " + number(test.p);
}

std::optional<AnalysisChoice> findChosenAnalysis(const GeneralGridCtrl& results,
                                                 MessageSink& messages)
{
    int chosenRow = -1;
    for (int r = 0; r < results.getDataRowCount(); ++r) {
        const int position = r % ROWS_PER_EFFECT;
        if (position == 0 || position == ROWS_PER_EFFECT - 1)
            continue;
        if (!results.isCellChecked(results.toGridRow(r), results.toGridColumn(CHOICE_COLUMN)))
            continue;
        if (chosenRow >= 0) {
            messages.showMessage("Error", "Only one analysis may be chosen for simulation.",
                                 MessageIcon::Error);
            return std::nullopt;
        }
        chosenRow = r;
    }
    if (chosenRow < 0) {
        messages.showMessage("Error", "No analysis chosen for simulation.", MessageIcon::Error);
        return std::nullopt;
    }
    AnalysisChoice choice;
    choice.effectNumber = chosenRow / ROWS_PER_EFFECT + 1;
    choice.analysisIndex = chosenRow % ROWS_PER_EFFECT - 1;
    choice.effectName = results.getText(chosenRow - chosenRow % ROWS_PER_EFFECT, 0);
    return choice;
}
