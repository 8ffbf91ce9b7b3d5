// The map targeting pane driven as a user drives it, offscreen and without tiles: the figures it
// opens with, elevations typed into the fields, the map dragged and zoomed, what assistive
// technology reads, and where the panel and the map sit.
#include "app/theme/components/number_field.h"
#include "app/theme/palette.h"
#include "panes/map/map_canvas.h"
#include "panes/map/map_marker.h"
#include "panes/map/map_target_model.h"
#include "panes/map/map_target_view.h"
#include "panes/map/map_targeting.h"
#include "panes/map/tile_source.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace kavrino {
namespace {

class MapPane : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    MapTargetView& show(int width = 1100, int height = 800, const TileSource& tiles = {}) {
        view = std::make_unique<MapTargetView>(initialMapTargetState(), tiles);
        view->resize(width, height);
        view->show();
        QApplication::setActiveWindow(view.get());
        return *view;
    }

    template <typename T>
    T* find(const char* name) {
        T* child = view->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString text(const char* name) { return find<QLabel>(name)->text(); }

    // Replaces a field's text as a user does: focus, select all, type; then Return.
    void enter(const char* fieldName, const QString& typed) {
        auto* field = find<NumberField>(fieldName);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
    }

    QAccessibleInterface* accessible(QWidget* widget) {
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(widget);
        EXPECT_NE(found, nullptr);
        return found;
    }

    std::unique_ptr<MapTargetView> view;
};

TEST_F(MapPane, OpensWithTheFiguresOfTheGivenPositions) {
    show();
    EXPECT_EQ(text("mapTitle"), "GIS Targeting");
    EXPECT_EQ(text("distanceValue"), "1499 yd");
    EXPECT_EQ(text("bearingValue"), "333\u00b0 T");
    EXPECT_EQ(text("lookAngleValue"), "0.8\u00b0");
    EXPECT_EQ(find<NumberField>("shooterElevationField")->text(), "2,700");
    EXPECT_EQ(find<NumberField>("targetElevationField")->text(), "2,760");
    EXPECT_EQ(text("mapTip"), "Tip: a future build pulls terrain elevation automatically; for now enter "
                              "from your map source.");
    const QStringList labels = [&] {
        QStringList all;
        for (const QLabel* label : view->findChildren<QLabel*>()) all << label->text();
        return all;
    }();
    for (const char* label : {"Distance", "Bearing", "Look angle", "ELEVATIONS", "Shooter (ft)", "Target (ft)"}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(label))) << label;
    }
}

TEST_F(MapPane, TypedElevationsMoveOnlyTheLookAngle) {
    show();
    enter("shooterElevationField", "2760");
    EXPECT_EQ(text("lookAngleValue"), "0.0\u00b0");
    enter("shooterElevationField", "2,700");
    enter("targetElevationField", "2640");
    EXPECT_EQ(text("lookAngleValue"), "-0.8\u00b0");
    EXPECT_EQ(find<NumberField>("targetElevationField")->text(), "2,640");
    EXPECT_EQ(text("distanceValue"), "1499 yd");
    EXPECT_EQ(text("bearingValue"), "333\u00b0 T");

    // Text that is not a number leaves the elevation as it was.
    enter("targetElevationField", "high");
    EXPECT_EQ(view->model().targetElevation(), 2640);
    EXPECT_EQ(find<NumberField>("targetElevationField")->text(), "2,640");

    // Leaving the field commits as Return does.
    auto* target = find<NumberField>("targetElevationField");
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(target, "2700");
    find<NumberField>("shooterElevationField")->setFocus();
    EXPECT_EQ(text("lookAngleValue"), "0.0\u00b0");
}

TEST_F(MapPane, FieldsFollowTheUsersNumberFormat) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    show();
    EXPECT_EQ(find<NumberField>("shooterElevationField")->text(), "2.700");
    enter("targetElevationField", "2.699,5");
    EXPECT_EQ(view->model().targetElevation(), 2699.5);
    EXPECT_EQ(text("lookAngleValue"), "-0.0\u00b0");  // figures keep the full stop
}

