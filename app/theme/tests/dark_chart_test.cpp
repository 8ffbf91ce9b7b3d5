// The dark chart styling: what it sets on every axis, its automatic ranges and their labels as
// drawn, and its grid drawn as crisp hairlines of the right colour at device pixel ratios of 1
// and 2.
#include "app/theme/components/dark_chart.h"
#include "app/theme/palette.h"
#include "app/theme/testing/axis_labels.h"
#include "app/theme/testing/composited.h"

#include <QChart>
#include <QCoreApplication>
#include <QChartView>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>

namespace kavrino {
namespace {

using test_support::axisLabels;
using test_support::over;
using test_support::readsNegativeZero;

bool near(const QColor& actual, const QColor& expected) {
    return std::abs(actual.red() - expected.red()) <= 1 && std::abs(actual.green() - expected.green()) <= 1 &&
           std::abs(actual.blue() - expected.blue()) <= 1;
}

// A chart with two value axes and one series, styled, in a view on a panel-coloured card.
struct StyledChart {
    StyledChart() {
        auto* series = new QLineSeries;
        series->append({QPointF(0, 0), QPointF(1000, -400)});
        chart->addSeries(series);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
        x->setTitleText("Range (yd)");
        applyAutomaticRange(*x, 0, 1000);
        applyAutomaticRange(*y, -400, 0);
        applyDarkChart(*chart);

        card.setAutoFillBackground(true);
        QPalette colours = card.palette();
        colours.setColor(QPalette::Window, Palette::panel());
        card.setPalette(colours);
        auto* layout = new QVBoxLayout(&card);
        layout->setContentsMargins(0, 0, 0, 0);
        view = new QChartView(chart);
        prepareChartView(*view);
        layout->addWidget(view);
    }

    // The card drawn at `ratio` device pixels per point.
    QImage draw(double ratio) {
        QImage image((QSizeF(card.size()) * ratio).toSize(), QImage::Format_ARGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::black);
        card.render(&image);
        return image;
    }

