#include "app/theme/components/catmull_rom.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrino {
namespace {

// Halvings of one segment at most. A curve on its plot is flat to 0.05 px long before this;
// only a point far outside the axes (clipped anyway) could ask for more.
constexpr int kMostHalvings = 10;

bool isFinite(const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

double length(const QPointF& v) { return std::hypot(v.x(), v.y()); }

// The control point beside `end` of the segment from `end` to `far`, with `outer` the
// neighbour beyond `end`: end + ((end - outer) b² + (far - end) a²) / (3 a (a + b)), where
// a = |end - outer|^0.5 and b = |far - end|^0.5. This is the Yuksel form rewritten around
// `end`, which keeps it accurate as a approaches zero; at a = 0 (the neighbour on the end
// point) it takes its limit, the end point itself.
QPointF control(const QPointF& end, const QPointF& outer, const QPointF& far) {
    const double a = std::sqrt(length(end - outer));
    const double b = std::sqrt(length(far - end));
    const double denominator = 3 * a * (a + b);
    if (!(denominator > 0)) return end;
    const QPointF offset = ((end - outer) * (b * b) + (far - end) * (a * a)) / denominator;
    return isFinite(offset) ? end + offset : end;
}

// Distance from `p` to the segment from `a` to `b`.
double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF chord = b - a;
    const double squared = QPointF::dotProduct(chord, chord);
    const double t = squared > 0 ? std::clamp(QPointF::dotProduct(p - a, chord) / squared, 0.0, 1.0) : 0.0;
    return length(p - (a + chord * t));
}

// Appends points of the segment after its start until the polyline is within `tolerance` of
// it: a segment whose control points lie within `tolerance` of its chord lies there too (it
// stays inside their convex hull), else it is halved (de Casteljau) and each half is tried.
void flatten(const CubicSegment& s, double tolerance, int halvings, QList<QPointF>& pixels) {
    const bool flat = distanceToSegment(s.first, s.start, s.end) <= tolerance &&
                      distanceToSegment(s.second, s.start, s.end) <= tolerance;
    // A segment that is not finite cannot be measured: it ends where it ends.
    if (flat || halvings == 0 || !isFinite(s.first) || !isFinite(s.second)) {
        pixels.append(s.end);
        return;
    }
    const QPointF ab = (s.start + s.first) / 2, bc = (s.first + s.second) / 2, cd = (s.second + s.end) / 2;
    const QPointF abc = (ab + bc) / 2, bcd = (bc + cd) / 2;
    const QPointF middle = (abc + bcd) / 2;
    flatten({s.start, ab, abc, middle}, tolerance, halvings - 1, pixels);
    flatten({middle, bcd, cd, s.end}, tolerance, halvings - 1, pixels);
}

}  // namespace

bool PlotMapping::isValid() const {
    return plot.width() > 0 && plot.height() > 0 && std::isfinite(xMax - xMin) && xMax > xMin &&
           std::isfinite(yMax - yMin) && yMax > yMin;
}

QPointF PlotMapping::toPixels(const QPointF& value) const {
    return {plot.left() + (value.x() - xMin) / (xMax - xMin) * plot.width(),
            plot.bottom() - (value.y() - yMin) / (yMax - yMin) * plot.height()};
}

QPointF PlotMapping::toValues(const QPointF& pixel) const {
    return {xMin + (pixel.x() - plot.left()) / plot.width() * (xMax - xMin),
            yMin + (plot.bottom() - pixel.y()) / plot.height() * (yMax - yMin)};
}

std::vector<CubicSegment> catmullRomSegments(const QList<QPointF>& pixels) {
    std::vector<CubicSegment> segments;
    if (pixels.size() < 2) return segments;
    segments.reserve(std::size_t(pixels.size() - 1));
    const qsizetype last = pixels.size() - 1;
    for (qsizetype i = 0; i < last; ++i) {
        const QPointF& p1 = pixels[i];
        const QPointF& p2 = pixels[i + 1];
        const QPointF& p0 = pixels[std::max<qsizetype>(i - 1, 0)];
        const QPointF& p3 = pixels[std::min(i + 2, last)];
        segments.push_back({p1, control(p1, p0, p2), control(p2, p3, p1), p2});
    }
    return segments;
}

QList<QPointF> catmullRomCurve(const QList<QPointF>& values, const PlotMapping& mapping, double tolerance) {
    QList<QPointF> knots;
    knots.reserve(values.size());
    for (const QPointF& value : values) {
        if (isFinite(value)) knots.append(value);
    }
    if (knots.size() < 3 || !mapping.isValid()) return knots;  // two points: a straight segment

    QList<QPointF> pixels;
    pixels.reserve(knots.size());
    for (const QPointF& knot : knots) pixels.append(mapping.toPixels(knot));

    QList<QPointF> curve;
    curve.reserve(knots.size() * 4);
    curve.append(knots.front());
    QList<QPointF> piece;
    const std::vector<CubicSegment> segments = catmullRomSegments(pixels);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        piece.clear();
        flatten(segments[i], tolerance, kMostHalvings, piece);
        piece.removeLast();  // the segment's end: the knot itself, exactly as given
        for (const QPointF& pixel : piece) curve.append(mapping.toValues(pixel));
        curve.append(knots[qsizetype(i) + 1]);
    }
    return curve;
}

PlotMapping plotMapping(const QChart& chart, const QValueAxis& x, const QValueAxis& y) {
    return {chart.plotArea(), x.min(), x.max(), y.min(), y.max()};
}

CatmullRomLine::CatmullRomLine(QChart& chart, QValueAxis& x, QValueAxis& y, QList<QLineSeries*> series,
                               QObject* parent)
    : QObject(parent), m_chart(chart), m_x(x), m_y(y), m_series(std::move(series)) {
    connect(&chart, &QChart::plotAreaChanged, this, &CatmullRomLine::redraw);
    connect(&x, &QValueAxis::rangeChanged, this, &CatmullRomLine::redraw);
    connect(&y, &QValueAxis::rangeChanged, this, &CatmullRomLine::redraw);
}

void CatmullRomLine::setPoints(const QList<QPointF>& points) {
    m_points.clear();
    for (const QPointF& point : points) {
        if (isFinite(point)) m_points.append(point);
    }
    redraw();
}

void CatmullRomLine::redraw() {
    const QList<QPointF> curve = catmullRomCurve(m_points, plotMapping(m_chart, m_x, m_y));
    for (QLineSeries* series : m_series) series->replace(curve);
}

}  // namespace kavrino
