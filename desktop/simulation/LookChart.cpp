#include "desktop/simulation/LookChart.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>

namespace {

/// A locale whose decimal point is the user's separator, for the axis labels.
QLocale localeOf(DecimalSeparator separator)
{
    QLocale locale = separator.get() == ',' ? QLocale(QLocale::German) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QValueAxis* makeAxis(QChart& chart, const QString& title, Qt::Alignment alignment, double low,
                     double high)
{
    auto* axis = new QValueAxis(&chart);
    axis->setTitleText(title);
    axis->setLabelFormat("%.3g");
    axis->setRange(low, high);
    axis->applyNiceNumbers();
    chart.addAxis(axis, alignment);
    return axis;
}

void attach(QChart& chart, QAbstractSeries* series, QValueAxis* x, QValueAxis* y)
{
    chart.addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

/// One share of every look as a line in colour over the band of its intervals.
void addShare(QChart& chart, const LookTable& table, ProportionEstimate LookRow::*share,
              const QString& name, QColor colour, QValueAxis* x, QValueAxis* y)
{
    auto* line = new QLineSeries(&chart);
    auto* lower = new QLineSeries(&chart);
    auto* upper = new QLineSeries(&chart);
    for (const LookRow& row : table.looks) {
        const auto participants = static_cast<double>(row.participants);
        const ProportionEstimate& estimate = row.*share;
        line->append(participants, estimate.value);
        lower->append(participants, estimate.low);
        upper->append(participants, estimate.high);
    }
    auto* band = new QAreaSeries(upper, lower);
    band->setName("95 % CI, " + name.toLower());
    band->setPen(Qt::NoPen);
    colour.setAlpha(55);
    band->setBrush(colour);
    attach(chart, band, x, y);

    colour.setAlpha(255);
    line->setName(name);
    line->setPen(QPen(colour, 2.0));
    line->setPointsVisible(true);
    attach(chart, line, x, y);
}

} // namespace

QChart* makeLookChart(const LookTable& table, const QString& yTitle,
                      const std::optional<ChartReference>& reference, DecimalSeparator separator)
{
    auto* chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->setLocale(localeOf(separator));
    const auto first = static_cast<double>(table.looks.front().participants);
    const auto last = static_cast<double>(table.looks.back().participants);
    // A single look still gets an axis of some width.
    const double margin = std::max(1.0, (last - first) * 0.05);
    double top = reference ? reference->value : 0.0;
    for (const LookRow& row : table.looks)
        top = std::max({top, row.significantAtThisLook.high, row.significantByThisLook.high});
    QValueAxis* x = makeAxis(*chart, "Participants (all groups)", Qt::AlignBottom, first - margin,
                             last + margin);
    QValueAxis* y = makeAxis(*chart, yTitle, Qt::AlignLeft, 0.0, std::clamp(top * 1.1, 0.01, 1.0));

    addShare(*chart, table, &LookRow::significantAtThisLook, "Significant at this look",
             QColor(31, 119, 180), x, y);
    addShare(*chart, table, &LookRow::significantByThisLook, "Significant by this look",
             QColor(214, 96, 16), x, y);
    if (reference) {
        auto* line = new QLineSeries(chart);
        line->append(x->min(), reference->value);
        line->append(x->max(), reference->value);
        line->setName(reference->name);
        line->setPen(QPen(Qt::darkGray, 1.5, Qt::DashLine));
        attach(*chart, line, x, y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

bool writeChart(QChartView& view, const QString& path)
{
    if (!path.endsWith(".svg", Qt::CaseInsensitive))
        return view.grab().save(path);
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(view.size());
    svg.setViewBox(view.rect());
    svg.setTitle("Look by look");
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    view.render(&painter);
    return painter.end();
}
