#pragma once

#include "numeric/DecimalSeparator.h"
#include "simulation/LookTable.h"

#include <QString>

#include <optional>

class QChart;
class QChartView;

/// A horizontal line across the look chart: the target power, or the critical alpha the
/// run held its shares against.
struct ChartReference {
    double value = 0.0;
    QString name;
};

/// The chart of a look table: over the participants of each look (all groups together), the
/// shares significant at and by each look as lines with points, their 95 % intervals as
/// semi-transparent bands, and the reference line. yTitle names the shares; axis labels
/// take the user's separator. The caller owns the chart.
QChart* makeLookChart(const LookTable& table, const QString& yTitle,
                      const std::optional<ChartReference>& reference, DecimalSeparator separator);

/// Writes the chart as the view draws it: SVG for a path ending in ".svg", otherwise the
/// image format of its extension (PNG, JPEG, ...). False when the file cannot be written.
bool writeChart(QChartView& view, const QString& path);