TEST_F(MapPane, MovingTheMapChangesNoFigure) {
    show();
    MapCanvas* map = view->canvas();
    const GeoCoordinate center = map->viewport().center();
    const QPoint shooterAt = map->shooterMarker()->pos();

    QTest::mousePress(map, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(map, QPoint(230, 180));
    QTest::mouseMove(map, QPoint(260, 160));
    QTest::mouseRelease(map, Qt::LeftButton, {}, QPoint(260, 160));
    EXPECT_NE(map->viewport().center(), center);
    EXPECT_EQ(map->shooterMarker()->pos(), shooterAt + QPoint(60, -40));

    const double zoom = map->viewport().zoom();
    QWheelEvent wheel(QPointF(300, 300), map->mapToGlobal(QPointF(300, 300)), {}, QPoint(0, 240),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(map, &wheel);
    EXPECT_DOUBLE_EQ(map->viewport().zoom(), zoom + 1);

    map->setFocus();
    QTest::keyClick(map, Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(map->viewport().zoom(), zoom);
    const double longitude = map->viewport().center().longitude;
    QTest::keyClick(map, Qt::Key_Right);
    EXPECT_GT(map->viewport().center().longitude, longitude);

    EXPECT_EQ(text("distanceValue"), "1499 yd");
    EXPECT_EQ(text("bearingValue"), "333\u00b0 T");
    EXPECT_EQ(text("lookAngleValue"), "0.8\u00b0");
    EXPECT_EQ(view->model().shooter(), initialMapTargetState().shooter);
}

TEST_F(MapPane, AssistiveTechnologyReadsEveryFigureAndMarker) {
    show();
    const struct {
        const char* objectName;
        const char* name;
        const char* description;
    } values[] = {
        {"distanceValue", "1499 yd", "Distance"},
        {"bearingValue", "333\u00b0 T", "Bearing"},
        {"lookAngleValue", "0.8\u00b0", "Look angle"},
    };
    for (const auto& row : values) {
        SCOPED_TRACE(row.objectName);
        QAccessibleInterface* value = accessible(find<QLabel>(row.objectName));
        EXPECT_EQ(value->text(QAccessible::Name), QString::fromUtf8(row.name));
        EXPECT_EQ(value->text(QAccessible::Description), QString::fromUtf8(row.description));
    }
    enter("targetElevationField", "2700");
    EXPECT_EQ(accessible(find<QLabel>("lookAngleValue"))->text(QAccessible::Name), "0.0\u00b0");

    EXPECT_EQ(accessible(find<NumberField>("shooterElevationField"))->text(QAccessible::Name),
              "Shooter elevation (ft)");
    EXPECT_EQ(accessible(find<NumberField>("targetElevationField"))->text(QAccessible::Name),
              "Target elevation (ft)");

    QAccessibleInterface* map = accessible(view->canvas());
    EXPECT_EQ(map->text(QAccessible::Name), "Map");
    EXPECT_EQ(map->text(QAccessible::Description),
              "Shooter at 43.6150\u00b0 N, 116.2023\u00b0 W; target at 43.6260\u00b0 N, 116.2100\u00b0 W");
    QAccessibleInterface* shooter = accessible(find<MapMarker>("shooterMarker"));
    EXPECT_EQ(shooter->text(QAccessible::Name), "Shooter");
    EXPECT_EQ(shooter->text(QAccessible::Description), "43.6150\u00b0 N, 116.2023\u00b0 W");
    EXPECT_FALSE(shooter->state().invisible);
    QAccessibleInterface* target = accessible(find<MapMarker>("targetMarker"));
    EXPECT_EQ(target->text(QAccessible::Name), "Target");
    EXPECT_EQ(target->text(QAccessible::Description), "43.6260\u00b0 N, 116.2100\u00b0 W");
    EXPECT_GE(map->indexOfChild(shooter), 0);
}

TEST_F(MapPane, PanelAtTheLeftAndTheMapFillingTheRest) {
    for (const QSize size : {QSize(1090, 757), QSize(1550, 935), QSize(830, 720)}) {
        SCOPED_TRACE(size.width());
        show(size.width(), size.height());
        const QWidget* panel = find<QWidget>("mapPanel");
        EXPECT_EQ(panel->geometry().topLeft(), QPoint(16, 16));
        EXPECT_EQ(find<QWidget>("mapPanelContent")->width(), 300);
        EXPECT_EQ(panel->width(), 332);
        const MapCanvas* map = view->canvas();
        EXPECT_EQ(map->geometry(), QRect(QPoint(16 + 332 + 16, 16), QPoint(size.width() - 17, size.height() - 17)));
        // The map opens on the given region, with both positions in view.
        const MapViewport expected = MapViewport::fitting(initialMapTargetState().camera, QSizeF(map->size()));
        EXPECT_EQ(map->viewport().center(), expected.center());
        EXPECT_DOUBLE_EQ(map->viewport().zoom(), expected.zoom());
        EXPECT_TRUE(map->rect().contains(map->shooterMarker()->geometry()));
        EXPECT_TRUE(map->rect().contains(map->targetMarker()->geometry()));
    }
}

TEST_F(MapPane, MapIsClippedToItsRoundedCorners) {
    show();
    const QImage shot = view->grab().toImage();
    const QRect map = view->canvas()->geometry();
    const QRgb background = Palette::background().rgb() & 0xffffff;
    EXPECT_EQ(shot.pixel(map.topLeft()) & 0xffffff, background);
    EXPECT_EQ(shot.pixel(map.bottomRight()) & 0xffffff, background);
    EXPECT_NE(shot.pixel(map.center()) & 0xffffff, background);
}

}  // namespace
}  // namespace kavrino
