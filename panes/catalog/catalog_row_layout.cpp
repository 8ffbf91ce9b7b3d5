#include "panes/catalog/catalog_row_layout.h"

#include "app/theme/palette.h"
#include "app/theme/typeface.h"

#include <QFontMetrics>

#include <algorithm>
#include <utility>

namespace kavrino {

CatalogRowLayout::CatalogRowLayout(QString useTitle)
    : m_useTitle(std::move(useTitle)),
      m_buttonLook(kavrino::buttonLook(SecondaryButtonStyle{Palette::textPrimary()})),
      m_buttonSize(buttonSize(m_buttonLook, m_useTitle, false)),
      m_titleFont(uiFont(13, QFont::Medium)),
      m_subtitleFont(uiFont(10)),  // the caption style
      m_titleHeight(QFontMetrics(m_titleFont).height()),
      m_subtitleHeight(QFontMetrics(m_subtitleFont).height()) {}

int CatalogRowLayout::rowHeight() const {
    const int texts = m_titleHeight + kTextSpacing + m_subtitleHeight;
    return std::max({kTileSide, texts, m_buttonSize.height()}) + 2 * kVerticalMargin;
}

CatalogRowGeometry CatalogRowLayout::geometry(const QRect& rowRect) const {
    CatalogRowGeometry g;
    g.band = QRectF(rowRect).adjusted(kListInset, 0, -kListInset, 0);
    g.body = g.band.adjusted(kSidePadding, kVerticalMargin, -kSidePadding, -kVerticalMargin);
    const double middle = g.body.center().y();
    g.tile = QRectF(g.body.left(), middle - kTileSide / 2.0, kTileSide, kTileSide);
    g.useButton = QRectF(g.body.right() - m_buttonSize.width(), middle - m_buttonSize.height() / 2.0,
                         m_buttonSize.width(), m_buttonSize.height());
    const double textLeft = g.tile.right() + kSpacing;
    const double textWidth = std::max(0.0, g.useButton.left() - kSpacing - textLeft);
    const double textTop = middle - (m_titleHeight + kTextSpacing + m_subtitleHeight) / 2.0;
    g.title = QRectF(textLeft, textTop, textWidth, m_titleHeight);
    g.subtitle = QRectF(textLeft, g.title.bottom() + kTextSpacing, textWidth, m_subtitleHeight);
    return g;
}

}  // namespace kavrino
