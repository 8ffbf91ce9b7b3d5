#include "panes/catalog/catalog_row_delegate.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/symbol_icon.h"
#include "panes/catalog/catalog_list_model.h"
#include "panes/catalog/catalog_row_layout.h"

#include <QFontMetrics>
#include <QPainter>

namespace kavrino {
namespace {

// White at 5 %: the dark scheme's alternate row over the pane.
QColor alternateRowColour() { return QColor::fromRgbF(1, 1, 1, 0.05f); }

void drawLine(QPainter& painter, const QRectF& rect, const QFont& font, const QColor& colour,
              const QString& text) {
    painter.setFont(font);
    painter.setPen(colour);
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, int(rect.width()));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

}  // namespace

CatalogRowDelegate::CatalogRowDelegate(const CatalogRowLayout& layout, QObject* parent)
    : QStyledItemDelegate(parent), m_layout(layout) {}

const QPixmap& CatalogRowDelegate::iconPixmap(double devicePixelRatio) const {
    if (m_icon.isNull() || m_icon.devicePixelRatio() != devicePixelRatio) {
        m_icon = tintedPixmap(symbolIcon(QStringLiteral("smallcircle.filled.circle")), Palette::accentBright(),
                              CatalogRowLayout::kIconPoints, devicePixelRatio);
    }
    return m_icon;
}

void CatalogRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const CatalogRowGeometry g = m_layout.geometry(option.rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);

    if (index.row() % 2 == 1) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(alternateRowColour());
        painter->drawPath(continuousRoundedRect(g.band, CatalogRowLayout::kBandRadius));
    }

    painter->setPen(Qt::NoPen);
    painter->setBrush(Palette::accentSoft());
    painter->drawPath(continuousRoundedRect(g.tile, CatalogRowLayout::kTileRadius));
    const double dpr = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap& icon = iconPixmap(dpr);
    const double side = CatalogRowLayout::kIconPoints;
    painter->drawPixmap(QRectF(g.tile.center().x() - side / 2, g.tile.center().y() - side / 2, side, side),
                        icon, QRectF(icon.rect()));

    drawLine(*painter, g.title, m_layout.titleFont(), Palette::textPrimary(),
             index.data(CatalogListModel::TitleRole).toString());
    drawLine(*painter, g.subtitle, m_layout.subtitleFont(), Palette::textSecondary(),
             index.data(CatalogListModel::SubtitleRole).toString());

    paintButton(*painter, g.useButton, m_layout.buttonLook(), m_layout.useTitle(), QIcon(),
                index.row() == m_pressedRow ? 1.0 : 0.0, true, dpr);

    if (m_focusRingVisible && (option.state & QStyle::State_HasFocus)) {
        painter->setPen(QPen(withOpacity(Palette::accent(), 0.8), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(continuousRoundedRect(g.band.adjusted(1, 1, -1, -1), CatalogRowLayout::kBandRadius));
    }
    painter->restore();
}

QSize CatalogRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    // No width of its own: rows take the width of the list.
    return {1, m_layout.rowHeight()};
}

}  // namespace kavrino
