#pragma once
// Paints one catalog row: the alternate background band, the icon tile with its symbol, the
// title over the subtitle (cut with an ellipsis when the row is narrow), the "Use" button
// (drawn pressed while the list holds it down) and a focus ring on the row that keyboard
// navigation reached.
#include <QPixmap>
#include <QStyledItemDelegate>

namespace kavrino {

class CatalogRowLayout;

class CatalogRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    CatalogRowDelegate(const CatalogRowLayout& layout, QObject* parent = nullptr);

    // The row whose "Use" button is drawn pressed; -1 for none.
    void setPressedRow(int row) { m_pressedRow = row; }
    // Whether the focused row shows its focus ring (after keyboard navigation, not a click).
    void setFocusRingVisible(bool visible) { m_focusRingVisible = visible; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QPixmap& iconPixmap(double devicePixelRatio) const;

    const CatalogRowLayout& m_layout;
    int m_pressedRow = -1;
    bool m_focusRingVisible = false;
    mutable QPixmap m_icon;  // the tile's symbol, tinted once per device pixel ratio
};

}  // namespace kavrino
