#pragma once
// An independent evaluation of the centripetal Catmull-Rom curve for checking drawn lines: the
// Barry-Goldman pyramid of linear interpolations over the knots, evaluated point by point.
#include <QList>
#include <QPointF>

#include <algorithm>
#include <cmath>

namespace kavrino::test_support {

// The curve through `pixels` (at least two), `perSegment` points per segment plus the last
// point. The knots advance by the square root of the distance between neighbours; at the ends
// the end point is its own missing neighbour. Where two points coincide the spacing is taken
// as 1e-12 instead of zero, which approaches the curve's limit without dividing by zero.
inline QList<QPointF> referenceCurve(const QList<QPointF>& pixels, int perSegment) {
    const qsizetype n = pixels.size();
    auto point = [&](qsizetype i) { return pixels[std::clamp<qsizetype>(i, 0, n - 1)]; };
    auto spacing = [](const QPointF& a, const QPointF& b) {
        return std::max(std::sqrt(std::hypot(b.x() - a.x(), b.y() - a.y())), 1e-12);
    };
    auto lerp = [](const QPointF& a, const QPointF& b, double ta, double tb, double t) {
        return a + (b - a) * ((t - ta) / (tb - ta));
    };
    QList<QPointF> curve;
    for (qsizetype i = 0; i + 1 < n; ++i) {
        const QPointF p0 = point(i - 1), p1 = point(i), p2 = point(i + 1), p3 = point(i + 2);
        const double t0 = 0, t1 = t0 + spacing(p0, p1), t2 = t1 + spacing(p1, p2), t3 = t2 + spacing(p2, p3);
        for (int s = 0; s < perSegment; ++s) {
            const double t = t1 + (t2 - t1) * s / perSegment;
            const QPointF a1 = lerp(p0, p1, t0, t1, t), a2 = lerp(p1, p2, t1, t2, t), a3 = lerp(p2, p3, t2, t3, t);
            const QPointF b1 = lerp(a1, a2, t0, t2, t), b2 = lerp(a2, a3, t1, t3, t);
            curve.append(lerp(b1, b2, t1, t2, t));
        }
    }
    curve.append(pixels.back());
    return curve;
}

// The distance from `p` to the nearest point of the polyline through `points`.
inline double distanceToPolyline(const QPointF& p, const QList<QPointF>& points) {
    double nearest = INFINITY;
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPointF a = points[i], chord = points[i + 1] - a;
        const double squared = QPointF::dotProduct(chord, chord);
        const double t = squared > 0 ? std::clamp(QPointF::dotProduct(p - a, chord) / squared, 0.0, 1.0) : 0.0;
        const QPointF gap = p - (a + chord * t);
        nearest = std::min(nearest, std::hypot(gap.x(), gap.y()));
    }
    return nearest;
}

// The largest distance of any point of either polyline from the other (their Hausdorff
// distance, measured at the vertices).
inline double polylineGap(const QList<QPointF>& a, const QList<QPointF>& b) {
    double gap = 0;
    for (const QPointF& p : a) gap = std::max(gap, distanceToPolyline(p, b));
    for (const QPointF& p : b) gap = std::max(gap, distanceToPolyline(p, a));
    return gap;
}

}  // namespace kavrino::test_support
