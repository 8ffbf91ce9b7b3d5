// The trajectory table: its nine columns, the printf text of every cell, the red rows strictly
// below the speed of sound, and rows replaced on every solve.
#include "app/theme/palette.h"
#include "panes/solve/trajectory_table_model.h"
#include "panes/solve/trajectory_table_view.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrino {
namespace {

using Column = TrajectoryTableModel::Column;

TrajectoryPoint point(double range, double velocity) {
    TrajectoryPoint p;
    p.range = range;
    p.velocity = velocity;
    return p;
}

QString cell(const TrajectoryTableModel& model, int row, Column column) {
    return model.data(model.index(row, column)).toString();
}

TEST(TrajectoryTableColumns, NineTitlesInOrderWithMiddleDots) {
    TrajectoryTableModel model;
    const QStringList expected = {"Range", "Vel \u00b7 fps", "Drop \u00b7 in", "Drop \u00b7 MOA",
                                  "Drop \u00b7 MIL", "Wind \u00b7 in", "Wind \u00b7 MIL",
                                  "Energy \u00b7 ft\u00b7lb", "TOF \u00b7 s"};
    ASSERT_EQ(model.columnCount(), 9);
    for (int column = 0; column < 9; ++column) {
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), expected[column]);
    }
}

TEST(TrajectoryTableCells, PrintfTextAtEachColumnsPrecision) {
    struct Row {
        const char* name;
        Column column;
        double TrajectoryPoint::*field;
        double value;
        const char* expected;
    };
    const Row rows[] = {
        {"range rounds to nearest", Column::RangeColumn, &TrajectoryPoint::range, 99.6, "100"},
        {"velocity whole", Column::VelocityColumn, &TrajectoryPoint::velocity, 2649.5001, "2650"},
        {"drop tie goes to even digit", Column::DropInchesColumn, &TrajectoryPoint::dropInches, -12.25, "-12.2"},
        {"drop MOA one decimal", Column::DropMoaColumn, &TrajectoryPoint::dropMOA, 40.06, "40.1"},
        {"drop mil two decimals", Column::DropMilColumn, &TrajectoryPoint::dropMil, 11.654, "11.65"},
        {"negative wind", Column::WindInchesColumn, &TrajectoryPoint::windDriftInches, -3.04, "-3.0"},
        {"zero wind mil", Column::WindMilColumn, &TrajectoryPoint::windDriftMil, 0.0, "0.00"},
        {"zero energy", Column::EnergyColumn, &TrajectoryPoint::energy, 0.0, "0"},
        {"large energy has no grouping", Column::EnergyColumn, &TrajectoryPoint::energy, 12345.4, "12345"},
        {"time two decimals", Column::TimeColumn, &TrajectoryPoint::time, 1.755, "1.75"},
        {"zero drop", Column::DropInchesColumn, &TrajectoryPoint::dropInches, 0.0, "0.0"},
        {"not a number", Column::VelocityColumn, &TrajectoryPoint::velocity,
         std::numeric_limits<double>::quiet_NaN(), "nan"},
        {"not a number with the sign bit set", Column::DropInchesColumn, &TrajectoryPoint::dropInches,
         -std::numeric_limits<double>::quiet_NaN(), "nan"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TrajectoryPoint p;
        p.*row.field = row.value;
        EXPECT_EQ(TrajectoryTableModel::cellText(p, row.column), QString::fromLatin1(row.expected));
    }
}

TEST(TrajectoryTableCells, WindInMoaAndPathHaveNoColumn) {
    TrajectoryPoint p;
    p.windDriftMOA = 7.7;
    p.path = -5.5;
    TrajectoryTableModel model;
    model.setPoints({p});
    for (int column = 0; column < model.columnCount(); ++column) {
        EXPECT_NE(cell(model, 0, Column(column)), "7.7");
        EXPECT_NE(cell(model, 0, Column(column)), "-5.5");
    }
}

TEST(TrajectoryTableColours, OnlyRowsStrictlyBelowTheSpeedOfSoundAreRed) {
    struct Row {
        const char* name;
        double velocity;
        bool red;
    };
    const Row rows[] = {
        {"above", 1200.0, false},
        {"exactly the speed of sound", 1116.4, false},
        {"just below", 1116.39, true},
        {"far below", 900.0, true},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), false},
    };
    TrajectoryTableModel model;
    model.setSpeedOfSound(1116.4);
    std::vector<TrajectoryPoint> points;
    for (const Row& row : rows) points.push_back(point(100, row.velocity));
    model.setPoints(points);
    for (int i = 0; i < int(std::size(rows)); ++i) {
        SCOPED_TRACE(rows[i].name);
        for (int column = 0; column < model.columnCount(); ++column) {
            const QVariant foreground = model.data(model.index(i, column), Qt::ForegroundRole);
            if (rows[i].red) {
                EXPECT_EQ(foreground.value<QColor>(), Palette::red()) << "column " << column;
            } else {
                EXPECT_FALSE(foreground.isValid()) << "column " << column;
            }
        }
    }
}

