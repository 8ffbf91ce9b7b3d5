#pragma once
// What a Web-Mercator map shows: the projection XYZ tile maps use (EPSG:3857), a camera of a
// centre and a zoom level on a view of some size, and the tiles that cover the view.
//
// World pixels: at zoom z the world is 256·2^z pixels square; x grows east from 180° W, y grows
// south from 85.0511° N (the latitude at which the square world ends). Zoom levels may be
// fractional; tiles exist at whole levels and are drawn scaled by 2^(zoom − tile level).
#include "panes/map/map_targeting.h"

#include <QHashFunctions>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <vector>

namespace kavrino {

inline constexpr double kTilePixels = 256;
inline constexpr double kMaxMercatorLatitude = 85.05112877980659;  // degrees
inline constexpr double kMinMapZoom = 2;
inline constexpr double kMaxMapZoom = 19;  // the deepest level public tile servers render
inline constexpr int kMaxTileZoom = 19;

// `longitude` folded into [-180, 180).
double wrapLongitude(double longitude);

// The world pixel of `position` at `zoom` (latitudes beyond the square world are clamped).
QPointF worldPixel(const GeoCoordinate& position, double zoom);
// The position at world pixel `pixel` of `zoom`; the inverse of worldPixel.
GeoCoordinate coordinateAtWorldPixel(const QPointF& pixel, double zoom);

// One tile of the XYZ scheme: level z, column x (from 180° W), row y (from the north).
struct TileKey {
    int z = 0;
    int x = 0;
    int y = 0;
    bool operator==(const TileKey&) const = default;
};
inline size_t qHash(const TileKey& key, size_t seed = 0) noexcept {
    return qHashMulti(seed, key.z, key.x, key.y);
}

// A tile and the rectangle of the view it covers, in view pixels (edges on whole pixels, so
// neighbouring tiles meet without seams).
struct TilePlacement {
    TileKey key;
    QRect rect;
};

class MapViewport {
public:
    MapViewport() = default;
    MapViewport(const GeoCoordinate& center, double zoom, const QSizeF& size);
    // The view of `size` that shows all of `region` around its centre, at the deepest zoom
    // that fits both spans (within the zoom limits).
    static MapViewport fitting(const GeoRegion& region, const QSizeF& size);

    const GeoCoordinate& center() const { return m_center; }
    double zoom() const { return m_zoom; }
    const QSizeF& size() const { return m_size; }
    // A new view size keeps the centre and the zoom.
    void setSize(const QSizeF& size) { m_size = size; }

    // Where `position` lies in the view, in view pixels from the top-left corner; of the
    // world's horizontal repeats, the one nearest the centre.
    QPointF toView(const GeoCoordinate& position) const;
    // The position under view pixel `point`.
    GeoCoordinate toCoordinate(const QPointF& point) const;

    // Moves the map with a pointer dragged by `delta` view pixels.
    void panBy(const QPointF& delta);
    // Zooms in by `levels` (out when negative), keeping the position under `anchor` in place.
    void zoomBy(double levels, const QPointF& anchor);

    // Degrees of longitude per view pixel.
    double degreesPerPixel() const;
    // The whole tile level drawn at this zoom.
    int tileZoom() const;
    // The tiles covering the view at tileZoom(), those nearest the centre first.
    std::vector<TilePlacement> visibleTiles() const;

private:
    void clampCenter();

    GeoCoordinate m_center;
    double m_zoom = kMinMapZoom;
    QSizeF m_size;
};

}  // namespace kavrino
