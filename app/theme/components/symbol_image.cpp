#include "app/theme/components/symbol_image.h"

#include "app/theme/symbol_icon.h"

#include <QPainter>

namespace kavrino {

SymbolImage::SymbolImage(const QString& name, int side, const QColor& colour, QWidget* parent)
    : QWidget(parent), m_name(name), m_icon(symbolIcon(name)), m_side(side), m_colour(colour) {
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void SymbolImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap pixmap = tintedPixmap(m_icon, m_colour, m_side, devicePixelRatioF());
    painter.drawPixmap(QRectF(0, 0, m_side, m_side), pixmap, QRectF(pixmap.rect()));
}

}  // namespace kavrino
