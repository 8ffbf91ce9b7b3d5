// The trajectory page offscreen: when it solves on appearance, how its charts follow the shared
// model (solves on the page and elsewhere), the curve each line draws through its points on the
// plot, the empty and one-point trajectories, the Mach 1
// rule when every point is faster, the layout when the window is resized, and what assistive
// technology reads from the charts.
#include "app/theme/palette.h"
#include "app/theme/testing/catmull_rom_reference.h"
#include "app/theme/testing/composited.h"
#include "core/solve_model.h"
#include "core/testing/solve_counter.h"
#include "panes/trajectory/chart_card.h"
#include "panes/trajectory/range_chart.h"
#include "panes/trajectory/trajectory_view.h"

#include <QAccessible>
#include <QAreaSeries>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace kavrino {
namespace {

using test_support::over;
using test_support::polylineGap;
using test_support::referenceCurve;
using test_support::SolveCounter;

bool near(const QColor& actual, const QColor& expected, int tolerance = 1) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QList<QPointF> expected(const std::vector<TrajectoryPoint>& points, double TrajectoryPoint::*field) {
    QList<QPointF> list;
    for (const TrajectoryPoint& p : points) list.append(QPointF(p.range, p.*field));
    return list;
}

// True when `value` lies within the chart's vertical axis.
bool inVerticalRange(const RangeChart& chart, double value) {
    return chart.verticalAxis()->min() <= value && value <= chart.verticalAxis()->max();
}

// The rule spans the whole horizontal axis at `value`, to the nearest pixel row.
void expectRuleAcrossTheWidth(const RangeChart& chart, double value) {
    ASSERT_NE(chart.rule(), nullptr);
    const QList<QPointF> rule = chart.rule()->points();
    ASSERT_EQ(rule.size(), 2);
    const QValueAxis& vertical = *chart.verticalAxis();
    const double halfPixel = (vertical.max() - vertical.min()) / chart.chart()->plotArea().height() / 2;
    EXPECT_EQ(rule[0].x(), chart.horizontalAxis()->min());
    EXPECT_EQ(rule[1].x(), chart.horizontalAxis()->max());
    EXPECT_EQ(rule[0].y(), rule[1].y());
    EXPECT_NEAR(rule[0].y(), value, halfPixel + 1e-9);
    EXPECT_TRUE(inVerticalRange(chart, value));
}

class TrajectoryPage : public ::testing::Test {
protected:
    // Builds the page and puts it on screen, as the shell does when the tab is chosen.
    TrajectoryView3D& show(int width = 1090, int height = 800) {
        view = std::make_unique<TrajectoryView3D>(model, displaySpeedOfSound);
        view->resize(width, height);
        view->show();
        view->appear();
        settle();
        return *view;
    }

    // Lets the charts lay themselves out: the plot areas settle on whole pixels in a second pass.
    static void settle() {
        for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
    }

