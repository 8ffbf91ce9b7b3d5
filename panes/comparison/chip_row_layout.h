#pragma once
// The row of chips: chips side by side from the left, 10 points apart; when the pane is too
// narrow for all of them the row continues on a new line below, so no chip is cut off and the
// window never has to widen for them.
#include <QLayout>
#include <QList>

namespace kavrino {

class ChipRowLayout final : public QLayout {
public:
    explicit ChipRowLayout(QWidget* parent = nullptr);
    ~ChipRowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the items out in `rect` (when `apply`) and returns the height they take.
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
};

}  // namespace kavrino
