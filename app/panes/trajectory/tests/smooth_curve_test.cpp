// The curve a filled area follows under a spline line: through every point, straight where the
// points are, and the given points back where sampling adds nothing.
#include "app/panes/trajectory/smooth_curve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavrino {
namespace {

TEST(SmoothCurve, PassesThroughEveryPointWithTheSamplesBetween) {
    const QList<QPointF> points{{0, 0}, {100, 5}, {200, 3}, {300, -8}, {400, -30}};
    const QList<QPointF> curve = smoothCurve(points, 8);
    ASSERT_EQ(curve.size(), 4 * 8 + 1);
    for (qsizetype i = 0; i < points.size(); ++i) EXPECT_EQ(curve[i * 8], points[i]);
    // Between two points the curve moves on in range and stays near them in height.
    for (qsizetype i = 1; i < curve.size(); ++i) EXPECT_GT(curve[i].x(), curve[i - 1].x());
    for (qsizetype i = 0; i < 8; ++i) EXPECT_NEAR(curve[16 + i].y(), 3, 12);
}

TEST(SmoothCurve, StraightPointsGiveAStraightEvenlySampledLine) {
    const QList<QPointF> points{{100, 2}, {200, 4}, {300, 6}, {400, 8}};
    const QList<QPointF> curve = smoothCurve(points, 4);
    ASSERT_EQ(curve.size(), 13);
    for (qsizetype i = 0; i < curve.size(); ++i) {
        EXPECT_NEAR(curve[i].x(), 100 + 25.0 * double(i), 1e-9);
        EXPECT_NEAR(curve[i].y(), 2 + 0.5 * double(i), 1e-9);
    }
}

TEST(SmoothCurve, FewPointsOrOneSampleComeBackUnchanged) {
    EXPECT_TRUE(smoothCurve({}, 8).isEmpty());
    const QList<QPointF> one{{100, 1}};
    EXPECT_EQ(smoothCurve(one, 8), one);
    const QList<QPointF> two{{100, 1}, {200, -3}};
    EXPECT_EQ(smoothCurve(two, 8), two);
    const QList<QPointF> many{{1, 1}, {2, 4}, {3, 9}};
    EXPECT_EQ(smoothCurve(many, 1), many);
}

TEST(SmoothCurve, SparseTrajectoriesAreSampledFinelyDenseOnesNotAtAll) {
    EXPECT_EQ(samplesPerSegment(0), 1);
    EXPECT_EQ(samplesPerSegment(1), 1);
    EXPECT_EQ(samplesPerSegment(10), 16);
    EXPECT_GT(samplesPerSegment(41), 1);
    EXPECT_EQ(samplesPerSegment(1000), 1);
}

}  // namespace
}  // namespace kavrino
