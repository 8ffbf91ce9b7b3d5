#pragma once
// One chart of the trajectory page: a single quantity plotted against range as a Catmull-Rom
// line through its points, optionally over a gradient area between the same curve and zero,
// with an optional dashed rule across the whole width at a fixed value and an optional caption
// above the rule's trailing end. The axes are automatic: they span the points, the rule and
// zero, rounded to nice numbers, and carry the dark theme's styling.
#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

class QAreaSeries;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

namespace kavrino {

class CatmullRomLine;

// A dashed horizontal rule across the plot at `value`.
struct ChartRule {
    double value = 0;
    QColor colour;
    QString name;        // what the rule marks, for the chart's description ("Line of sight")
    QString annotation;  // shown above the rule's trailing end; empty for none
    QColor annotationColour;
};

struct RangeChartLook {
    QString title;            // the card's title: the chart's accessible name
    QString verticalTitle;    // "Path (in)"
    QString horizontalTitle;  // "Range (yd)", or empty for none
    QString unit;             // of the plotted values, for the description ("in", "fps")
    QColor lineColour;
    bool areaToZero = false;  // a gradient of the accent between the line and zero
    std::optional<ChartRule> rule;
};

class RangeChart final : public QChartView {
    Q_OBJECT
public:
    explicit RangeChart(RangeChartLook look, QWidget* parent = nullptr);

    // Draws `points` (x = range in yd), in order, and fits the axes to them.
    void setPoints(const QList<QPointF>& points);

    const RangeChartLook& look() const { return m_look; }
    const QList<QPointF>& points() const;  // the points shown (the finite ones given)
    QLineSeries* line() const { return m_line; }      // the curve through them, as drawn
    QAreaSeries* area() const { return m_area; }     // null without an area
    QLineSeries* rule() const { return m_rule; }     // null without a rule
    QValueAxis* horizontalAxis() const { return m_axisX; }
    QValueAxis* verticalAxis() const { return m_axisY; }
    // The rule's caption, or null. A graphics item on the chart, offered to assistive
    // technology as a text child of the chart view.
    QGraphicsSimpleTextItem* annotation() const { return m_annotation; }
    // Where the caption is drawn, in the view's coordinates (empty when there is none).
    QRect annotationRect() const;

private:
    void fitAxes(const QList<QPointF>& points);
    void placeRuleMarks();  // again whenever the plot area moves
    void placeRule();
    void placeAnnotation();
    void describe(const QList<QPointF>& points);

    RangeChartLook m_look;
    QChart* m_chart;
    QValueAxis* m_axisX;
    QValueAxis* m_axisY;
    QLineSeries* m_line;
    CatmullRomLine* m_curve;
    QAreaSeries* m_area = nullptr;
    QLineSeries* m_areaEdge = nullptr;  // the line's curve
    QLineSeries* m_areaBase = nullptr;  // zero, under the same span
    QLineSeries* m_rule = nullptr;
    QGraphicsSimpleTextItem* m_annotation = nullptr;
};

}  // namespace kavrino
