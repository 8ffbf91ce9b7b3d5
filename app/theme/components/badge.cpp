#include "app/theme/components/badge.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QPainter>

namespace kavrino {
namespace {

constexpr int kHorizontalPadding = 7;
constexpr int kVerticalPadding = 3;

}  // namespace

Badge::Badge(const QString& text, const QColor& color, QWidget* parent)
    : QWidget(parent), m_text(text), m_color(color), m_font(uiFont(10, QFont::DemiBold, 0.4)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void Badge::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void Badge::setColor(const QColor& color) {
    if (color == m_color) return;
    m_color = color;
    update();
}

QSize Badge::sizeHint() const {
    const QFontMetrics metrics(m_font);
    return QSize(metrics.horizontalAdvance(m_text) + 2 * kHorizontalPadding,
                 metrics.height() + 2 * kVerticalPadding);
}

void Badge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(m_color, 0.16));
    painter.drawPath(capsule(QRectF(rect())));
    painter.setFont(m_font);
    painter.setPen(m_color);
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

}  // namespace kavrino
