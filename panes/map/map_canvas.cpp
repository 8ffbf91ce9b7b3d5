#include "panes/map/map_canvas.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"
#include "panes/map/graticule.h"
#include "panes/map/map_marker.h"
#include "panes/map/tile_loader.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace kavrino {
namespace {

constexpr double kCornerRadius = 12;
constexpr double kLineWidth = 2;
constexpr double kGridSpacing = 90;      // least pixels between grid lines, room for a label
constexpr double kWheelNotchLevels = 0.5;  // zoom levels per wheel notch (120 eighths of a degree)
constexpr int kKeyPanPixels = 80;
constexpr int kAttributionMargin = 6;

// The platform's system blue and orange in the dark appearance, the markers' tints.
QColor systemBlue() { return QColor(10, 132, 255); }
QColor systemOrange() { return QColor(255, 159, 10); }

}  // namespace

MapCanvas::MapCanvas(const GeoRegion& initialRegion, const TileSource& tiles, QWidget* parent)
    : QWidget(parent), m_initialRegion(initialRegion),
      m_viewport(MapViewport::fitting(initialRegion, QSizeF(sizeHint()))),
      m_loader(new TileLoader(tiles, this)) {
    setObjectName(QStringLiteral("mapCanvas"));
    setAccessibleName(tr("Map"));
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::OpenHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    m_shooterMarker = new MapMarker(tr("Shooter"), systemBlue(), this);
    m_shooterMarker->setObjectName(QStringLiteral("shooterMarker"));
    m_targetMarker = new MapMarker(tr("Target"), systemOrange(), this);
    m_targetMarker->setObjectName(QStringLiteral("targetMarker"));

    m_attribution = new QLabel(tiles.attribution, this);
    m_attribution->setObjectName(QStringLiteral("mapAttribution"));
    m_attribution->setTextFormat(Qt::PlainText);
    m_attribution->setFont(uiFont(10));
    m_attribution->setContentsMargins(6, 2, 6, 2);
    m_attribution->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_attribution->setStyleSheet(QStringLiteral("QLabel { color: %1; background: %2; border-radius: 4px; }")
                                     .arg(Palette::textPrimary().name(),
                                          withOpacity(Palette::background(), 0.72).name(QColor::HexArgb)));
    m_attribution->adjustSize();
    m_attribution->setVisible(false);  // until the tiles it credits are drawn

    connect(m_loader, &TileLoader::tileArrived, this, [this] {
        showAttribution();
        update();
    });
    describe();
}

QColor MapCanvas::backgroundColour() { return Palette::surface(); }

void MapCanvas::setPositions(const GeoCoordinate& shooter, const GeoCoordinate& target) {
    m_shooterMarker->setPosition(shooter);
    m_targetMarker->setPosition(target);
    describe();
    placeMarkers();
    update();
}

void MapCanvas::describe() {
    setAccessibleDescription(tr("Shooter at %1; target at %2")
                                 .arg(coordinateText(m_shooterMarker->position()),
                                      coordinateText(m_targetMarker->position())));
}

void MapCanvas::panBy(const QPoint& delta) {
    if (delta.isNull()) return;
    m_userMoved = true;
    m_viewport.panBy(delta);
    cameraMoved();
}

void MapCanvas::zoomBy(double levels, const QPointF& anchor) {
    m_userMoved = true;
    const double before = m_viewport.zoom();
    m_viewport.zoomBy(levels, anchor);
    if (m_viewport.zoom() != before) cameraMoved();
}

void MapCanvas::cameraMoved() {
    placeMarkers();
    showAttribution();
    requestTiles();
    update();
    emit cameraChanged();
}

QSize MapCanvas::sizeHint() const { return {600, 600}; }

QSize MapCanvas::minimumSizeHint() const { return {200, 200}; }

void MapCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_userMoved) {
        m_viewport.setSize(QSizeF(size()));
    } else {
        m_viewport = MapViewport::fitting(m_initialRegion, QSizeF(size()));
    }
    placeAttribution();
    showAttribution();
    placeMarkers();
    requestTiles();
}

void MapCanvas::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    requestTiles();
}

void MapCanvas::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_loader->want({});  // nothing on screen: drop what is still downloading
}

void MapCanvas::requestTiles() {
    if (!isVisible()) return;
    QList<TileKey> keys;
    for (const TilePlacement& tile : m_viewport.visibleTiles()) {
        if (!keys.contains(tile.key)) keys.append(tile.key);
    }
    m_loader->want(keys);
}

void MapCanvas::placeMarkers() {
    placeMarker(m_shooterMarker);
    placeMarker(m_targetMarker);
}

