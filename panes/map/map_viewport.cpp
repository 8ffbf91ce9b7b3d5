#include "panes/map/map_viewport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavrino {
namespace {

constexpr double kPi = std::numbers::pi;

double worldSize(double zoom) { return kTilePixels * std::exp2(zoom); }

int floorDiv(double value, double divisor) { return int(std::floor(value / divisor)); }

int wrapColumn(int column, int columns) {
    const int folded = column % columns;
    return folded < 0 ? folded + columns : folded;
}

}  // namespace

double wrapLongitude(double longitude) {
    const double folded = std::fmod(longitude + 180.0, 360.0);
    return (folded < 0 ? folded + 360.0 : folded) - 180.0;
}

QPointF worldPixel(const GeoCoordinate& position, double zoom) {
    const double size = worldSize(zoom);
    const double latitude = std::clamp(position.latitude, -kMaxMercatorLatitude, kMaxMercatorLatitude);
    const double phi = latitude * kPi / 180.0;
    const double x = (position.longitude + 180.0) / 360.0 * size;
    const double y = (1.0 - std::log(std::tan(kPi / 4.0 + phi / 2.0)) / kPi) / 2.0 * size;
    return {x, y};
}

GeoCoordinate coordinateAtWorldPixel(const QPointF& pixel, double zoom) {
    const double size = worldSize(zoom);
    const double longitude = pixel.x() / size * 360.0 - 180.0;
    const double n = kPi * (1.0 - 2.0 * pixel.y() / size);
    const double latitude = std::atan(std::sinh(n)) * 180.0 / kPi;
    return {latitude, longitude};
}

MapViewport::MapViewport(const GeoCoordinate& center, double zoom, const QSizeF& size)
    : m_center(center), m_zoom(std::clamp(zoom, kMinMapZoom, kMaxMapZoom)), m_size(size) {
    clampCenter();
}

MapViewport MapViewport::fitting(const GeoRegion& region, const QSizeF& size) {
    // The spans in world pixels at zoom 0; each fits its side of the view at log2(side / span).
    // Mercator stretches the north half of a region more than the south half (in the northern
    // hemisphere): the larger half decides, as the view is centred on the region's centre.
    const GeoCoordinate& c = region.center;
    const double spanX = region.longitudeSpan / 360.0 * kTilePixels;
    const double middle = worldPixel(c, 0).y();
    const double north = worldPixel({c.latitude + region.latitudeSpan / 2, c.longitude}, 0).y();
    const double south = worldPixel({c.latitude - region.latitudeSpan / 2, c.longitude}, 0).y();
    const double spanY = 2 * std::max(std::fabs(middle - north), std::fabs(south - middle));
    double zoom = kMaxMapZoom;
    if (spanX > 0 && size.width() > 0) zoom = std::min(zoom, std::log2(size.width() / spanX));
    if (spanY > 0 && size.height() > 0) zoom = std::min(zoom, std::log2(size.height() / spanY));
    if (!std::isfinite(zoom)) zoom = kMinMapZoom;
    return MapViewport(c, zoom, size);
}

QPointF MapViewport::toView(const GeoCoordinate& position) const {
    const double size = worldSize(m_zoom);
    QPointF offset = worldPixel(position, m_zoom) - worldPixel(m_center, m_zoom);
    offset.setX(offset.x() - size * std::round(offset.x() / size));  // nearest repeat
    return offset + QPointF(m_size.width() / 2, m_size.height() / 2);
}

GeoCoordinate MapViewport::toCoordinate(const QPointF& point) const {
    const QPointF offset = point - QPointF(m_size.width() / 2, m_size.height() / 2);
    GeoCoordinate position = coordinateAtWorldPixel(worldPixel(m_center, m_zoom) + offset, m_zoom);
    position.longitude = wrapLongitude(position.longitude);
    return position;
}

void MapViewport::panBy(const QPointF& delta) {
    const QPointF middle(m_size.width() / 2, m_size.height() / 2);
    m_center = toCoordinate(middle - delta);
    clampCenter();
}

void MapViewport::zoomBy(double levels, const QPointF& anchor) {
    const double zoom = std::clamp(m_zoom + levels, kMinMapZoom, kMaxMapZoom);
    if (zoom == m_zoom || !std::isfinite(zoom)) return;
    // The anchored position stays under the anchor: the centre sits at the same offset from it,
    // scaled to the new zoom.
    const GeoCoordinate anchored = toCoordinate(anchor);
    const QPointF offset = QPointF(m_size.width() / 2, m_size.height() / 2) - anchor;
    m_zoom = zoom;
    m_center = coordinateAtWorldPixel(worldPixel(anchored, m_zoom) + offset, m_zoom);
    m_center.longitude = wrapLongitude(m_center.longitude);
    clampCenter();
}

double MapViewport::degreesPerPixel() const { return 360.0 / worldSize(m_zoom); }

int MapViewport::tileZoom() const {
    return std::clamp(int(std::lround(m_zoom)), 0, kMaxTileZoom);
}

std::vector<TilePlacement> MapViewport::visibleTiles() const {
    std::vector<TilePlacement> tiles;
    if (m_size.isEmpty()) return tiles;
    const int level = tileZoom();
    const int count = 1 << level;
    const double scale = std::exp2(m_zoom - level);
    const QPointF center = worldPixel(m_center, level);
    const double halfWidth = m_size.width() / 2 / scale;
    const double halfHeight = m_size.height() / 2 / scale;
    const int firstColumn = floorDiv(center.x() - halfWidth, kTilePixels);
    const int lastColumn = floorDiv(center.x() + halfWidth, kTilePixels);
    const int firstRow = std::max(0, floorDiv(center.y() - halfHeight, kTilePixels));
    const int lastRow = std::min(count - 1, floorDiv(center.y() + halfHeight, kTilePixels));
    // A tile's edge in view pixels, rounded, so that both tiles sharing an edge agree on it.
    auto viewX = [&](int column) {
        return int(std::lround((column * kTilePixels - center.x()) * scale + m_size.width() / 2));
    };
    auto viewY = [&](int row) {
        return int(std::lround((row * kTilePixels - center.y()) * scale + m_size.height() / 2));
    };
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const QRect rect(QPoint(viewX(column), viewY(row)), QPoint(viewX(column + 1) - 1, viewY(row + 1) - 1));
            tiles.push_back({{level, wrapColumn(column, count), row}, rect});
        }
    }
    const QPointF middle(m_size.width() / 2, m_size.height() / 2);
    std::stable_sort(tiles.begin(), tiles.end(), [&](const TilePlacement& a, const TilePlacement& b) {
        const QPointF da = QRectF(a.rect).center() - middle;
        const QPointF db = QRectF(b.rect).center() - middle;
        return QPointF::dotProduct(da, da) < QPointF::dotProduct(db, db);
    });
    return tiles;
}

void MapViewport::clampCenter() {
    m_center.latitude = std::clamp(m_center.latitude, -kMaxMercatorLatitude, kMaxMercatorLatitude);
    m_center.longitude = wrapLongitude(m_center.longitude);
}

}  // namespace kavrino
