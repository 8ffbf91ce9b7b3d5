#include "panes/trajectory/range_chart.h"

#include "app/theme/components/catmull_rom.h"
#include "app/theme/components/dark_chart.h"
#include "app/theme/palette.h"
#include "app/theme/typeface.h"
#include "core/format.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAreaSeries>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QLinearGradient>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrino {
namespace {

constexpr double kLineWidth = 2.5;
constexpr double kRuleWidth = 1;
constexpr double kAnnotationPoints = 9;
constexpr double kAnnotationSpacing = 2;  // between the rule and the caption's text box
constexpr int kTickTarget = 5;
constexpr int kMostRangeTicks = 11;  // the range axis runs along the card's width
constexpr int kTickSpacing = 30;     // points per vertical tick at least, labels included

QPen linePen(const QColor& colour) {
    return QPen(colour, kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

QPen rulePen(const QColor& colour) {
    QPen pen(colour, kRuleWidth, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({4, 3});  // in units of the 1-point width: 4 on, 3 off
    return pen;
}

// The accent fading downwards, over the bounding box of the area it fills.
QBrush areaBrush() {
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, withOpacity(Palette::accent(), 0.32));
    gradient.setColorAt(1, withOpacity(Palette::accent(), 0));
    return QBrush(gradient);
}

// A figure as the description reads it: shortest form, and never "-0".
QString figure(double value) { return qformat("%g", value + 0.0); }

// The rule's caption for assistive technology: static text named by the caption, at the
// place it is drawn.
class AnnotationAccessible final : public QAccessibleInterface {
public:
    explicit AnnotationAccessible(RangeChart* chart) : m_chart(chart) {}

    bool isValid() const override { return m_chart != nullptr && m_chart->annotation() != nullptr; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_chart); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? m_chart->annotation()->text() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect local = m_chart->annotationRect();
        return QRect(m_chart->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = !m_chart->isVisible() || m_chart->annotationRect().isEmpty();
        return s;
    }

private:
    RangeChart* m_chart;
};

// The chart for assistive technology: named by its card's title, described by a summary of
// what it shows, with its rule caption as a child.
class RangeChartAccessible final : public QAccessibleWidget {
public:
    explicit RangeChartAccessible(RangeChart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {
        if (chart->annotation() != nullptr) {
            m_annotation = QAccessible::registerAccessibleInterface(new AnnotationAccessible(chart));
        }
    }
    ~RangeChartAccessible() override {
        if (m_annotation != 0) QAccessible::deleteAccessibleInterface(m_annotation);
    }

    int childCount() const override { return m_annotation != 0 ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && m_annotation != 0 ? QAccessible::accessibleInterface(m_annotation) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return m_annotation != 0 && QAccessible::accessibleInterface(m_annotation) == child ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* caption = child(0);
        return caption != nullptr && caption->rect().contains(x, y) ? caption : nullptr;
    }

private:
    QAccessible::Id m_annotation = 0;
};

QAccessibleInterface* rangeChartAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kavrino::RangeChart") && object != nullptr && object->isWidgetType()) {
        return new RangeChartAccessible(static_cast<RangeChart*>(object));
    }
    return nullptr;
}

}  // namespace

RangeChart::RangeChart(RangeChartLook look, QWidget* parent)
    // Built with its chart: a view made without one makes a default chart of its own, which
    // setChart() would release without deleting.
    : QChartView(new QChart, parent), m_look(std::move(look)), m_chart(chart()) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(rangeChartAccessible);
        return true;
    }();
    (void)factoryInstalled;

    m_axisX = new QValueAxis(m_chart);
    m_axisY = new QValueAxis(m_chart);
    m_axisX->setTitleText(m_look.horizontalTitle);
    m_axisY->setTitleText(m_look.verticalTitle);
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);

    // Drawn in the order added: area, line over it, rule last.
    auto attach = [this](QAbstractSeries* series) {
        m_chart->addSeries(series);
        series->attachAxis(m_axisX);
        series->attachAxis(m_axisY);
    };
    if (m_look.areaToZero) {
        m_areaEdge = new QLineSeries(this);
        m_areaBase = new QLineSeries(this);
        m_area = new QAreaSeries(m_areaEdge, m_areaBase);
        attach(m_area);
        m_area->setPen(Qt::NoPen);
        m_area->setBrush(areaBrush());
    }
    m_line = new QLineSeries;
    attach(m_line);
    m_line->setPen(linePen(m_look.lineColour));
    // The line and the area's edge follow one curve, drawn again whenever the scale changes.
    QList<QLineSeries*> curveSeries{m_line};
    if (m_areaEdge != nullptr) curveSeries.append(m_areaEdge);
    m_curve = new CatmullRomLine(*m_chart, *m_axisX, *m_axisY, curveSeries, this);
    if (m_look.rule) {
        m_rule = new QLineSeries;
        attach(m_rule);
        m_rule->setPen(rulePen(m_look.rule->colour));
        if (!m_look.rule->annotation.isEmpty()) {
            m_annotation = new QGraphicsSimpleTextItem(m_look.rule->annotation, m_chart);
            m_annotation->setFont(uiFont(kAnnotationPoints));
            m_annotation->setBrush(m_look.rule->annotationColour);
            m_annotation->setZValue(1000);  // above every series
        }
    }
    connect(m_chart, &QChart::plotAreaChanged, this, &RangeChart::placeRuleMarks);

    applyDarkChart(*m_chart);
    prepareChartView(*this);
    setAccessibleName(m_look.title);
    setPoints({});
}