    QChart* chart = new QChart;
    QValueAxis* x = new QValueAxis;
    QValueAxis* y = new QValueAxis;
    QWidget card;
    QChartView* view = nullptr;
};

TEST(DarkChart, StylesEveryAxisAlikeOnATransparentChart) {
    StyledChart styled;
    for (QAbstractAxis* axis : styled.chart->axes()) {
        EXPECT_EQ(axis->gridLinePen().color(), withOpacity(Palette::stroke(), 0.6));
        EXPECT_EQ(axis->linePen().color(), Palette::stroke());
        EXPECT_EQ(axis->labelsBrush().color(), Palette::textSecondary());
        EXPECT_TRUE(axis->isGridLineVisible());
        EXPECT_FALSE(axis->isMinorGridLineVisible());
    }
    EXPECT_FALSE(styled.chart->isBackgroundVisible());
    EXPECT_FALSE(styled.chart->legend()->isVisible());
    EXPECT_TRUE(styled.view->renderHints().testFlag(QPainter::Antialiasing));
}

TEST(DarkChart, AutomaticRangeIncludesZeroAndEndsOnNiceNumbers) {
    QValueAxis axis;
    applyAutomaticRange(axis, 100.3, 1000);
    EXPECT_EQ(axis.min(), 0);
    EXPECT_EQ(axis.max(), 1000);
    EXPECT_EQ(axis.tickCount(), 6);
    EXPECT_EQ(axis.labelFormat(), "%.0f");

    applyAutomaticRange(axis, 1116.4, 2900);  // all above zero: the span still starts there
    EXPECT_EQ(axis.min(), 0);
    EXPECT_EQ(axis.max(), 3000);

    applyAutomaticRange(axis, -419.41, 1.9);
    EXPECT_EQ(axis.min(), -500);
    EXPECT_EQ(axis.max(), 100);

    // The tightest of a few tick counts: 600.3 yd is not stretched to 800 when eight ticks
    // fit; it is when at most seven do.
    applyAutomaticRange(axis, 25.1, 600.3, 5, 11);
    EXPECT_EQ(axis.max(), 700);
    EXPECT_EQ(axis.tickCount(), 8);
    applyAutomaticRange(axis, 25.1, 600.3, 5, 7);
    EXPECT_EQ(axis.max(), 800);
    EXPECT_EQ(axis.tickCount(), 5);
    applyAutomaticRange(axis, 50.2, 300.1, 5, 11);
    EXPECT_EQ(axis.max(), 350);
    applyAutomaticRange(axis, 0.21, 8.14);  // not ten ticks of 1 on a short axis
    EXPECT_EQ(axis.max(), 10);
    EXPECT_EQ(axis.tickCount(), 6);

    // Small figures get the decimals their step needs.
    applyAutomaticRange(axis, 0, 1.3, 5, 11);
    EXPECT_DOUBLE_EQ(axis.max(), 1.4);
    EXPECT_EQ(axis.labelFormat(), "%.1f");

    // Nothing to span: a flat line at zero sits in the middle; not-a-number counts as nothing.
    applyAutomaticRange(axis, 0, 0);
    EXPECT_EQ(axis.min(), -1);
    EXPECT_EQ(axis.max(), 1);
    applyAutomaticRange(axis, std::nan(""), std::nan(""));
    EXPECT_EQ(axis.min(), -1);
    EXPECT_EQ(axis.max(), 1);
}

// Spans that end at or cross zero, as a trajectory's path or drift gives them: the tick at zero
// is computed from the ends in binary floating point and came out a hair below zero for some of
// them (-1.8 to 0 in ten ticks read "-0.0").
TEST(DarkChart, NoTickLabelReadsAsANegativeZeroAndNeighboursDiffer) {
    StyledChart styled;
    styled.card.resize(500, 280);
    styled.card.show();
    QCoreApplication::processEvents();
    int checked = 0;
    for (const int maxTicks : {7, 10}) {
        for (int k = 1; k <= 160; k += 4) {
            for (const double high : {0.0, 0.0137 * k / 3}) {
                const double low = -0.0137 * k;
                applyAutomaticRange(*styled.y, low, high, 5, maxTicks);
                QCoreApplication::processEvents();  // the axis takes the width its labels need
                const QStringList labels = axisLabels(*styled.chart, Qt::Vertical);
                SCOPED_TRACE(testing::Message() << low << " to " << high << ", " << maxTicks << " ticks: "
                                                << labels.join(' ').toStdString());
                ASSERT_EQ(labels.size(), styled.y->tickCount());
                EXPECT_EQ(QStringList(labels).removeDuplicates(), 0);
                for (const QString& label : labels) EXPECT_FALSE(readsNegativeZero(label));
                EXPECT_TRUE(labels.contains(QStringLiteral("0")) || labels.contains(QStringLiteral("0.0")) ||
                            labels.contains(QStringLiteral("0.00")) || labels.contains(QStringLiteral("0.000")));
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 160);
    // A range that only ends at zero keeps its ends exactly where no label needs raising.
    applyAutomaticRange(*styled.y, -400, 0);
    EXPECT_EQ(styled.y->min(), -400);
    EXPECT_EQ(styled.y->max(), 0);
}

TEST(DarkChart, GridLinesAreCrispHairlinesAtRatiosOneAndTwo) {
    const QColor grid = over(withOpacity(Palette::stroke(), 0.6), Palette::panel());
    for (const int width : {601, 733, 958}) {  // plot widths that do not divide evenly
        StyledChart styled;
        styled.card.resize(width, 300);
        styled.card.show();
        for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();  // the layout settles
        const QRectF plot = styled.chart->plotArea();
        const double step = plot.width() / (styled.x->tickCount() - 1);
        EXPECT_EQ(step, std::floor(step)) << width;
        EXPECT_EQ(plot.left() - std::floor(plot.left()), 0.5) << width;

        for (const double ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << "width " << width << ", ratio " << ratio);
            const QImage image = styled.draw(ratio);
            // A row halfway between two horizontal grid lines.
            const int row = int((plot.top() + plot.height() / (styled.y->tickCount() - 1) / 2) * ratio);
            // The third grid line from the left: exactly `ratio` device pixels of the grid's
            // colour, with the card's colour on both sides.
            const double centre = (plot.left() + 2 * step) * ratio;
            const int first = int(std::floor(centre - ratio / 2));
            for (int px = first; px < first + int(ratio); ++px) EXPECT_TRUE(near(image.pixelColor(px, row), grid)) << px;
            EXPECT_TRUE(near(image.pixelColor(first - 1, row), Palette::panel()));
            EXPECT_TRUE(near(image.pixelColor(first + int(ratio), row), Palette::panel()));
        }
    }
}

}  // namespace
}  // namespace kavrino
