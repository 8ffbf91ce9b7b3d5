#include "app/theme/rounded_shape.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <algorithm>  // std::min, std::max

namespace kavrino {
namespace {

// Bezier control points of one continuous corner, in units of the radius, measured from the
// corner point along the two edges (the widely used approximation of the platform's
// continuous-corner curve: two cubic blends into a short arc-like middle section).
constexpr double kReach = 1.52866483;

}  // namespace

QPainterPath continuousRoundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    if (rect.isEmpty()) return path;
    const double shortSide = std::min(rect.width(), rect.height());
    radius = std::max(0.0, radius);
    if (radius * kReach > shortSide / 2) {
        // Too small for the full continuous curve: circular corners, as large as fit.
        const double r = std::min(radius, shortSide / 2);
        path.addRoundedRect(rect, r, r);
        return path;
    }
    const double r = radius;
    const double l = rect.left(), t = rect.top(), rt = rect.right(), b = rect.bottom();
    // at(x, y): the point x radii back along the edge the path arrives on and y radii along the
    // edge it leaves on, measured from the sharp corner; the path runs clockwise.
    auto topRight = [&](double x, double y) { return QPointF(rt - x * r, t + y * r); };
    auto bottomRight = [&](double x, double y) { return QPointF(rt - y * r, b - x * r); };
    auto bottomLeft = [&](double x, double y) { return QPointF(l + x * r, b - y * r); };
    auto topLeft = [&](double x, double y) { return QPointF(l + y * r, t + x * r); };

    auto corner = [&](auto at) {
        path.lineTo(at(1.52866471, 0.0));
        path.cubicTo(at(1.08849323, 0.0), at(0.86840689, 0.0), at(0.66993427, 0.06549600));
        path.lineTo(at(0.63149399, 0.07491100));
        path.cubicTo(at(0.37282392, 0.16905899), at(0.16906013, 0.37282401), at(0.07491176, 0.63149399));
        path.cubicTo(at(0.0, 0.86840701), at(0.0, 1.08849299), at(0.0, 1.52866483));
    };
    path.moveTo(topLeft(0.0, kReach));
    corner(topRight);
    corner(bottomRight);
    corner(bottomLeft);
    corner(topLeft);
    path.closeSubpath();
    return path;
}

QPainterPath capsule(const QRectF& rect) {
    QPainterPath path;
    const double r = std::min(rect.width(), rect.height()) / 2;
    path.addRoundedRect(rect, r, r);
    return path;
}

void paintInnerBorder(QPainter& painter, const QRectF& rect, double radius, const QColor& border,
                      double borderWidth) {
    if (borderWidth <= 0 || border.alpha() == 0) return;
    painter.save();
    QPen pen(border, borderWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double half = borderWidth / 2;
    painter.drawPath(continuousRoundedRect(rect.adjusted(half, half, -half, -half),
                                           std::max(0.0, radius - half)));
    painter.restore();
}

void paintCard(QPainter& painter, const QRectF& rect, double radius, const QColor& fill,
               const QColor& border, double borderWidth) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(continuousRoundedRect(rect, radius));
    painter.restore();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintInnerBorder(painter, rect, radius, border, borderWidth);
    painter.restore();
}

void paintCapsuleCard(QPainter& painter, const QRectF& rect, const QColor& fill, const QColor& border) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(capsule(rect));
    painter.setPen(QPen(border, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(capsule(rect.adjusted(0.5, 0.5, -0.5, -0.5)));
    painter.restore();
}

}  // namespace kavrino
