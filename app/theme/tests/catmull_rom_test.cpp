// The theme's Catmull-Rom lines against the Barry-Goldman pyramid evaluated point by point: the
// curve's shape in the plot's pixels, its ends and repeated points, the tolerance of the drawn
// polyline, and points that cannot be drawn.
#include "app/theme/components/catmull_rom.h"
#include "app/theme/testing/catmull_rom_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrino {
namespace {

using test_support::polylineGap;
using test_support::referenceCurve;

// A path chart: 0 to 1000 yd across 800 px, -40 to 10 in up 280 px. A yard is a tenth of the
// width that an inch is of the height, so a curve with its knots in values would differ.
const PlotMapping kPathPlot{QRectF(60.5, 10.5, 800, 280), 0, 1000, -40, 10};

QList<QPointF> toPixels(const QList<QPointF>& values, const PlotMapping& mapping) {
    QList<QPointF> pixels;
    for (const QPointF& value : values) pixels.append(mapping.toPixels(value));
    return pixels;
}

TEST(CatmullRom, FollowsTheCentripetalCurveInThePlotsPixelsWithinTheTolerance) {
    const struct {
        const char* name;
        QList<QPointF> values;
    } rows[] = {
        {"a bullet's path", {{0, -1.5}, {100, 0.1}, {200, 0}, {300, -2.9}, {400, -8.6}, {500, -17.4},
                             {600, -29.9}, {700, -36}}},
        {"uneven spacing and a sharp turn", {{0, 0}, {20, 8}, {30, -30}, {600, -31}, {610, 5}, {1000, 4}}},
        {"a repeated point inside", {{0, 0}, {250, 5}, {250, 5}, {500, -10}, {1000, -20}}},
        {"three points alike", {{100, 1}, {100, 1}, {100, 1}, {600, -5}}},
        {"two points", {{0, 0}, {1000, -40}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QList<QPointF> curve = catmullRomCurve(row.values, kPathPlot);
        // Every point exactly, in order.
        qsizetype found = 0;
        for (const QPointF& p : curve) found += found < row.values.size() && p == row.values[found];
        EXPECT_EQ(found, row.values.size());
        EXPECT_EQ(curve.front(), row.values.front());
        EXPECT_EQ(curve.back(), row.values.back());
        // On the curve the pyramid gives, within 0.05 px and nowhere farther from it.
        const QList<QPointF> reference = referenceCurve(toPixels(row.values, kPathPlot), 400);
        EXPECT_LE(polylineGap(toPixels(curve, kPathPlot), reference), 0.05 + 1e-3);
    }

    // The same values on a plot of another shape make another curve, each the pyramid's in its
    // own pixels.
    const QList<QPointF> values = rows[0].values;
    const PlotMapping tall{QRectF(0, 0, 300, 600), 0, 1000, -40, 10};
    const QList<QPointF> wide = catmullRomCurve(values, kPathPlot);
    const QList<QPointF> narrow = catmullRomCurve(values, tall);
    EXPECT_LE(polylineGap(toPixels(narrow, tall), referenceCurve(toPixels(values, tall), 400)), 0.05 + 1e-3);
    EXPECT_GT(polylineGap(toPixels(narrow, kPathPlot), toPixels(wide, kPathPlot)), 0.5);
}

TEST(CatmullRom, EndsAndRepeatedPointsTakeTheLimitOfTheirZeroSpacing) {
    // At the first point the neighbour is the point itself: the control point lies on it, as
    // it does in the limit of a neighbour closing in from any side.
    const QList<QPointF> pixels{{0, 0}, {100, 50}, {200, 0}, {300, 80}};
    const std::vector<CubicSegment> segments = catmullRomSegments(pixels);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments.front().first, pixels[0]);
    EXPECT_EQ(segments.back().second, pixels[3]);
    for (const QPointF& closeIn : {QPointF(1e-9, 0), QPointF(0, -1e-9), QPointF(-7e-10, 7e-10)}) {
        const std::vector<CubicSegment> near = catmullRomSegments({-closeIn, pixels[0], pixels[1], pixels[2]});
        EXPECT_NEAR(near[1].first.x(), 0, 1e-3);
        EXPECT_NEAR(near[1].first.y(), 0, 1e-3);
        EXPECT_NEAR(near[1].second.x(), segments[0].second.x(), 1e-3);
        EXPECT_NEAR(near[1].second.y(), segments[0].second.y(), 1e-3);
    }
    // A repeated point is a segment of no length; everything stays finite.
    for (const CubicSegment& s : catmullRomSegments({{5, 5}, {5, 5}, {5, 5}, {9, 1}, {9, 1}})) {
        for (const QPointF& p : {s.start, s.first, s.second, s.end}) {
            EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
        }
    }
}

TEST(CatmullRom, PointsThatCannotBeDrawnAndPlotsWithoutASize) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Not-a-number and infinite points are left out; the rest make the curve.
    const QList<QPointF> curve = catmullRomCurve({{0, 0}, {100, nan}, {200, 5}, {inf, 1}, {400, -3}, {600, 0}},
                                                 kPathPlot);
    EXPECT_EQ(curve.front(), QPointF(0, 0));
    EXPECT_EQ(curve.back(), QPointF(600, 0));
    for (const QPointF& p : curve) EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
    EXPECT_TRUE(curve.contains(QPointF(200, 5)));

    // Huge figures far off the plot stay finite and bounded in count.
    const QList<QPointF> huge = catmullRomCurve({{0, 0}, {500, 1e300}, {600, -1e300}, {1000, 0}}, kPathPlot);
    EXPECT_LE(huge.size(), 3 * 1024 + 1);

    // Before the plot is laid out the points come back as they are.
    const QList<QPointF> points{{0, 0}, {500, -5}, {1000, -40}};
    EXPECT_EQ(catmullRomCurve(points, {QRectF(), 0, 1000, -40, 10}), points);
    EXPECT_EQ(catmullRomCurve(points, {QRectF(0, 0, 800, 280), 0, 0, -40, 10}), points);
    EXPECT_TRUE(catmullRomCurve({}, kPathPlot).isEmpty());
    EXPECT_EQ(catmullRomCurve({{1, 2}}, kPathPlot), QList<QPointF>({{1, 2}}));
}

}  // namespace
}  // namespace kavrino
