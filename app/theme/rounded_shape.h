#pragma once
// Rounded rectangles with continuous ("squircle") corners, the corner shape of every card,
// button and row of the theme, and the one way cards are filled and bordered.
#include <QPainterPath>
#include <QRectF>

class QColor;
class QPainter;

namespace kavrino {

// A rectangle whose corners blend into the edges with continuous curvature. The curve of each
// corner starts about 1.53 × radius from the corner; where the rectangle is too small for that,
// the corners fall back to circular arcs of at most half the shorter side.
QPainterPath continuousRoundedRect(const QRectF& rect, double radius);

// A capsule: fully rounded ends, radius half the shorter side.
QPainterPath capsule(const QRectF& rect);

// Fills `rect` with `fill` in the continuous shape of `radius`, then draws a border of
// `borderWidth` whose whole line lies inside the outline (the shape does not grow).
// A transparent border colour or a width of 0 draws no border.
void paintCard(QPainter& painter, const QRectF& rect, double radius, const QColor& fill,
               const QColor& border, double borderWidth = 1.0);

// paintCard for a capsule: `fill` inside, a 1-point `border` wholly inside the outline.
void paintCapsuleCard(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& border);

// Only the inner border of paintCard, for overlays drawn above a card's content.
void paintInnerBorder(QPainter& painter, const QRectF& rect, double radius, const QColor& border,
                      double borderWidth = 1.0);

}  // namespace kavrino
