#pragma once
// Where everything of a catalog row lies, from the row's rectangle in the list: the inset band
// that carries the alternate background, the clickable stack inside the 5-point margins above
// and below, and in it the icon tile, the two text lines and the "Use" button. Painting, hit
// testing and assistive technology all ask this one layout.
#include "app/theme/components/button_styles.h"

#include <QFont>
#include <QRect>
#include <QRectF>
#include <QString>

namespace kavrino {

struct CatalogRowGeometry {
    QRectF band;       // the row's inset background
    QRectF body;       // the clickable stack: double-clicking here applies the entry
    QRectF tile;       // the 34 × 34 icon tile
    QRectF title;      // the title line
    QRectF subtitle;   // the subtitle line, 2 points below the title
    QRectF useButton;  // the "Use" button at the trailing end
};

class CatalogRowLayout {
public:
    static constexpr int kListInset = 10;        // band to the list's side edges
    static constexpr int kSidePadding = 10;      // stack to the band's side edges
    static constexpr int kVerticalMargin = 5;    // above and below the stack, not clickable
    static constexpr int kTileSide = 34;
    static constexpr double kTileRadius = 8;
    static constexpr int kIconPoints = 14;
    static constexpr int kSpacing = 12;          // between tile, texts and button
    static constexpr int kTextSpacing = 2;       // between title and subtitle
    static constexpr double kBandRadius = 5;

    explicit CatalogRowLayout(QString useTitle);

    const QString& useTitle() const { return m_useTitle; }
    const ButtonLook& buttonLook() const { return m_buttonLook; }
    const QFont& titleFont() const { return m_titleFont; }
    const QFont& subtitleFont() const { return m_subtitleFont; }

    // The height of every row: the tallest of tile, texts and button, plus both margins.
    int rowHeight() const;
    CatalogRowGeometry geometry(const QRect& rowRect) const;

private:
    QString m_useTitle;
    ButtonLook m_buttonLook;
    QSize m_buttonSize;
    QFont m_titleFont;
    QFont m_subtitleFont;
    int m_titleHeight;
    int m_subtitleHeight;
};

}  // namespace kavrino