TEST(TrajectoryTableRows, EmptyListShowsNoRows) {
    TrajectoryTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setPoints({});
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 9);
}

TEST(TrajectoryTableRows, NewIdsReplaceEveryRowTheSameListChangesNothing) {
    TrajectoryTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    const std::vector<TrajectoryPoint> first = {point(0, 2650), point(100, 2456)};
    model.setPoints(first);
    EXPECT_EQ(resets.count(), 1);
    model.setPoints(first);
    EXPECT_EQ(resets.count(), 1);
    // A second solve with identical figures issues new ids.
    model.setPoints({point(0, 2650), point(100, 2456)});
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(cell(model, 1, Column::RangeColumn), "100");
}

TEST(TrajectoryTableRows, CellsCannotBeSelectedOrEdited) {
    TrajectoryTableModel model;
    model.setPoints({point(0, 2650)});
    const Qt::ItemFlags flags = model.flags(model.index(0, 0));
    EXPECT_FALSE(flags.testFlag(Qt::ItemIsSelectable));
    EXPECT_FALSE(flags.testFlag(Qt::ItemIsEditable));
}

TEST(TrajectoryTableView, TitlesAreWholeAndRangeKeepsItsIdealWidth) {
    TrajectoryTableView view;
    view.resize(760, 400);
    view.show();
    QHeaderView* header = view.horizontalHeader();
    EXPECT_EQ(header->sectionSize(0), 64);
    const QFontMetrics metrics(header->font());
    int total = 0;
    for (int column = 0; column < 9; ++column) {
        const QString title = view.model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_GE(header->sectionSize(column), metrics.horizontalAdvance(title)) << title.toStdString();
        total += header->sectionSize(column);
    }
    EXPECT_LE(total, view.viewport()->width());
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
}

// The subsonic rule must reach the screen: red ink only when a row is slower than sound.
TEST(TrajectoryTableView, PaintsSubsonicRowsInRed) {
    auto redPixels = [](const std::vector<TrajectoryPoint>& points) {
        TrajectoryTableView view;
        view.resize(700, 200);
        view.setInputs(points, 2650, 1116.4);
        view.show();
        const QImage image = view.grab().toImage();
        int count = 0;
        const QColor red = Palette::red();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 180 && c.green() < 120 && c.blue() < 120 &&
                    std::abs(c.red() - red.red()) < 40) {
                    ++count;
                }
            }
        }
        return count;
    };
    EXPECT_EQ(redPixels({point(100, 2456), point(200, 1116.4)}), 0);
    // Other rows take the platform's primary label colour, white at 85 %, not a palette colour.
    TrajectoryTableView view;
    EXPECT_EQ(view.palette().color(QPalette::Text), QColor::fromRgbF(1, 1, 1, 0.85f));
    EXPECT_GT(redPixels({point(100, 2456), point(1100, 1050)}), 20);
}

}  // namespace
}  // namespace kavrino