void MapCanvas::placeMarker(MapMarker* marker) {
    const QPointF at = m_viewport.toView(marker->position());
    const QRect area(at.toPoint() - marker->anchor(), marker->size());
    marker->move(area.topLeft());
    marker->setVisible(rect().intersects(area));
    // The map's corners are rounded: a marker reaching into one is cut along the curve.
    const int corner = int(2 * kCornerRadius);
    const bool clear = rect().adjusted(corner, 0, -corner, 0).contains(area) ||
                       rect().adjusted(0, corner, 0, -corner).contains(area);
    if (clear) {
        marker->clearMask();
    } else {
        const QPainterPath outline = continuousRoundedRect(QRectF(rect()), kCornerRadius);
        marker->setMask(QRegion(outline.translated(-area.topLeft()).toFillPolygon().toPolygon()));
    }
}

void MapCanvas::placeAttribution() {
    m_attribution->move(width() - m_attribution->width() - kAttributionMargin,
                        height() - m_attribution->height() - kAttributionMargin);
}

void MapCanvas::showAttribution() {
    // The credit belongs to the tiles: shown while any of them is drawn, never over the bare grid.
    bool tileDrawn = false;
    if (!m_attribution->text().isEmpty()) {
        for (const TilePlacement& tile : m_viewport.visibleTiles()) {
            if (m_loader->tile(tile.key) != nullptr) {
                tileDrawn = true;
                break;
            }
        }
    }
    m_attribution->setVisible(tileDrawn);
}

void MapCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(continuousRoundedRect(QRectF(rect()), kCornerRadius));
    painter.fillRect(rect(), backgroundColour());
    paintGraticule(painter);
    paintTiles(painter);

    painter.setPen(QPen(Palette::accent(), kLineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(m_viewport.toView(m_shooterMarker->position()),
                     m_viewport.toView(m_targetMarker->position()));

    if (hasFocus()) paintInnerBorder(painter, QRectF(rect()), kCornerRadius, Palette::accent(), 2);
}

void MapCanvas::paintGraticule(QPainter& painter) const {
    const Graticule grid = graticuleFor(m_viewport, kGridSpacing);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Palette::stroke(), 1));
    for (const GraticuleLine& line : grid.parallels) {
        painter.drawLine(QLineF(0, line.position, width(), line.position));
    }
    for (const GraticuleLine& line : grid.meridians) {
        painter.drawLine(QLineF(line.position, 0, line.position, height()));
    }
    painter.setFont(uiFont(10));
    painter.setPen(Palette::textTertiary());
    const QFontMetrics metrics(painter.font());
    const double inset = kCornerRadius;  // clear of the rounded corners
    for (const GraticuleLine& line : grid.parallels) {
        if (line.position < inset + metrics.height() || line.position > height() - inset) continue;
        painter.drawText(QPointF(8, line.position - 4), line.label);
    }
    // Where a tile is missing beside drawn ones, the credit may stand over the grid's edge.
    const QRect credit = m_attribution->isVisibleTo(this) ? m_attribution->geometry() : QRect();
    for (const GraticuleLine& line : grid.meridians) {
        const double right = line.position + 4 + metrics.horizontalAdvance(line.label);
        if (line.position < inset || right > width() - inset) continue;
        if (credit.intersects(QRectF(line.position + 4, height() - 8 - metrics.ascent(), right - line.position - 4,
                                     metrics.height()).toAlignedRect())) continue;
        painter.drawText(QPointF(line.position + 4, height() - 8), line.label);
    }
    painter.restore();
}

void MapCanvas::paintTiles(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const TilePlacement& tile : m_viewport.visibleTiles()) {
        if (const QImage* image = m_loader->tile(tile.key)) painter.drawImage(tile.rect, *image);
    }
    painter.restore();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    m_dragFrom = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragFrom) return QWidget::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    panBy(at - *m_dragFrom);
    m_dragFrom = at;
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragFrom) return QWidget::mouseReleaseEvent(event);
    m_dragFrom.reset();
    setCursor(Qt::OpenHandCursor);
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
    const int eighths = event->angleDelta().y();
    if (eighths == 0) return event->ignore();
    zoomBy(eighths / 120.0 * kWheelNotchLevels, event->position());
    event->accept();
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
    const QPointF middle(width() / 2.0, height() / 2.0);
    switch (event->key()) {
    case Qt::Key_Left: panBy({kKeyPanPixels, 0}); break;
    case Qt::Key_Right: panBy({-kKeyPanPixels, 0}); break;
    case Qt::Key_Up: panBy({0, kKeyPanPixels}); break;
    case Qt::Key_Down: panBy({0, -kKeyPanPixels}); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomBy(1, middle); break;
    case Qt::Key_Minus: zoomBy(-1, middle); break;
    default: return QWidget::keyPressEvent(event);
    }
}

}  // namespace kavrino
