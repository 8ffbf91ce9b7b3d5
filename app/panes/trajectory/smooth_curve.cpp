#include "app/panes/trajectory/smooth_curve.h"

#include <algorithm>
#include <vector>

namespace kavrino {
namespace {

constexpr int kSampleBudget = 512;       // curve points across the whole chart at most
constexpr int kMostSamplesPerSegment = 16;

// The first Bézier control point of every segment, for one coordinate `k` (size n + 1, n >= 2).
// The curve is C2 at every inner point and has no curvature at both ends, which gives the
// tridiagonal system
//   2 c[0] + c[1]                 = k[0] + 2 k[1]
//   c[i-1] + 4 c[i] + c[i+1]      = 4 k[i] + 2 k[i+1]        (0 < i < n-1)
//   2 c[n-2] + 7 c[n-1]           = 8 k[n-1] + k[n]
// solved by forward elimination and back substitution.
std::vector<double> firstControls(const std::vector<double>& k) {
    const size_t n = k.size() - 1;
    std::vector<double> lower(n, 1.0), diagonal(n, 4.0), upper(n, 1.0), rhs(n);
    diagonal[0] = 2.0;
    rhs[0] = k[0] + 2.0 * k[1];
    for (size_t i = 1; i + 1 < n; ++i) rhs[i] = 4.0 * k[i] + 2.0 * k[i + 1];
    lower[n - 1] = 2.0;
    diagonal[n - 1] = 7.0;
    rhs[n - 1] = 8.0 * k[n - 1] + k[n];

    for (size_t i = 1; i < n; ++i) {
        const double factor = lower[i] / diagonal[i - 1];
        diagonal[i] -= factor * upper[i - 1];
        rhs[i] -= factor * rhs[i - 1];
    }
    std::vector<double> c(n);
    c[n - 1] = rhs[n - 1] / diagonal[n - 1];
    for (size_t i = n - 1; i-- > 0;) c[i] = (rhs[i] - upper[i] * c[i + 1]) / diagonal[i];
    return c;
}

QPointF bezier(const QPointF& p0, const QPointF& c1, const QPointF& c2, const QPointF& p1, double t) {
    const double u = 1.0 - t;
    return u * u * u * p0 + 3.0 * u * u * t * c1 + 3.0 * u * t * t * c2 + t * t * t * p1;
}

}  // namespace

QList<QPointF> smoothCurve(const QList<QPointF>& points, int samplesPerSegment) {
    if (points.size() < 3 || samplesPerSegment <= 1) return points;
    const size_t n = size_t(points.size()) - 1;
    std::vector<double> xs(n + 1), ys(n + 1);
    for (size_t i = 0; i <= n; ++i) {
        xs[i] = points[qsizetype(i)].x();
        ys[i] = points[qsizetype(i)].y();
    }
    const std::vector<double> cx = firstControls(xs);
    const std::vector<double> cy = firstControls(ys);

    QList<QPointF> curve;
    curve.reserve(qsizetype(n) * samplesPerSegment + 1);
    curve.append(points.front());
    for (size_t i = 0; i < n; ++i) {
        const QPointF first(cx[i], cy[i]);
        // The second control point mirrors the next segment's first one about the shared
        // point (equal tangents); the last segment's lies halfway to its end point.
        const QPointF second = i + 1 < n
            ? 2.0 * points[qsizetype(i + 1)] - QPointF(cx[i + 1], cy[i + 1])
            : (points[qsizetype(n)] + first) / 2.0;
        for (int s = 1; s < samplesPerSegment; ++s) {
            curve.append(bezier(points[qsizetype(i)], first, second, points[qsizetype(i + 1)],
                                double(s) / samplesPerSegment));
        }
        curve.append(points[qsizetype(i + 1)]);
    }
    return curve;
}

int samplesPerSegment(qsizetype pointCount) {
    if (pointCount < 2) return 1;
    return int(std::clamp<qsizetype>(kSampleBudget / (pointCount - 1), 1, kMostSamplesPerSegment));
}

}  // namespace kavrino
