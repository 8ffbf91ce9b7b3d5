#include "panes/reload/charge_chart.h"

#include "app/theme/components/dark_chart.h"
#include "app/theme/palette.h"
#include "app/theme/typeface.h"
#include "panes/reload/reload_texts.h"

#include <QAreaSeries>
#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrino {

namespace {

constexpr double kPointSymbolArea = 90;  // square points, as the symbol size of a point mark
constexpr double kAnnotationGap = 2;     // between the limit rule and its annotation
constexpr double kAnnotationTrailingPadding = 4;

QPen solidPen(const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// A dash of `on` and `off` points; QPen counts dashes in line widths.
QPen dashedPen(const QColor& colour, double width, double on, double off) {
    QPen pen = solidPen(colour, width);
    pen.setDashPattern({on / width, off / width});
    return pen;
}

// Round tick spacing for a span: the smallest of 1, 2 or 5 times a power of ten that puts at
// most seven ticks across it.
double roundStep(double span) {
    double magnitude = std::pow(10.0, std::floor(std::log10(span / 10)));
    while (true) {
        for (double factor : {1.0, 2.0, 5.0}) {
            if (span / (factor * magnitude) < 7) return factor * magnitude;
        }
        magnitude *= 10;
    }
}

bool samePoints(const QList<QPointF>& a, const QList<QPointF>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const QPointF& p, const QPointF& q) { return p.x() == q.x() && p.y() == q.y(); });
}

QList<QPointF> floorUnder(const QList<QPointF>& points, double floor) {
    QList<QPointF> lower;
    lower.reserve(points.size());
    for (const QPointF& point : points) lower << QPointF(point.x(), floor);
    return lower;
}

}  // namespace

// Built with its chart: a view made without one makes a default chart that setChart() would
// leave behind.
ChargeChart::ChargeChart(Look look, QWidget* parent)
    : QChartView(new QChart, parent), m_look(std::move(look)), m_chart(chart()) {
    m_chart->setLocalizeNumbers(true);  // axis values in the user's number format, like the fields
    m_x = new QValueAxis(m_chart);
    m_x->setRange(0, 1);
    m_x->setTickType(QValueAxis::TicksDynamic);
    m_x->setTickAnchor(0);
    m_x->setTickInterval(0.25);
    m_x->setLabelFormat(QStringLiteral("%.2f"));
    m_y = new QValueAxis(m_chart);
    updateYRange();
    m_chart->addAxis(m_x, Qt::AlignBottom);
    m_chart->addAxis(m_y, Qt::AlignLeft);

    auto add = [this](QAbstractSeries* series) {
        m_chart->addSeries(series);
        series->attachAxis(m_x);
        series->attachAxis(m_y);
    };
    if (m_look.area) {
        m_area = new QAreaSeries;
        m_upper = new QLineSeries(m_area);
        m_lower = new QLineSeries(m_area);
        m_area->setUpperSeries(m_upper);
        m_area->setLowerSeries(m_lower);
        QLinearGradient fade(0, 0, 0, 1);
        fade.setCoordinateMode(QGradient::ObjectBoundingMode);
        fade.setColorAt(0, withOpacity(Palette::accent(), 0.26));
        fade.setColorAt(1, withOpacity(Palette::accent(), 0));
        m_area->setBrush(fade);
        m_area->setPen(Qt::NoPen);
        add(m_area);
    }
    m_line = new QLineSeries;
    m_line->setName(m_look.valueName);
    m_line->setPen(solidPen(m_look.line, 2.5));
    add(m_line);
    m_limitRule = new QLineSeries;
    m_limitRule->setPen(dashedPen(Palette::red(), 1.5, 6, 4));
    add(m_limitRule);
    m_markerRule = new QLineSeries;
    m_markerRule->setPen(dashedPen(withOpacity(Palette::textTertiary(), 0.6), 1, 4, 3));
    add(m_markerRule);

    applyDarkChart(*m_chart);
    prepareChartView(*this);

    // The point is drawn over the chart rather than as a series: the chart clips its series to
    // the plot area, which would cut a point at the start or maximum charge in half.
    m_point = new QGraphicsEllipseItem(m_chart);
    m_point->setPen(Qt::NoPen);
    m_point->setZValue(999);  // over every series, under the annotation
    m_point->hide();

    m_annotation = new QGraphicsSimpleTextItem(m_chart);
    m_annotation->setFont(uiFont(9, QFont::DemiBold, 0.6));
    m_annotation->setBrush(Palette::red());
    m_annotation->setPen(Qt::NoPen);
    m_annotation->setZValue(1000);
    m_annotation->hide();
    connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        placeAnnotation();
        placePoint();
    });
    connect(m_y, &QValueAxis::rangeChanged, this, [this] {
        updateMarkerRule();
        placeAnnotation();
        placePoint();
    });

    setAccessibleName(m_look.title);
    updateDescription();
}