void RangeChart::setPoints(const QList<QPointF>& given) {
    QList<QPointF> points;
    points.reserve(given.size());
    for (const QPointF& p : given) {
        if (std::isfinite(p.x()) && std::isfinite(p.y())) points.append(p);
    }

    m_curve->setPoints(points);
    if (m_area != nullptr) {
        if (points.isEmpty()) {
            m_areaBase->clear();
        } else {
            m_areaBase->replace({QPointF(points.front().x(), 0), QPointF(points.back().x(), 0)});
        }
    }
    fitAxes(points);
    describe(points);
}

const QList<QPointF>& RangeChart::points() const { return m_curve->points(); }

void RangeChart::fitAxes(const QList<QPointF>& points) {
    double xLow = 0, xHigh = points.isEmpty() ? 1 : 0;  // an empty chart still spans 0 to 1
    double yLow = 0, yHigh = 0;
    for (const QPointF& p : points) {
        xLow = std::min(xLow, p.x());
        xHigh = std::max(xHigh, p.x());
        yLow = std::min(yLow, p.y());
        yHigh = std::max(yHigh, p.y());
    }
    if (m_look.rule) {
        yLow = std::min(yLow, m_look.rule->value);
        yHigh = std::max(yHigh, m_look.rule->value);
    }
    applyAutomaticRange(*m_axisX, xLow, xHigh, kTickTarget, kMostRangeTicks);
    applyAutomaticRange(*m_axisY, yLow, yHigh, kTickTarget, std::max(kTickTarget, int(height() / kTickSpacing) + 1));
    placeRuleMarks();
}

void RangeChart::placeRuleMarks() {
    placeRule();
    placeAnnotation();
}

// The rule spans the whole width at its value, drawn on the nearest pixel row (less than
// half a pixel away) so its 1-point dashes stay crisp like the grid (see applyDarkChart).
void RangeChart::placeRule() {
    if (m_rule == nullptr) return;
    double value = m_look.rule->value;
    const QPointF exact = m_chart->mapToPosition(QPointF(m_axisX->min(), value), m_rule);
    const double row = std::floor(exact.y()) + 0.5;
    if (m_chart->plotArea().height() > 0 && std::fabs(row - exact.y()) > 1e-6) {
        value = m_chart->mapToValue(QPointF(exact.x(), row), m_rule).y();
    }
    m_rule->replace({QPointF(m_axisX->min(), value), QPointF(m_axisX->max(), value)});
}

void RangeChart::placeAnnotation() {
    if (m_annotation == nullptr) return;
    const QPointF end = m_chart->mapToPosition(QPointF(m_axisX->max(), m_look.rule->value), m_rule);
    const QRectF box = m_annotation->boundingRect();
    m_annotation->setPos(end.x() - box.width(), end.y() - kRuleWidth / 2 - kAnnotationSpacing - box.height());
}

QRect RangeChart::annotationRect() const {
    if (m_annotation == nullptr) return {};
    return mapFromScene(m_annotation->sceneBoundingRect()).boundingRect();
}

void RangeChart::describe(const QList<QPointF>& points) {
    const QString unit = m_look.unit;
    QString text;
    if (points.isEmpty()) {
        text = tr("No points.");
    } else if (points.size() == 1) {
        text = qformat("%s against range: one point, %s %s at %s yd.", m_look.verticalTitle.toStdString(),
                       figure(points.front().y()).toStdString(), unit.toStdString(),
                       figure(points.front().x()).toStdString());
    } else {
        const QPointF* highest = &points.front();
        const QPointF* lowest = &points.front();
        for (const QPointF& p : points) {
            if (p.y() > highest->y()) highest = &p;
            if (p.y() < lowest->y()) lowest = &p;
        }
        text = qformat("%s against range from %s to %s yd, %d points: highest %s %s at %s yd, lowest %s %s at %s yd.",
                       m_look.verticalTitle.toStdString(), figure(points.front().x()).toStdString(),
                       figure(points.back().x()).toStdString(), int(points.size()),
                       figure(highest->y()).toStdString(), unit.toStdString(), figure(highest->x()).toStdString(),
                       figure(lowest->y()).toStdString(), unit.toStdString(), figure(lowest->x()).toStdString());
    }
    if (m_look.rule) {
        text += qformat(" %s at %s %s.", m_look.rule->name.toStdString(), figure(m_look.rule->value).toStdString(),
                        unit.toStdString());
    }
    setAccessibleDescription(text);
}

}  // namespace kavrino
