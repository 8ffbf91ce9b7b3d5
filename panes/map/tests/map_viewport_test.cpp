// The map's view maths: Web-Mercator world pixels against the tile numbers of the XYZ scheme,
// fitting a region, dragging and wheel zoom keeping the right point in place, the tiles that
// cover a view, and the labelled grid.
#include "panes/map/graticule.h"
#include "panes/map/map_viewport.h"

#include <gtest/gtest.h>

#include <QRegion>

#include <cmath>
#include <numbers>

namespace kavrino {
namespace {

const GeoRegion partRegion{{43.62, -116.205}, 0.05, 0.05};

void expectNear(const QPointF& actual, const QPointF& expected, double tolerance) {
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
}

TEST(WebMercator, WorldPixelsOfKnownPlaces) {
    expectNear(worldPixel({0, 0}, 0), {128, 128}, 1e-9);
    expectNear(worldPixel({kMaxMercatorLatitude, -180}, 0), {0, 0}, 1e-6);
    expectNear(worldPixel({-kMaxMercatorLatitude, 180}, 1), {512, 512}, 1e-6);
    // Beyond the square world the latitude is held at its edge.
    expectNear(worldPixel({89.9, 0}, 0), {128, 0}, 1e-6);
    // Tile numbers as the XYZ scheme defines them: x = ⌊(λ + 180) / 360 · 2^z⌋,
    // y = ⌊(1 − asinh(tan φ) / π) / 2 · 2^z⌋.
    const GeoCoordinate boise{43.62, -116.205};
    const int z = 14;
    const double n = std::exp2(z);
    const double phi = boise.latitude * std::numbers::pi / 180;
    const int x = int(std::floor((boise.longitude + 180) / 360 * n));
    const int y = int(std::floor((1 - std::asinh(std::tan(phi)) / std::numbers::pi) / 2 * n));
    const QPointF pixel = worldPixel(boise, z);
    EXPECT_EQ(int(pixel.x() / 256), x);
    EXPECT_EQ(int(pixel.y() / 256), y);
}

TEST(WebMercator, WorldPixelsReadBackAsTheirPosition) {
    for (const GeoCoordinate position : {GeoCoordinate{43.615, -116.2023}, GeoCoordinate{-33.9, 18.4},
                                         GeoCoordinate{0, 0}, GeoCoordinate{84.9, 179.9}}) {
        const GeoCoordinate back = coordinateAtWorldPixel(worldPixel(position, 15.3), 15.3);
        EXPECT_NEAR(back.latitude, position.latitude, 1e-9);
        EXPECT_NEAR(back.longitude, position.longitude, 1e-9);
    }
}

TEST(MapViewportFit, ShowsTheWholeRegionAndFillsOneSide) {
    for (const QSizeF size : {QSizeF(900, 800), QSizeF(400, 900), QSizeF(1400, 500)}) {
        SCOPED_TRACE(size.width());
        const MapViewport view = MapViewport::fitting(partRegion, size);
        const GeoCoordinate& c = partRegion.center;
        const QPointF northWest = view.toView({c.latitude + 0.025, c.longitude - 0.025});
        const QPointF southEast = view.toView({c.latitude - 0.025, c.longitude + 0.025});
        EXPECT_GE(northWest.x(), -1e-6);
        EXPECT_GE(northWest.y(), -1e-6);
        EXPECT_LE(southEast.x(), size.width() + 1e-6);
        EXPECT_LE(southEast.y(), size.height() + 1e-6);
        // One side is filled: the span across, or the north half (the larger in the north).
        const bool fillsWidth = std::fabs(southEast.x() - northWest.x() - size.width()) < 1e-6;
        const bool fillsHeight = std::fabs(northWest.y()) < 1e-6;
        EXPECT_TRUE(fillsWidth || fillsHeight);
        expectNear(view.toView(c), {size.width() / 2, size.height() / 2}, 1e-6);
    }
}

TEST(MapViewportFit, StaysWithinTheZoomLimits) {
    EXPECT_EQ(MapViewport::fitting({{43, -116}, 0, 0}, {800, 600}).zoom(), kMaxMapZoom);
    EXPECT_EQ(MapViewport::fitting({{0, 0}, 170, 360}, {300, 300}).zoom(), kMinMapZoom);
    EXPECT_EQ(MapViewport::fitting(partRegion, {0, 0}).zoom(), kMaxMapZoom);
}

TEST(MapViewportMoves, DragCarriesThePositionUnderThePointer) {
    MapViewport view = MapViewport::fitting(partRegion, {900, 800});
    const GeoCoordinate grabbed = view.toCoordinate({100, 100});
    view.panBy({30, -20});
    expectNear(view.toView(grabbed), {130, 80}, 1e-6);
}

TEST(MapViewportMoves, WheelZoomKeepsThePositionUnderThePointer) {
    MapViewport view = MapViewport::fitting(partRegion, {900, 800});
    const double before = view.zoom();
    const GeoCoordinate under = view.toCoordinate({200, 650});
    view.zoomBy(1.5, {200, 650});
    EXPECT_DOUBLE_EQ(view.zoom(), before + 1.5);
    expectNear(view.toView(under), {200, 650}, 1e-6);
    view.zoomBy(-100, {0, 0});
    EXPECT_EQ(view.zoom(), kMinMapZoom);
}

TEST(MapViewportMoves, DraggingAcrossTheDateLineWrapsTheLongitude) {
    MapViewport view({10, 179.99}, 12, {800, 600});
    view.panBy({-2000, 0});
    EXPECT_LT(view.center().longitude, -179.0);
    // A marker just east of the line shows beside the centre, not a world away.
    const QPointF marker = view.toView({10, 179.995});
    EXPECT_GT(marker.x(), -2000);
    EXPECT_LT(marker.x(), 800);
}

TEST(MapViewportTiles, CoverTheViewWithoutGapsOrOverlaps) {
    const MapViewport view({43.62, -116.205}, 14.37, {917, 733});
    const std::vector<TilePlacement> tiles = view.visibleTiles();
    ASSERT_FALSE(tiles.empty());
    QRegion covered;
    int area = 0;
    for (const TilePlacement& tile : tiles) {
        EXPECT_EQ(tile.key.z, 14);
        EXPECT_FALSE(covered.intersects(tile.rect)) << tile.key.x << "/" << tile.key.y;
        covered += tile.rect;
        area += tile.rect.width() * tile.rect.height();
    }
    EXPECT_TRUE(covered.contains(QRect(0, 0, 917, 733)));
    // Drawn at 2^0.37 of their size, and no tile lies wholly outside the view.
    EXPECT_NEAR(tiles.front().rect.width(), 256 * std::exp2(0.37), 1.0);
    for (const TilePlacement& tile : tiles) EXPECT_TRUE(tile.rect.intersects(QRect(0, 0, 917, 733)));
    EXPECT_LT(area, (917 + 2 * 330) * (733 + 2 * 330));
    // The first tile holds the centre.
    EXPECT_TRUE(tiles.front().rect.contains(QPoint(458, 366)));
}

TEST(MapViewportTiles, WrapAtTheDateLineAndStopAtThePoles) {
    const MapViewport east({0, 179.99}, 3, {800, 600});
    for (const TilePlacement& tile : east.visibleTiles()) {
        EXPECT_GE(tile.key.x, 0);
        EXPECT_LT(tile.key.x, 8);
    }
    const MapViewport north({kMaxMercatorLatitude, 0}, 2, {800, 600});
    for (const TilePlacement& tile : north.visibleTiles()) EXPECT_EQ(tile.key.y >= 0 && tile.key.y < 4, true);
    EXPECT_TRUE(MapViewport({0, 0}, 5, {0, 0}).visibleTiles().empty());
}

TEST(Graticule, StepsAreRoundAndWideEnoughToLabel) {
    EXPECT_DOUBLE_EQ(graticuleStep(0.0001, 110), 0.02);  // 0.011° wanted
    EXPECT_DOUBLE_EQ(graticuleStep(0.0001, 100), 0.01);
    EXPECT_DOUBLE_EQ(graticuleStep(0.00003, 110), 0.005);
    EXPECT_DOUBLE_EQ(graticuleStep(0.01, 110), 2);
    EXPECT_DOUBLE_EQ(graticuleStep(1, 110), 30);
    EXPECT_DOUBLE_EQ(graticuleStep(0, 110), 30);
}

TEST(Graticule, LabelsNameTheHemisphere) {
    EXPECT_EQ(latitudeLabel(43.62, 0.01), QStringLiteral("43.62\u00b0 N"));
    EXPECT_EQ(latitudeLabel(-33.9000000001, 0.1), QStringLiteral("33.9\u00b0 S"));
    EXPECT_EQ(longitudeLabel(-116.21, 0.01), QStringLiteral("116.21\u00b0 W"));
    EXPECT_EQ(longitudeLabel(-116.205, 0.005), QStringLiteral("116.205\u00b0 W"));
    EXPECT_EQ(longitudeLabel(20, 5), QStringLiteral("20\u00b0 E"));
    EXPECT_EQ(latitudeLabel(-1e-12, 0.02), QStringLiteral("0.00\u00b0"));
    EXPECT_EQ(longitudeLabel(-180, 10), QStringLiteral("180\u00b0"));
    EXPECT_EQ(longitudeLabel(180, 10), QStringLiteral("180\u00b0"));
}

TEST(Graticule, LinesFallWhereTheirPositionsShow) {
    const MapViewport view = MapViewport::fitting(partRegion, {900, 800});
    const Graticule grid = graticuleFor(view, 110);
    EXPECT_DOUBLE_EQ(grid.step, 0.01);
    ASSERT_GE(grid.parallels.size(), 4u);
    ASSERT_GE(grid.meridians.size(), 4u);
    for (const GraticuleLine& line : grid.parallels) {
        EXPECT_NEAR(line.position, view.toView({line.degrees, -116.2}).y(), 1e-6);
        EXPECT_GE(line.position, 0);
        EXPECT_LE(line.position, 800);
    }
    for (const GraticuleLine& line : grid.meridians) {
        EXPECT_NEAR(line.position, view.toView({43.6, line.degrees}).x(), 1e-6);
    }
    EXPECT_EQ(grid.parallels.front().label, QStringLiteral("43.60\u00b0 N"));
    EXPECT_EQ(grid.meridians.front().label, QStringLiteral("116.24\u00b0 W"));
}

}  // namespace
}  // namespace kavrino
