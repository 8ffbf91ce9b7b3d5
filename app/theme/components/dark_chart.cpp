#include "app/theme/components/dark_chart.h"

#include "app/theme/palette.h"
#include "app/theme/typeface.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QMarginsF>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrino {
namespace {

// The platform charts label their axes in the caption size.
constexpr double kAxisTextPoints = 10;

// Keeps a chart's grid on whole pixels. Hairlines stay crisp at a device pixel ratio of 1 only
// when they run along pixel centres; the grid lines lie on the plot area's edges and at equal
// steps between them, so the plot area is moved to start on a pixel centre and trimmed to
// whole-pixel steps (a few pixels at most). It works through the chart layout's margins, which
// leave the automatic placement of labels and titles as it is. At a ratio of 2 the same
// positions fall on device-pixel boundaries, two pixels wide.
class PixelGrid final : public QObject {
public:
    explicit PixelGrid(QChart& chart) : QObject(&chart), m_chart(chart) {
        setObjectName(QStringLiteral("darkChartPixelGrid"));
        connect(&chart, &QChart::plotAreaChanged, this, &PixelGrid::snap);
        for (QAbstractAxis* axis : chart.axes()) {
            if (auto* values = qobject_cast<QValueAxis*>(axis)) {
                connect(values, &QValueAxis::tickCountChanged, this, &PixelGrid::snap);
            }
        }
    }

    void snap() {
        const QRectF area = m_chart.plotArea();
        if (area.width() <= 0 || area.height() <= 0) return;
        const QRectF natural = area.adjusted(-m_margins.left(), -m_margins.top(), m_margins.right(), m_margins.bottom());
        double left, right, top, bottom;
        onWholeSteps(natural.left(), natural.right(), steps(Qt::Horizontal), left, right);
        onWholeSteps(natural.top(), natural.bottom(), steps(Qt::Vertical), top, bottom);
        const QMarginsF margins(left - natural.left(), top - natural.top(), natural.right() - right,
                                natural.bottom() - bottom);
        if (margins == m_margins) return;
        m_margins = margins;
        m_chart.layout()->setContentsMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
    }

private:
    // Grid intervals along `orientation`: those of the first value axis that runs that way.
    int steps(Qt::Orientation orientation) const {
        for (QAbstractAxis* axis : m_chart.axes(orientation)) {
            if (auto* values = qobject_cast<QValueAxis*>(axis)) return std::max(values->tickCount() - 1, 1);
        }
        return 1;
    }
    static void onWholeSteps(double start, double end, int steps, double& snappedStart, double& snappedEnd) {
        snappedStart = std::ceil(start - 0.5) + 0.5;
        const double step = std::floor((end - snappedStart) / steps);
        snappedEnd = step > 0 ? snappedStart + step * steps : end;
    }

    QChart& m_chart;
    QMarginsF m_margins;
};

}  // namespace

void applyDarkChart(QChart& chart) {
    chart.setBackgroundVisible(false);
    chart.setPlotAreaBackgroundVisible(false);
    chart.setBackgroundRoundness(0);
    chart.setMargins(QMargins());
    chart.layout()->setContentsMargins(0, 0, 0, 0);
    chart.legend()->hide();
    for (QAbstractAxis* axis : chart.axes()) {
        axis->setGridLineColor(withOpacity(Palette::stroke(), 0.6));
        axis->setLinePenColor(Palette::stroke());
        axis->setLabelsColor(Palette::textSecondary());
        axis->setLabelsFont(uiFont(kAxisTextPoints));
        axis->setTitleBrush(Palette::textSecondary());
        axis->setTitleFont(uiFont(kAxisTextPoints));
        axis->setMinorGridLineVisible(false);
        axis->setShadesVisible(false);
    }
    if (chart.findChild<QObject*>(QStringLiteral("darkChartPixelGrid"), Qt::FindDirectChildrenOnly) == nullptr) {
        new PixelGrid(chart);
    }
}

void prepareChartView(QChartView& view) {
    view.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setBackgroundBrush(Qt::transparent);
    view.setStyleSheet(QStringLiteral("background: transparent"));
}

void applyAutomaticRange(QValueAxis& axis, double low, double high, int tickTarget, int maxTicks) {
    if (!std::isfinite(low)) low = 0;
    if (!std::isfinite(high)) high = 0;
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (low == high) {
        low = -1;
        high = 1;
    }
    // Nice numbers for tick counts from the target up; the tightest span wins (0 to 600.3 yd
    // reads 0 to 700 in steps of 100 rather than 0 to 800 in steps of 200 where eight ticks
    // fit, 0 to 300.1 yd reads 0 to 350). Worked out on a detached axis: every change of an
    // axis on a chart lays its labels out again.
    QValueAxis scratch;
    double bestMin = 0, bestMax = 0;
    int bestTicks = 0;
    const int firstTarget = std::max(tickTarget, 2);
    for (int target = firstTarget; target <= std::max(firstTarget, maxTicks) + 3; ++target) {
        scratch.setTickCount(target);  // applyNiceNumbers() rewrites the count
        scratch.setRange(low, high);
        scratch.applyNiceNumbers();
        const bool fits = scratch.tickCount() <= maxTicks || target == firstTarget;
        if (fits && (bestTicks == 0 || scratch.max() - scratch.min() < bestMax - bestMin)) {
            bestMin = scratch.min();
            bestMax = scratch.max();
            bestTicks = scratch.tickCount();
        }
    }
    setTickedRange(axis, bestMin, bestMax, bestTicks);
}

int tickDecimals(double step) {
    int decimals = 0;
    while (decimals < 6) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * std::max(1.0, std::fabs(scaled))) break;
        ++decimals;
    }
    return decimals;
}

void setTickedRange(QValueAxis& axis, double min, double max, int ticks) {
    ticks = std::max(ticks, 2);
    const int decimals = tickDecimals((max - min) / (ticks - 1));
    // The axis labels tick i with the value min + i * (max - min) / (ticks - 1), computed in
    // binary floating point: a tick meant to be zero can come out a hair below it (-1.8 + 9 *
    // 1.8 / 9 is -2.2e-16) and read "-0.0". The whole range is then raised by a hair, far
    // below a label's last digit and a pixel, until no label below zero rounds to zero.
    const double halfLastDigit = 0.5 * std::pow(10.0, -decimals);
    const auto readsNegativeZero = [&](double low, double high) {
        for (int i = 0; i < ticks; ++i) {
            const double value = low + (i * (high - low) / (ticks - 1));
            if (value < 0 && value > -halfLastDigit) return true;
        }
        return false;
    };
    const double span = max - min;
    if (std::isfinite(span) && span > 0) {
        for (double shift = span * 0x1p-50; shift < span * 1e-6 && readsNegativeZero(min, max); shift *= 2) {
            min += shift;
            max += shift;
        }
    }
    const QString format = QStringLiteral("%.%1f").arg(decimals);
    if (axis.labelFormat() != format) axis.setLabelFormat(format);
    if (axis.tickCount() != ticks) axis.setTickCount(ticks);
    if (axis.min() != min || axis.max() != max) axis.setRange(min, max);
}

}  // namespace kavrino
