#include "panes/map/map_marker.h"

#include "app/theme/typeface.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavrino {
namespace {

constexpr double kBalloonRadius = 13;
constexpr int kBalloonHeight = 36;  // circle and point
constexpr int kTitleGap = 2;
constexpr int kHalo = 2;            // the dark outline that keeps the title legible on tiles

QFont titleFont() { return uiFont(11, QFont::DemiBold); }

// The balloon: a circle narrowing to a point at the bottom centre of `width` × kBalloonHeight.
QPainterPath balloon(double width) {
    const double cx = width / 2;
    const double cy = kBalloonRadius + 1;
    const QPointF tip(cx, kBalloonHeight - 1);
    // The point's sides leave the circle 40° either side of its lowest point.
    const double angle = 40.0;
    QPainterPath path;
    path.moveTo(tip);
    const double rad = (90.0 - angle) * std::numbers::pi / 180.0;
    path.lineTo(cx + kBalloonRadius * std::cos(rad), cy + kBalloonRadius * std::sin(rad));
    path.arcTo(QRectF(cx - kBalloonRadius, cy - kBalloonRadius, 2 * kBalloonRadius, 2 * kBalloonRadius),
               -(90.0 - angle), 360.0 - 2 * angle);
    path.closeSubpath();
    return path;
}

}  // namespace

MapMarker::MapMarker(const QString& title, const QColor& tint, QWidget* parent)
    : QWidget(parent), m_title(title), m_tint(tint) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setFont(titleFont());
    setAccessibleName(title);
    resize(sizeHint());
}

void MapMarker::setPosition(const GeoCoordinate& position) {
    m_position = position;
    setAccessibleDescription(coordinateText(position));
}

QSize MapMarker::sizeHint() const {
    const QFontMetrics metrics(font());
    const int width = std::max(int(2 * kBalloonRadius) + 4, metrics.horizontalAdvance(m_title) + 2 * kHalo + 2);
    return {width, kBalloonHeight + kTitleGap + metrics.height() + kHalo};
}

QPoint MapMarker::anchor() const { return {width() / 2, kBalloonHeight - 1}; }

void MapMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QPainterPath shape = balloon(width());
    painter.setPen(QPen(QColor(255, 255, 255), 1.5));
    painter.setBrush(m_tint);
    painter.drawPath(shape);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QPointF(width() / 2.0, kBalloonRadius + 1), 4.5, 4.5);

    // The title in white on a dark outline, centred under the point.
    const QFontMetrics metrics(font());
    const double x = (width() - metrics.horizontalAdvance(m_title)) / 2.0;
    const double baseline = kBalloonHeight + kTitleGap + metrics.ascent();
    QPainterPath text;
    text.addText(QPointF(x, baseline), font(), m_title);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 2 * kHalo, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(text);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawPath(text);
}

}  // namespace kavrino