    SolveModel model;
    std::unique_ptr<TrajectoryView3D> view;
};

TEST_F(TrajectoryPage, SolvesOnceOnAppearanceWhenEmptyAndNeverWhenThereIsATrajectory) {
    SolveCounter solves(model);
    show();
    EXPECT_EQ(solves.count(), 1);
    ASSERT_EQ(model.trajectory().size(), 10u);
    EXPECT_EQ(view->pathChart()->points(), expected(model.trajectory(), &TrajectoryPoint::path));
    EXPECT_EQ(view->driftChart()->points(), expected(model.trajectory(), &TrajectoryPoint::windDriftInches));
    EXPECT_EQ(view->velocityChart()->points(), expected(model.trajectory(), &TrajectoryPoint::velocity));

    // Shown again, and built afresh as the shell does on returning to the tab: no solve.
    view->appear();
    show();
    EXPECT_EQ(solves.count(), 1);
}

TEST_F(TrajectoryPage, ChartsFollowSolvesMadeOnScreenAndElsewhere) {
    show();
    // A solve while the page is shown redraws it.
    model.setWindSpeed(10);
    model.solve();
    EXPECT_EQ(view->driftChart()->points(), expected(model.trajectory(), &TrajectoryPoint::windDriftInches));
    EXPECT_GT(view->driftChart()->verticalAxis()->max(), model.trajectory().back().windDriftInches - 1e-9);

    // A solve made on another pane, with a new range step and maximum range, shows when the
    // page is opened again.
    view->hide();
    model.setRangeStep(25);
    model.setMaxRange(600);
    model.solve();
    view->show();
    view->appear();
    EXPECT_EQ(view->pathChart()->points(), expected(model.trajectory(), &TrajectoryPoint::path));
    EXPECT_EQ(view->velocityChart()->points(), expected(model.trajectory(), &TrajectoryPoint::velocity));
    EXPECT_EQ(view->pathChart()->horizontalAxis()->max(), 700);  // the last row lies at 600.x yd
    expectRuleAcrossTheWidth(*view->pathChart(), 0);
    expectRuleAcrossTheWidth(*view->velocityChart(), displaySpeedOfSound);

    // The path's area follows the line's own curve and is closed along zero.
    EXPECT_EQ(view->pathChart()->area()->upperSeries()->points(), view->pathChart()->line()->points());
    for (const QPointF& base : view->pathChart()->area()->lowerSeries()->points()) EXPECT_EQ(base.y(), 0);
}

// Each line is the centripetal Catmull-Rom curve through its points, with its knots in the
// plot's pixels (a natural spline strayed up to 1.1 px from it on the drift chart in a 10 mph
// wind), and is drawn afresh when the chart changes size; the path's area keeps to the line.
TEST_F(TrajectoryPage, LinesFollowTheCatmullRomCurveThroughTheirPointsOnThePlot) {
    model.setWindSpeed(10);
    show();
    auto expectOnTheCurve = [](RangeChart& chart) {
        SCOPED_TRACE(chart.objectName().toStdString());
        QList<QPointF> knots, drawn;
        for (const QPointF& p : chart.points()) knots << chart.chart()->mapToPosition(p, chart.line());
        for (const QPointF& p : chart.line()->points()) drawn << chart.chart()->mapToPosition(p, chart.line());
        ASSERT_EQ(knots.size(), 10);
        EXPECT_GT(drawn.size(), knots.size());
        EXPECT_LE(polylineGap(drawn, referenceCurve(knots, 200)), 0.06);
    };
    for (RangeChart* chart : {view->pathChart(), view->driftChart(), view->velocityChart()}) expectOnTheCurve(*chart);

    const QList<QPointF> before = view->driftChart()->line()->points();
    view->resize(1500, 800);
    settle();
    EXPECT_NE(view->driftChart()->line()->points(), before);
    expectOnTheCurve(*view->driftChart());
    expectOnTheCurve(*view->pathChart());
    EXPECT_EQ(view->pathChart()->area()->upperSeries()->points(), view->pathChart()->line()->points());
}

TEST_F(TrajectoryPage, EmptyTrajectoryShowsOnlyTheRules) {
    model.setMaxRange(0);  // a solve with no row
    SolveCounter solves(model);
    show();
    EXPECT_EQ(solves.count(), 1);
    ASSERT_TRUE(model.trajectory().empty());

    for (RangeChart* chart : {view->pathChart(), view->driftChart(), view->velocityChart()}) {
        EXPECT_TRUE(chart->points().isEmpty()) << chart->objectName().toStdString();
        EXPECT_LT(chart->horizontalAxis()->min(), chart->horizontalAxis()->max());
        EXPECT_LT(chart->verticalAxis()->min(), chart->verticalAxis()->max());
    }
    EXPECT_TRUE(view->pathChart()->area()->upperSeries()->points().isEmpty());
    expectRuleAcrossTheWidth(*view->pathChart(), 0);
    expectRuleAcrossTheWidth(*view->velocityChart(), displaySpeedOfSound);
    EXPECT_EQ(view->driftChart()->rule(), nullptr);
    EXPECT_EQ(view->driftChart()->chart()->series().size(), 1);  // its line, with no point
}

TEST_F(TrajectoryPage, OnePointDrawsNoLineButKeepsTheRules) {
    model.setMaxRange(100);  // one row, at 100 yd
    show();
    ASSERT_EQ(model.trajectory().size(), 1u);
    EXPECT_EQ(view->pathChart()->points().size(), 1);
    expectRuleAcrossTheWidth(*view->pathChart(), 0);
    expectRuleAcrossTheWidth(*view->velocityChart(), displaySpeedOfSound);

    // Nothing in the line's colour is painted: a single point is no line, and no area.
    const QImage image = view->pathChart()->grab().toImage();
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) lit += near(image.pixelColor(x, y), Palette::accentBright(), 24);
    }
    EXPECT_EQ(lit, 0);
}

