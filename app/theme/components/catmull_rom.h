#pragma once
// The theme's interpolated chart lines: a centripetal Catmull-Rom curve (alpha 0.5) through
// every point, as the platform charts draw their Catmull-Rom lines and areas.
//
// Notation: P0, P1, P2, P3 are four neighbouring points in the plot's pixels; the segment runs
// from P1 to P2. Its knot spacings are the square roots of the distances between neighbours
// (d01 = |P1 - P0|^0.5, and so on), so the curve depends on the chart's scale: the same values
// bend differently on a wider or taller plot. At the ends the end point stands in for the
// missing neighbour (P0 = P1 before the first point, P3 = P2 after the last).
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>

#include <vector>

class QChart;
class QLineSeries;
class QValueAxis;

namespace kavrino {

// The linear map between a chart's values and the pixels of its plot area.
struct PlotMapping {
    QRectF plot;  // pixels; the values run left to right and bottom to top
    double xMin = 0, xMax = 1;
    double yMin = 0, yMax = 1;

    // False for an empty plot (not laid out yet) or an empty or non-finite range.
    bool isValid() const;
    QPointF toPixels(const QPointF& value) const;
    QPointF toValues(const QPointF& pixel) const;
};

// One cubic Bézier segment.
struct CubicSegment {
    QPointF start, first, second, end;  // end points and control points
};

// The curve through `pixels` as one Bézier segment per neighbouring pair (Barry-Goldman's
// pyramid in the control-point form of Yuksel, Schaefer and Keyser, "Parameterization and
// applications of Catmull-Rom curves", 2011). Where a neighbour coincides with a segment's end
// (always at the two ends, and wherever points repeat), its knot spacing is zero and the
// pyramid divides zero by zero; the segment then takes the limit as the neighbour closes in:
// its control point on that side lies on the end point. Fewer than two points give none.
std::vector<CubicSegment> catmullRomSegments(const QList<QPointF>& pixels);

// The curve through `values` (chart values, mapped to pixels by `mapping` for the knots) as a
// polyline in values: every given point exactly, in order, and between them points of the
// curve close enough that the polyline strays from the curve by at most `tolerance` pixels.
// Points that are not finite are left out. With an invalid mapping the points come back as
// they are (straight segments until the plot has a size).
QList<QPointF> catmullRomCurve(const QList<QPointF>& values, const PlotMapping& mapping, double tolerance = 0.05);

// The mapping of a chart's plot area and its two value axes.
PlotMapping plotMapping(const QChart& chart, const QValueAxis& x, const QValueAxis& y);

// Keeps line series of a chart on the Catmull-Rom curve through a list of points: the line
// itself and any series that must follow the same curve (an area's edge). The curve is drawn
// as a dense polyline and drawn again whenever the plot area or either axis's range changes,
// since its shape depends on the scale. The series must lie in `chart` on the axes `x` and `y`.
class CatmullRomLine final : public QObject {
public:
    CatmullRomLine(QChart& chart, QValueAxis& x, QValueAxis& y, QList<QLineSeries*> series,
                   QObject* parent = nullptr);

    void setPoints(const QList<QPointF>& points);
    const QList<QPointF>& points() const { return m_points; }  // as given: the curve's knots

private:
    void redraw();

    QChart& m_chart;
    QValueAxis& m_x;
    QValueAxis& m_y;
    QList<QLineSeries*> m_series;
    QList<QPointF> m_points;
};

}  // namespace kavrino