void ChargeChart::setCurve(const QList<QPointF>& points, double xMin, double xMax, double floor) {
    const bool sameRange = m_x->min() == xMin && m_x->max() == xMax;
    if (samePoints(points, m_points) && floor == m_floor && sameRange) return;
    m_points = points;
    m_floor = floor;
    ++m_curveRebuilds;
    if (!sameRange) {
        // The range is the load's charges; the ticks fall on round charges within it.
        m_x->setRange(xMin, xMax);
        if (xMax > xMin && std::isfinite(xMax - xMin)) {
            const double step = roundStep(xMax - xMin);
            m_x->setTickType(QValueAxis::TicksDynamic);
            m_x->setTickAnchor(std::ceil(xMin / step) * step);
            m_x->setTickInterval(step);
            m_x->setLabelFormat(QStringLiteral("%.") + QString::number(tickDecimals(step)) + QStringLiteral("f"));
        }
    }
    m_line->replace(points);
    if (m_area) {
        m_upper->replace(points);
        m_lower->replace(floorUnder(points, floor));
    }
    if (m_limit) m_limitRule->replace({QPointF(xMin, *m_limit), QPointF(xMax, *m_limit)});
    updateYRange();
    placeAnnotation();
    placePoint();
    updateDescription();
}

void ChargeChart::setLimit(std::optional<double> value, const QString& annotation) {
    if (value && !std::isfinite(*value)) value.reset();  // a rule cannot stand at infinity
    if (value == m_limit && annotation == m_annotation->text()) return;
    m_limit = value;
    m_annotation->setText(annotation);
    if (m_limit) {
        m_limitRule->replace({QPointF(m_x->min(), *m_limit), QPointF(m_x->max(), *m_limit)});
    } else {
        m_limitRule->clear();
    }
    updateYRange();
    placeAnnotation();
    updateDescription();
}

void ChargeChart::setMarker(std::optional<double> charge, std::optional<double> value, const QColor& colour) {
    if (charge && !std::isfinite(*charge)) charge.reset();
    if (value && !std::isfinite(*value)) value.reset();
    if (charge == m_charge && value == m_value && colour == m_markerColour) return;
    const bool shown = bool(charge);
    const bool wasShown = bool(m_charge);
    m_charge = charge;
    m_value = shown ? value : std::nullopt;
    if (colour != m_markerColour) {
        m_markerColour = colour;
        m_point->setBrush(colour);
    }
    if (shown != wasShown || m_value) updateYRange();
    updateMarkerRule();
    placePoint();
    updateDescription();
}

QString ChargeChart::annotation() const { return m_limit ? m_annotation->text() : QString(); }

std::optional<QPointF> ChargeChart::markerPoint() const {
    if (!m_value) return std::nullopt;
    return QPointF(*m_charge, *m_value);
}

QRectF ChargeChart::pointRect() const {
    return m_point->isVisible() ? m_point->mapRectToScene(m_point->rect()) : QRectF();
}

bool ChargeChart::markerRuleVisible() const { return m_markerRule->count() == 2; }

