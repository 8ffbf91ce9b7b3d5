#pragma once
// A chart of one predicted quantity against the powder charge: the curve of the charge sweep
// (with a gradient area under it, for velocity), the charge the user has set as a dashed
// vertical rule with a point on the curve, and optionally a limit as a dashed horizontal rule
// annotated below its trailing end.
//
// Moving the charge only moves the rule and the point: the curve's series are replaced only
// when its points change, so dragging the charge slider never rebuilds the chart. Assistive
// technology reads the chart's title and a description of what it shows, the annotation
// included.
#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>

#include <cmath>
#include <optional>

class QAreaSeries;
class QGraphicsEllipseItem;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

namespace kavrino {

class ChargeChart final : public QChartView {
    Q_OBJECT
public:
    struct Look {
        QString title;      // "Muzzle velocity vs charge"
        QString valueName;  // "Velocity (fps)"
        QString (*valueText)(double);  // a value as the pane's tile shows it, for the description
        QColor line;
        bool area = false;  // a gradient from the curve down to the floor
    };
    explicit ChargeChart(Look look, QWidget* parent = nullptr);

    // The sweep's points over the charge range [xMin, xMax]; `floor` is the lower edge of the
    // area. The series are replaced only when something differs.
    void setCurve(const QList<QPointF>& points, double xMin, double xMax, double floor = 0.0);
    // A horizontal limit with its annotation; none removes it.
    void setLimit(std::optional<double> value, const QString& annotation);
    // The charge and the predicted value there; none hides rule and point.
    void setMarker(std::optional<double> charge, std::optional<double> value, const QColor& colour);

    // For tests: what is drawn.
    const QList<QPointF>& curve() const { return m_points; }
    std::optional<double> limit() const { return m_limit; }
    QString annotation() const;
    std::optional<QPointF> markerPoint() const;
    QRectF pointRect() const;  // where the point is drawn, in scene coordinates; empty when hidden
    bool markerRuleVisible() const;
    QColor markerColour() const { return m_markerColour; }
    QValueAxis* xAxis() const { return m_x; }
    QValueAxis* yAxis() const { return m_y; }
    // How often the curve's series were replaced.
    int curveRebuilds() const { return m_curveRebuilds; }

private:
    void updateYRange();
    void updateMarkerRule();
    void placeAnnotation();
    void placePoint();
    void updateDescription();

    Look m_look;
    QChart* m_chart;
    QValueAxis* m_x;
    QValueAxis* m_y;
    QLineSeries* m_upper = nullptr;  // the area's upper edge (area charts only)
    QLineSeries* m_lower = nullptr;
    QAreaSeries* m_area = nullptr;
    QLineSeries* m_line;
    QLineSeries* m_limitRule;
    QLineSeries* m_markerRule;
    QGraphicsEllipseItem* m_point;
    QGraphicsSimpleTextItem* m_annotation;

    QList<QPointF> m_points;
    double m_floor = 0.0;
    std::optional<double> m_limit;
    std::optional<double> m_charge;
    std::optional<double> m_value;
    QColor m_markerColour;
    double m_dataLow = NAN;  // the extremes the y axis was last fitted to
    double m_dataHigh = NAN;
    int m_curveRebuilds = 0;
};

}  // namespace kavrino
