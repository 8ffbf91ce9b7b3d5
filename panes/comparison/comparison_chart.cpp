#include "panes/comparison/comparison_chart.h"

#include "app/theme/components/catmull_rom.h"
#include "app/theme/components/dark_chart.h"
#include "core/format.h"
#include "panes/comparison/comparison_colours.h"

#include <QChart>
#include <QPen>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrino {
namespace {

constexpr int kMinimumHeight = 380;
constexpr double kLineWidth = 2.5;
constexpr int kTickTarget = 5;
constexpr int kMostRangeTicks = 11;  // the range axis runs along the card's width
constexpr int kTickSpacing = 30;     // points per come-up tick at least, labels included

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
    m_chart->addAxis(m_rangeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_comeUpAxis, Qt::AlignLeft);
    applyDarkChart(*m_chart);
    prepareChartView(*this);
    fitAxes();
    setAccessibleName(tr("Elevation come-up"));
}

QSize ComparisonChart::sizeHint() const { return {QChartView::sizeHint().width(), kMinimumHeight}; }

QLineSeries* ComparisonChart::line(std::size_t position) const {
    return position < m_lines.size() ? m_lines[position].series : nullptr;
}

QList<QPointF> ComparisonChart::linePoints(std::size_t position) const {
    return position < m_lines.size() ? m_lines[position].curve->points() : QList<QPointF>();
}

void ComparisonChart::setLoads(const std::vector<ComparisonModel::Load>& loads) {
    while (m_lines.size() > loads.size()) {
        QLineSeries* series = m_lines.back().series;
        m_chart->removeSeries(series);
        delete series;  // and its curve with it
        m_lines.pop_back();
    }
    for (std::size_t i = 0; i < loads.size(); ++i) {
        const ComparisonModel::Load& load = loads[i];
        if (i == m_lines.size()) {
            auto* series = new QLineSeries;
            m_chart->addSeries(series);
            series->attachAxis(m_rangeAxis);
            series->attachAxis(m_comeUpAxis);
            auto* curve = new CatmullRomLine(*m_chart, *m_rangeAxis, *m_comeUpAxis, {series}, series);
            m_lines.push_back({series, curve, QUuid(), QUuid(), 0});
        }
        Line& line = m_lines[i];
        QPen pen(comparisonSeriesColour(i), kLineWidth);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        if (line.series->pen() != pen) line.series->setPen(pen);
        const QUuid firstRow = load.trajectory.empty() ? QUuid() : load.trajectory.front().id;
        if (line.loadId != load.id || line.firstRowId != firstRow || line.rows != load.trajectory.size()) {
            line.curve->setPoints(comeUpPoints(load.trajectory));
            line.series->setName(load.name);
            line.loadId = load.id;
            line.firstRowId = firstRow;
            line.rows = load.trajectory.size();
        }
    }
    measure(loads);
    fitAxes();
    describe(loads);
}

void ComparisonChart::measure(const std::vector<ComparisonModel::Load>& loads) {
    m_extent = {};
    for (const ComparisonModel::Load& load : loads) {
        for (const TrajectoryPoint& row : load.trajectory) {
            if (!std::isfinite(row.range) || !std::isfinite(row.dropMOA)) continue;
            m_extent.rangeMax = std::max(m_extent.rangeMax, row.range);
            m_extent.comeUpMin = std::min(m_extent.comeUpMin, row.dropMOA);
            m_extent.comeUpMax = std::max(m_extent.comeUpMax, row.dropMOA);
        }
    }
}

void ComparisonChart::fitAxes() {
    // The theme's automatic axes: zero included, round ends, as many ticks as fit.
    applyAutomaticRange(*m_rangeAxis, 0, m_extent.rangeMax > 0 ? m_extent.rangeMax : 1, kTickTarget, kMostRangeTicks);
    applyAutomaticRange(*m_comeUpAxis, m_extent.comeUpMin, m_extent.comeUpMax, kTickTarget,
                        std::max(kTickTarget, height() / kTickSpacing + 1));
}

void ComparisonChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    fitAxes();  // a taller chart has room for more come-up ticks
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