void ChargeChart::updateYRange() {
    // The scale follows the data and need not include zero, like an automatic scale: the curve,
    // the area's floor, the limit and the marker, widened to round values.
    double low = INFINITY;
    double high = -INFINITY;
    const auto take = [&](double value) {
        if (!std::isfinite(value)) return;
        low = std::min(low, value);
        high = std::max(high, value);
    };
    for (const QPointF& point : m_points) take(point.y());
    if (m_area && !m_points.isEmpty()) take(m_floor);
    if (m_limit) take(*m_limit);
    if (m_value) take(*m_value);
    if (low > high) {
        low = 0;
        high = 1;
    } else if (low == high) {
        const double pad = std::max(1.0, std::abs(low) * 0.01);
        low -= pad;
        high += pad;
    }
    // Nothing to do while the extremes stay: the marker moving along the curve keeps them.
    if (low == m_dataLow && high == m_dataHigh) return;
    m_dataLow = low;
    m_dataHigh = high;
    // Round ends worked out on a detached axis, then labelled with the decimals their step
    // needs: an empty chart's 0 to 1 reads 0.00, 0.25, ... 1.00, not 0, 0, 0, 1, 1.
    QValueAxis nice;
    nice.setTickCount(5);
    nice.setRange(low, high);
    nice.applyNiceNumbers();
    setTickedRange(*m_y, nice.min(), nice.max(), nice.tickCount());
}

void ChargeChart::updateMarkerRule() {
    if (!m_charge) {
        if (m_markerRule->count() > 0) m_markerRule->clear();
        return;
    }
    const QList<QPointF> rule{QPointF(*m_charge, m_y->min()), QPointF(*m_charge, m_y->max())};
    if (m_markerRule->count() == 2) {
        m_markerRule->replace(0, rule[0]);
        m_markerRule->replace(1, rule[1]);
    } else {
        m_markerRule->replace(rule);
    }
}

void ChargeChart::placePoint() {
    const QRectF plot = m_chart->plotArea();
    if (!m_value || plot.isEmpty()) {
        m_point->hide();
        return;
    }
    // Whole wherever its centre lies in the plot, also on an edge (a pixel's rounding aside).
    const QPointF centre = m_chart->mapToPosition(QPointF(*m_charge, *m_value), m_line);
    const double diameter = std::sqrt(kPointSymbolArea);
    m_point->setRect(centre.x() - diameter / 2, centre.y() - diameter / 2, diameter, diameter);
    m_point->setVisible(plot.adjusted(-0.5, -0.5, 0.5, 0.5).contains(centre));
}

void ChargeChart::placeAnnotation() {
    if (!m_limit || m_annotation->text().isEmpty()) {
        m_annotation->hide();
        return;
    }
    const QRectF plot = m_chart->plotArea();
    const QPointF ruleEnd = m_chart->mapToPosition(QPointF(m_x->max(), *m_limit), m_limitRule);
    const QRectF text = m_annotation->boundingRect();
    m_annotation->setPos(plot.right() - kAnnotationTrailingPadding - text.width(), ruleEnd.y() + kAnnotationGap);
    m_annotation->setVisible(ruleEnd.y() >= plot.top() && ruleEnd.y() <= plot.bottom());
}

void ChargeChart::updateDescription() {
    QStringList parts;
    if (m_points.isEmpty()) {
        parts << QStringLiteral("No data");
    } else {
        parts << QStringLiteral("%1 from %2 at %3 to %4 at %5")
                     .arg(m_look.valueName, m_look.valueText(m_points.front().y()),
                          reload_texts::charge(m_points.front().x()), m_look.valueText(m_points.back().y()),
                          reload_texts::charge(m_points.back().x()));
    }
    // The figures read as the tiles and the charge row show them.
    if (m_charge && m_value) {
        parts << QStringLiteral("Charge %1: %2").arg(reload_texts::charge(*m_charge), m_look.valueText(*m_value));
    }
    if (m_limit && !m_annotation->text().isEmpty()) parts << m_annotation->text();
    setAccessibleDescription(parts.join(QStringLiteral(". ")));
}

}  // namespace kavrino
