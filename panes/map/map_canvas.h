#pragma once
// Our own map: a Web-Mercator view that starts at a given region and that the user pans by
// dragging (or with the arrow keys) and zooms with the mouse wheel (or + and -). It draws the
// tiles of its tile source where they have arrived and, under them, a plain background with a
// labelled latitude/longitude grid, so the map works without a network. Over the map: a
// straight line from the shooter to the target, the two markers, and the tiles' credit where
// their source asks for one, while any of them is drawn. The whole map is clipped to a rounded
// rectangle.
#include "panes/map/map_targeting.h"
#include "panes/map/map_viewport.h"

#include <QPoint>
#include <QWidget>

#include <optional>

class QLabel;

namespace kavrino {

class MapMarker;
class TileLoader;
struct TileSource;

class MapCanvas final : public QWidget {
    Q_OBJECT
public:
    MapCanvas(const GeoRegion& initialRegion, const TileSource& tiles, QWidget* parent = nullptr);

    void setPositions(const GeoCoordinate& shooter, const GeoCoordinate& target);

    const MapViewport& viewport() const { return m_viewport; }
    // The camera moves the user makes, for keys and tests alike.
    void panBy(const QPoint& delta);
    void zoomBy(double levels, const QPointF& anchor);

    TileLoader* tileLoader() const { return m_loader; }
    MapMarker* shooterMarker() const { return m_shooterMarker; }
    MapMarker* targetMarker() const { return m_targetMarker; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The background and grid drawn where no tile is: public for tests that look at pixels.
    static QColor backgroundColour();

signals:
    void cameraChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cameraMoved();
    void placeMarkers();
    void placeMarker(MapMarker* marker);
    void placeAttribution();
    void showAttribution();
    void requestTiles();
    void paintGraticule(QPainter& painter) const;
    void paintTiles(QPainter& painter) const;
    void describe();

    GeoRegion m_initialRegion;
    MapViewport m_viewport;
    bool m_userMoved = false;  // until then, the view keeps showing the initial region
    std::optional<QPoint> m_dragFrom;
    TileLoader* m_loader = nullptr;
    MapMarker* m_shooterMarker = nullptr;
    MapMarker* m_targetMarker = nullptr;
    QLabel* m_attribution = nullptr;
};

}  // namespace kavrino