TEST_F(TrajectoryPage, MachOneRuleStaysInRangeWhenEveryPointIsFaster) {
    model.setMaxRange(300);
    show();
    ASSERT_FALSE(model.trajectory().empty());
    for (const TrajectoryPoint& p : model.trajectory()) ASSERT_GT(p.velocity, displaySpeedOfSound);
    expectRuleAcrossTheWidth(*view->velocityChart(), displaySpeedOfSound);

    // Its caption sits just above the rule's trailing end.
    RangeChart& chart = *view->velocityChart();
    const QPointF end = chart.mapFromScene(chart.chart()->mapToScene(
        chart.chart()->mapToPosition(QPointF(chart.horizontalAxis()->max(), displaySpeedOfSound), chart.rule())));
    const QRect caption = chart.annotationRect();
    EXPECT_EQ(chart.annotation()->text(), "Mach 1");
    EXPECT_NEAR(caption.right(), end.x(), 2);
    EXPECT_LE(caption.bottom(), end.y());
    EXPECT_GE(caption.bottom(), end.y() - 6);

    // The rule is a crisp dashed hairline in its colour: whole pixels of red at 0.85 on the
    // card, with the card's own colour (or a crossing grid line) right above and below them.
    const QImage card = view->velocityCard()->grab().toImage();
    // (The view shows the scene unscaled from its origin.)
    const QPointF ruleStart = chart.mapTo(
        view->velocityCard(), chart.chart()->mapToScene(chart.chart()->mapToPosition(chart.rule()->at(0), chart.rule())));
    const int row = int(std::floor(ruleStart.y()));
    const QColor red = over(withOpacity(Palette::red(), 0.85), Palette::panel());
    const QColor grid = over(withOpacity(Palette::stroke(), 0.6), Palette::panel());
    auto background = [&](const QColor& c) { return near(c, Palette::panel()) || near(c, grid); };
    int dashPixels = 0;
    for (int x = int(ruleStart.x()) + 1; x < int(ruleStart.x()) + 200; ++x) {
        if (!near(card.pixelColor(x, row), red)) continue;
        ++dashPixels;
        EXPECT_TRUE(background(card.pixelColor(x, row - 1))) << x;
        EXPECT_TRUE(background(card.pixelColor(x, row + 1))) << x;
    }
    EXPECT_GT(dashPixels, 200 * 4 / 7 - 8);  // 4 on, 3 off

    // ... also after the window changes size.
    view->resize(1500, 800);
    settle();
    const QPointF moved = chart.mapFromScene(chart.chart()->mapToScene(
        chart.chart()->mapToPosition(QPointF(chart.horizontalAxis()->max(), displaySpeedOfSound), chart.rule())));
    EXPECT_GT(moved.x(), end.x());
    EXPECT_NEAR(chart.annotationRect().right(), moved.x(), 2);
}

// The "Mach 1" caption is drawn over the velocity line where the line runs through it, as it
// does near the trailing end when the bullet is still a little faster than sound there: where a
// pixel of the line meets the caption's ink, the ink shows.
TEST_F(TrajectoryPage, MachOneCaptionIsDrawnOverTheVelocityLine) {
    show();
    RangeChart& chart = *view->velocityChart();
    const QRect caption = chart.annotationRect();
    ASSERT_FALSE(caption.isEmpty());
    // The solved line from its muzzle end, then level through the middle of the caption (the
    // axes keep their ranges).
    const QList<QPointF> solved = chart.points();
    ASSERT_GE(solved.size(), 2);
    const double through =
        chart.chart()->mapToValue(chart.chart()->mapFromScene(chart.mapToScene(caption.center())), chart.line()).y();
    chart.setPoints({solved.front(), QPointF(solved.back().x() * 0.6, through), QPointF(solved.back().x(), through)});
    settle();
    ASSERT_EQ(chart.annotationRect(), caption);

    const QImage drawn = chart.grab().toImage();
    chart.annotation()->hide();
    const QImage lineAlone = chart.grab().toImage();
    chart.annotation()->show();
    int lineCore = 0;  // pixels the line alone covers whole
    int inkOnLine = 0;
    for (int y = caption.top(); y <= caption.bottom(); ++y) {
        for (int x = caption.left(); x <= caption.right(); ++x) {
            if (lineAlone.pixelColor(x, y).rgb() != Palette::accent().rgb()) continue;
            ++lineCore;
            if (!near(drawn.pixelColor(x, y), Palette::accent(), 16)) ++inkOnLine;
        }
    }
    ASSERT_GT(lineCore, 20) << "the line runs through the caption";
    // Drawn beneath the line, the caption would change almost none of them.
    EXPECT_GT(inkOnLine, lineCore / 4) << inkOnLine << " of " << lineCore;
}

