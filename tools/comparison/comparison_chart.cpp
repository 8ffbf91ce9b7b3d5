#include "tools/comparison/comparison_chart.h"

#include "app/theme/components/dark_chart.h"
#include "core/format.h"
#include "tools/comparison/comparison_colours.h"

#include <QChart>
#include <QPen>
#include <QSplineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrino {
namespace {

constexpr int kMinimumHeight = 380;
constexpr double kLineWidth = 2.5;

// Round bounds and a round step (1, 2 or 5 × a power of ten) for about six intervals, so the
// grid lines fall on values a shooter reads at a glance.
struct NiceScale {
    double lower;
    double upper;
    double step;
    int decimals;  // enough to tell the labels apart
};

NiceScale niceScale(double lower, double upper) {
    const double raw = (upper - lower) / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normalised = raw / magnitude;
    const double step = (normalised <= 1 ? 1 : normalised <= 2 ? 2 : normalised <= 5 ? 5 : 10) * magnitude;
    const int decimals = std::max(0, int(-std::floor(std::log10(step))));
    return {std::floor(lower / step) * step, std::ceil(upper / step) * step, step, decimals};
}

void applyScale(QValueAxis& axis, double lower, double upper) {
    const NiceScale scale = niceScale(lower, upper);
    // Every change of an axis lays out all its labels anew, the costliest part of a refresh:
    // change only what differs.
    const QString format = QStringLiteral("%.%1f").arg(scale.decimals);
    if (axis.labelFormat() != format) axis.setLabelFormat(format);
    if (axis.tickType() != QValueAxis::TicksDynamic) axis.setTickType(QValueAxis::TicksDynamic);
    if (axis.tickAnchor() != 0) axis.setTickAnchor(0);
    if (axis.tickInterval() != scale.step) axis.setTickInterval(scale.step);
    if (axis.min() != scale.lower || axis.max() != scale.upper) axis.setRange(scale.lower, scale.upper);
}

QList<QPointF> comeUpPoints(const std::vector<TrajectoryPoint>& rows) {
    QList<QPointF> points;
    points.reserve(qsizetype(rows.size()));
    for (const TrajectoryPoint& row : rows) points.append(QPointF(row.range, row.dropMOA));
    return points;
}

}  // namespace

ComparisonChart::ComparisonChart(QWidget* parent)
    // Built with its chart: a chart view made without one creates a default chart, which
    // setChart() would release to nobody.
    : QChartView(new QChart, parent), m_chart(chart()), m_rangeAxis(new QValueAxis), m_comeUpAxis(new QValueAxis) {
    setObjectName(QStringLiteral("comparisonChart"));
    setMinimumHeight(kMinimumHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_rangeAxis->setTitleText(tr("Range (yd)"));
    m_comeUpAxis->setTitleText(tr("Come-up (MOA)"));
    applyScale(*m_rangeAxis, 0, 1);
    applyScale(*m_comeUpAxis, 0, 1);
    m_chart->addAxis(m_rangeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_comeUpAxis, Qt::AlignLeft);
    applyDarkChart(*m_chart);
    prepareChartView(*this);
    setAccessibleName(tr("Elevation come-up"));
}

QSplineSeries* ComparisonChart::line(std::size_t position) const {
    return position < m_lines.size() ? m_lines[position].series : nullptr;
}

void ComparisonChart::setLoads(const std::vector<ComparisonModel::Load>& loads) {
    while (m_lines.size() > loads.size()) {
        QSplineSeries* series = m_lines.back().series;
        m_chart->removeSeries(series);
        delete series;
        m_lines.pop_back();
    }
    for (std::size_t i = 0; i < loads.size(); ++i) {
        const ComparisonModel::Load& load = loads[i];
        if (i == m_lines.size()) {
            auto* series = new QSplineSeries;
            m_chart->addSeries(series);
            series->attachAxis(m_rangeAxis);
            series->attachAxis(m_comeUpAxis);
            m_lines.push_back({series, QUuid(), QUuid(), 0});
        }
        Line& line = m_lines[i];
        QPen pen(comparisonSeriesColour(i), kLineWidth);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        if (line.series->pen() != pen) line.series->setPen(pen);
        const QUuid firstRow = load.trajectory.empty() ? QUuid() : load.trajectory.front().id;
        if (line.loadId != load.id || line.firstRowId != firstRow || line.rows != load.trajectory.size()) {
            line.series->replace(comeUpPoints(load.trajectory));
            line.series->setName(load.name);
            line.loadId = load.id;
            line.firstRowId = firstRow;
            line.rows = load.trajectory.size();
        }
    }
    fitAxes(loads);
    describe(loads);
}

void ComparisonChart::fitAxes(const std::vector<ComparisonModel::Load>& loads) {
    // Both scales take in zero, as the platform's automatic scales do, and end on round values.
    double rangeMax = 0, comeUpMin = 0, comeUpMax = 0;
    bool any = false;  // a finite point
    for (const ComparisonModel::Load& load : loads) {
        for (const TrajectoryPoint& row : load.trajectory) {
            if (!std::isfinite(row.range) || !std::isfinite(row.dropMOA)) continue;
            rangeMax = std::max(rangeMax, row.range);
            comeUpMin = std::min(comeUpMin, row.dropMOA);
            comeUpMax = std::max(comeUpMax, row.dropMOA);
            any = true;
        }
    }
    if (!any || rangeMax <= 0) rangeMax = 1;
    if (comeUpMax <= comeUpMin) comeUpMax = comeUpMin + 1;
    applyScale(*m_rangeAxis, 0, rangeMax);
    applyScale(*m_comeUpAxis, comeUpMin, comeUpMax);
}

void ComparisonChart::describe(const std::vector<ComparisonModel::Load>& loads) {
    // What the lines show, for a screen reader: each load's come-up at its farthest row.
    QStringList lines;
    for (const ComparisonModel::Load& load : loads) {
        if (load.trajectory.empty()) {
            lines << tr("%1: no trajectory").arg(load.name);
        } else {
            const TrajectoryPoint& last = load.trajectory.back();
            lines << tr("%1: %2 MOA at %3 yd")
                         .arg(load.name, qformat("%.2f", last.dropMOA), qformat("%.0f", last.range));
        }
    }
    setAccessibleDescription(lines.join(QStringLiteral("; ")));
}

}  // namespace kavrino