TEST_F(TrajectoryPage, FlatDriftWithoutWindOrSpinDrift) {
    model.setIncludeSpinDrift(false);
    show();
    const QList<QPointF> drift = view->driftChart()->points();
    ASSERT_EQ(drift.size(), 10);
    for (const QPointF& p : drift) EXPECT_EQ(p.y(), 0);
    EXPECT_LT(view->driftChart()->verticalAxis()->min(), 0);  // the flat line is not on the edge
    EXPECT_GT(view->driftChart()->verticalAxis()->max(), 0);
}

TEST_F(TrajectoryPage, KeepsChartHeightsAndEqualHalvesWhenResized) {
    show();
    for (const QSize size : {QSize(830, 720), QSize(1090, 800), QSize(1551, 940), QSize(831, 400)}) {
        view->resize(size);
        settle();
        const int drift = view->driftCard()->width();
        const int velocity = view->velocityCard()->width();
        EXPECT_LE(std::abs(drift - velocity), 1) << size.width();
        EXPECT_EQ(drift + velocity + 16, view->pathCard()->width()) << size.width();
        EXPECT_EQ(view->pathChart()->height(), 280);
        EXPECT_EQ(view->driftChart()->height(), 180);
        EXPECT_EQ(view->velocityChart()->height(), 180);
    }
    // Shorter than its content, the page scrolls.
    EXPECT_GT(view->scrollArea()->verticalScrollBar()->maximum(), 0);
}

TEST_F(TrajectoryPage, ChartsAndTheMachCaptionAreReadableByAssistiveTechnology) {
    show();
    QAccessibleInterface* path = QAccessible::queryAccessibleInterface(view->pathChart());
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->role(), QAccessible::Chart);
    EXPECT_EQ(path->text(QAccessible::Name), "Bullet Path");
    const TrajectoryPoint& first = model.trajectory().front();
    const TrajectoryPoint& last = model.trajectory().back();
    ASSERT_EQ(last.range, 1000);
    const QString description = path->text(QAccessible::Description);
    EXPECT_EQ(description, QString("Path (in) against range from %1 to 1000 yd, 10 points: highest %2 in at %1 yd, "
                                   "lowest %3 in at 1000 yd. Line of sight at 0 in.")
                               .arg(first.range)
                               .arg(first.path + 0.0)
                               .arg(last.path));

    QAccessibleInterface* velocity = QAccessible::queryAccessibleInterface(view->velocityChart());
    EXPECT_EQ(velocity->text(QAccessible::Name), "Retained Velocity");
    EXPECT_TRUE(velocity->text(QAccessible::Description)
                    .contains(QString("highest %1 fps at %2 yd").arg(first.velocity).arg(first.range)));
    EXPECT_TRUE(velocity->text(QAccessible::Description).endsWith("Mach 1 at 1116.4 fps."));
    ASSERT_EQ(velocity->childCount(), 1);
    QAccessibleInterface* caption = velocity->child(0);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->role(), QAccessible::StaticText);
    EXPECT_EQ(caption->text(QAccessible::Name), "Mach 1");
    EXPECT_EQ(caption->parent(), velocity);
    EXPECT_EQ(velocity->indexOfChild(caption), 0);
    EXPECT_TRUE(velocity->rect().contains(caption->rect()));

    QAccessibleInterface* drift = QAccessible::queryAccessibleInterface(view->driftChart());
    EXPECT_EQ(drift->text(QAccessible::Name), "Wind Drift");
    EXPECT_EQ(drift->childCount(), 0);

    // The description follows the model.
    model.setMaxRange(0);
    model.solve();
    EXPECT_EQ(path->text(QAccessible::Description), "No points. Line of sight at 0 in.");
}

}  // namespace
}  // namespace kavrino
